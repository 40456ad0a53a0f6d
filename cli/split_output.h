#pragma once

#include <memory>
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

// {"card_data": ..., "bit_data": ..., "rejected": ..., "boxes": {...}} on one line, the boxes
// by control name in the order a change of the card data empties them. The object is built
// once and only its texts change from one card data to the next, which keeps a batch fast.
class SplitJsonWriter {
  public:
    SplitJsonWriter();
    ~SplitJsonWriter();
    SplitJsonWriter(const SplitJsonWriter&) = delete;
    SplitJsonWriter& operator=(const SplitJsonWriter&) = delete;

    std::string line(std::string_view cardData, const SplitResult& result);

  private:
    struct Object;
    std::unique_ptr<Object> object_;
};

// Characters as a person counts them: UTF-8 sequences count once.
std::size_t characterCount(std::string_view text);

}  // namespace morvane::cli
