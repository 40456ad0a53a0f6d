#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>

#include "formats/site_facilities.h"
#include "formats/split_data.h"

// Which of the formats card data passes it most likely is, and why, in words a person can
// check against the bit map. Evidence is weighed in a fixed order and the first kind that
// tells two formats apart decides; formats it cannot tell apart stay tied.
namespace morvane {

// What speaks for one passing format, strongest first.
struct FormatEvidence {
    bool readerCount = false;   // the reader's bit count names it
    bool siteFacility = false;  // its facility code is one the site uses with it
    bool sentinel = false;      // its sentinel is the highest set bit
    bool frameTop = false;      // the top bit of its frame is the highest set bit

    friend bool operator==(const FormatEvidence&, const FormatEvidence&) = default;
};

struct RankedFormat {
    SplitFormatId id;
    int place = 0;  // 1 for the most likely; tied formats share a place
    FormatEvidence evidence;
};

struct RankingInputs {
    std::optional<int> readerBitCount;     // from a USB read; none for typed card data
    const SiteFacilities* site = nullptr;  // the facilities file; null when there is none
};

struct FormatRanking {
    // The passing formats, most likely first; among tied ones in the page's column order.
    std::array<RankedFormat, kSplitFormatCount> ranked{};
    std::size_t count = 0;
    // The format the reader's bit count names when the card data does not pass it.
    std::optional<SplitFormatId> readerFormatRefused;
    std::optional<int> readerBitCount;  // as the inputs gave it

    std::span<const RankedFormat> formats() const { return {ranked.data(), count}; }
    // The formats in first place: none when no format passes, two or more for a tie.
    std::span<const RankedFormat> mostLikely() const;
    bool isMostLikely(SplitFormatId id) const;
};

// Ranks the formats the split passed. 37 Bit and 37 Bit V share one layout and one check, so
// whatever speaks for one speaks for the other and they always tie.
FormatRanking rankFormats(const SplitResult& split, const RankingInputs& inputs = {});

// The headings of the formats in first place: "26 Bit", "37 Bit V or 37 Bit"; empty when none.
void appendMostLikely(std::string& out, const FormatRanking& ranking);

// The ranking's first line for a person: "most likely 26 Bit: the sentinel at bit 26 and
// nothing above it"; empty when no format passes.
void appendRankingReason(std::string& out, const SplitResult& split, const FormatRanking& ranking);
std::string rankingReason(const SplitResult& split, const FormatRanking& ranking);

// The ranking reasons of a batch. Ranked by their bits alone, card data comes to a few dozen
// outcomes, so each outcome's reason is written once and copied after that.
class RankingReasons {
  public:
    void append(std::string& out, const SplitResult& split, const FormatRanking& ranking);

  private:
    std::unordered_map<std::uint32_t, std::string> byOutcome_;
};

}  // namespace morvane
