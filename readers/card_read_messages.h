#pragma once

#include <string_view>

#include "formats/encoder_host.h"

namespace morvane {

inline constexpr std::string_view kNoDataReadFromCard = "No Data Read from Card";
inline constexpr std::string_view kCardReadStatusTitle = "RFIDeas pcProx (CRP2) Status";

// What a USB card read shows. showMessage is the program's ordinary box (title "Morvane", OK
// only), used by the prox data calculation; showCritical is a modal box with the given title,
// the critical-error icon and a single OK button.
class CardReadMessages : public MessageSink {
  public:
    virtual void showCritical(std::string_view text, std::string_view title) = 0;
};

}  // namespace morvane
