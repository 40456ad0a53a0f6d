#pragma once

#include <optional>
#include <string>

namespace morvane {

// An encoder's octal digits, or no value: the failure value -1 after a range error.
using EncoderResult = std::optional<std::string>;

}  // namespace morvane
