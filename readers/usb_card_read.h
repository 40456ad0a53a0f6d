#pragma once

#include <string>
#include <string_view>

#include "formats/card_format.h"
#include "readers/card_read_messages.h"
#include "readers/reader_library.h"

// "Read from USB": the card presented to the active reader, recognised by its bit count and
// turned into prox data.
namespace morvane {

// The card buffer as hexadecimal text, most significant byte first, two upper-case digits per
// byte, with leading "00" pairs removed: F66073 for a 26-bit card, "" for an all-zero buffer.
std::string cardHexText(const CardBuffer& buffer);

// The layout mask of a format code the read produces; the empty text for any other code.
std::string_view readerLayoutMask(std::string_view formatCode);

// What "Read from USB" read: the prox data text (or the no-result value, or the empty text) and
// the card's bit count as the reader gave it, 0 for no card.
struct UsbCardRead {
    std::string proxData;
    int bitCount = 0;
};

// The prox data of the card presented to the active reader, or the no-result value, or the
// empty text. No card data (a bit count of 0, or no library) shows "No Data Read from
// Card" as a critical message and gives the empty text. The prox data calculation shows its own
// messages through the same interface.
UsbCardRead readUsbCard(ReaderLibrary* library, CardReadMessages& messages);
inline std::string ReadUSBCard(ReaderLibrary* library, CardReadMessages& messages) {
    return readUsbCard(library, messages).proxData;
}

}  // namespace morvane
