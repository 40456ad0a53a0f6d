#pragma once

#include <stdexcept>
#include <string>

namespace morvane {

// An error the window reports as its number, one blank and its description ("6 Overflow").
class NumericError : public std::runtime_error {
  public:
    NumericError(int number, std::string description);

    int number() const noexcept { return number_; }
    const std::string& description() const noexcept { return description_; }
    // "6 Overflow": the text the Data Input page shows for it.
    std::string text() const;

  private:
    int number_;
    std::string description_;
};

inline constexpr int kErrorOverflow = 6;
inline constexpr int kErrorTypeMismatch = 13;

NumericError overflowError();
NumericError typeMismatchError();

}  // namespace morvane
