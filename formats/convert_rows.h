#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/card_format.h"
#include "formats/encoder_host.h"
#include "formats/prox_data.h"

// Hotstamps converted as a batch lists them: a row per hotstamp with its prox data and the
// messages its calculation gave, under one card format code, facility code and version.
namespace morvane {

struct ConvertedRow {
    std::string hotstamp;
    ProxDataText proxData;  // empty when the calculation gave none
    std::string messages;   // joined with "; ", empty when there were none
};

// A batch's stand-in for the Data Input boxes, the Batch page's and the command line's: the
// facility code and version are the ones given, nothing is written back, and the messages stay
// with their hotstamp.
class RowConverter final : private EncoderHost {
  public:
    using MessageShown = std::function<void(std::string_view text)>;
    // The boxes as typed; `onMessage` also sees each message as it is shown.
    RowConverter(std::string_view cardFormat, std::int32_t facilityCode, std::string facilityBox,
                 std::string versionBox, MessageShown onMessage);
    RowConverter(std::string_view cardFormat, std::int32_t facilityCode, std::int32_t version);
    // The calculation holds on to this object's boxes.
    RowConverter(const RowConverter&) = delete;
    RowConverter& operator=(const RowConverter&) = delete;

    ConvertedRow operator()(std::string_view hotstamp);
    // The hotstamp's prox data; its messages are messages() until the next hotstamp.
    ProxDataText proxData(std::string_view hotstamp);
    // A hotstamp refused before its calculation: the reason is its message.
    ProxDataText refuse(std::string_view reason);
    const std::string& messages() const { return messages_; }

  private:
    void showMessage(std::string_view text) override;
    void setHotstampBox(std::string_view) override {}
    void setFacilityBox(std::string_view) override {}
    void setVersionBox(std::string_view) override {}
    std::string facilityBox() const override { return facilityBox_; }
    std::string versionBox() const override { return versionBox_; }

    std::string cardFormat_;
    std::string facilityBox_;
    std::string versionBox_;
    std::string messages_;
    MessageShown onMessage_;
    ProxDataBatch calculate_;
};

// The hotstamps of pasted text, one per line: blanks around them and blank lines are dropped,
// and a first line without a digit is taken for a column heading.
std::vector<std::string> hotstampLines(std::string_view text);

// A box of cards with consecutive hotstamps. More at once is a mistake, not a box: a box holds a
// few hundred cards, a lock system's import list a few thousand.
inline constexpr std::uint64_t kMaxRangeHotstamps = 1'000'000;

struct HotstampRange {
    std::uint64_t from = 0;
    std::uint64_t to = 0;  // inclusive
};

// FROM to TO: two whole decimal numbers, FROM at most TO, TO within the layout's hotstamp limit,
// at most kMaxRangeHotstamps of them. No value, and the reason in `why`, otherwise.
std::optional<HotstampRange> parseHotstampRange(std::string_view fromText, std::string_view toText,
                                                const Layout& l, std::string& why);

}  // namespace morvane
