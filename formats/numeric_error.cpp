#include "formats/numeric_error.h"

namespace morvane {

NumericError::NumericError(int number, std::string description)
    : std::runtime_error(std::to_string(number) + " " + description),
      number_(number),
      description_(std::move(description)) {}

std::string NumericError::text() const { return what(); }

NumericError overflowError() { return NumericError(kErrorOverflow, "Overflow"); }
NumericError typeMismatchError() { return NumericError(kErrorTypeMismatch, "Type mismatch"); }

}  // namespace morvane
