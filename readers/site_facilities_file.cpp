#include "readers/site_facilities_file.h"

#include "readers/regular_file.h"

namespace morvane {

std::optional<SiteFacilities> loadSiteFacilities(const std::filesystem::path& path,
                                                 std::FILE* errors) {
    const auto text = readRegularFile(path, kMaxFacilitiesBytes);
    if (!text) return std::nullopt;
    const ParsedFacilities parsed = parseFacilities(*text);
    const std::string message = badFacilityLines(path.string(), parsed);
    if (!message.empty()) std::fprintf(errors, "%s\n", message.c_str());
    return parsed.facilities;
}

}  // namespace morvane
