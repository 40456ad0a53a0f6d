#pragma once

#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "readers/reader_library.h"

// The pcProx reader library, bound at run time. A reader library is a shared object offering
// the entry points of readers/pcprox_api.h; Morvane looks for it under one file name in a fixed
// list of absolute places and never in the current directory.
namespace morvane {

inline constexpr std::string_view kPcProxLibraryFile = "libpcprox.so";
inline constexpr const char* kPcProxLibraryVariable = "MORVANE_PCPROX_LIBRARY";

// Where the library is looked for, in order: the variable's path when it is absolute, the
// program's folder when it is absolute, then the system's library folders. Every entry is an
// absolute path.
std::vector<std::filesystem::path> pcproxLibraryLocations(
    const std::filesystem::path& programFolder, const char* variableValue);

// Binds the library file at an absolute path; null when the file does not load or lacks any
// entry point. Never throws, never prints.
std::unique_ptr<ReaderLibrary> bindPcProxLibrary(const std::filesystem::path& file);

// The first location that holds a loadable library decides: its binding, or null when it lacks
// an entry point. Null, silently, when no location holds one.
std::unique_ptr<ReaderLibrary> loadPcProxLibrary(const std::filesystem::path& programFolder);

}  // namespace morvane
