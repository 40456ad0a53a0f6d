#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace morvane {

// The text of a file the program reads from its own folder, at most `limit` bytes of it. Only a
// regular file is read, and opening never waits: a named pipe or a device placed under the
// file's name must not hold up the start-up. No value when it is missing or cannot be read.
std::optional<std::string> readRegularFile(const std::filesystem::path& path, std::size_t limit);

}  // namespace morvane
