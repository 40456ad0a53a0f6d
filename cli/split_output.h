#pragma once

#include <string>
#include <string_view>

#include "formats/split_data.h"

// How morvane-cli writes one Split Data result.
namespace morvane::cli {

// Why a card data was rejected, for people; empty when it was split.
std::string rejectionReason(std::string_view cardData, const SplitResult& result);

// The card data, its bit data and the page's result grid, one row per format in the page's
// column order, ending with a blank line.
std::string splitTable(std::string_view cardData, const SplitResult& result);

// Appends {"card_data": ..., "bit_data": ..., "rejected": ..., "boxes": {...}} as one line's
// text, the boxes by control name in the order a change of the card data empties them. Card
// data is any bytes a caller sent: bytes that are not UTF-8 become U+FFFD, and everything
// outside printable ASCII is escaped so that each object stays on its own line.
void appendSplitJson(std::string& out, std::string_view cardData, const SplitResult& result);

// Characters as a person counts them: UTF-8 sequences count once.
std::size_t characterCount(std::string_view text);

}  // namespace morvane::cli
