#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>

// One card read for a page other than Split Data (a card check, the Batch page's list), through
// the same readers and the same one-step-at-a-time rule as Split Data's own buttons. Nothing is
// written into Split Data's card data box and no message box is shown: the reader's answer,
// or why there is none, comes back to the page that asked.
namespace morvane {

enum class CardSource { Usb, Lock };

// What a page says, before the reason, when a read gave no card.
inline constexpr const char* kCouldNotReadCard = "could not read the card: ";

struct CardReading {
    std::string cardData;                // octal digits as the reader or lock gave them
    std::optional<int> readerBitCount;   // a USB reader's count of the card's bits
    std::string failure;                 // why no card was read; empty when one was

    bool read() const { return failure.empty(); }
    static CardReading of(std::string cardData, std::optional<int> bits = std::nullopt) {
        return {std::move(cardData), bits, {}};
    }
    static CardReading failed(std::string why) { return {{}, std::nullopt, std::move(why)}; }
};

using CardReadingDone = std::function<void(const CardReading&)>;

class CardReads {
  public:
    virtual ~CardReads() = default;
    // Starts a read and gives true; `done` then runs once on the window's thread, perhaps
    // before this returns (a lock is awaited in an event loop of its own). Gives false and
    // starts nothing while another reader step runs.
    virtual bool read(CardSource source, CardReadingDone done) = 0;
};

}  // namespace morvane
