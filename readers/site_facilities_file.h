#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>

#include "formats/site_facilities.h"

// The facilities file, read the way Default.hwg is: from the program's folder (in the package a
// link to /etc/morvane/facilities), only a regular file, never waiting on it.
namespace morvane {

// A facilities file larger than this is cut there; a site lists far fewer codes.
inline constexpr std::size_t kMaxFacilitiesBytes = 1 << 20;

// The facility codes the file lists; no value when it is missing, no regular file or unreadable.
// Bad lines are left out, and `errors` gets one line about them.
std::optional<SiteFacilities> loadSiteFacilities(const std::filesystem::path& path,
                                                 std::FILE* errors);

}  // namespace morvane
