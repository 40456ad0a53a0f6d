#pragma once

#include <string>
#include <string_view>

#include "formats/card_format.h"
#include "formats/card_word.h"
#include "formats/split_data.h"

// How morvane-cli shows why card data is or is not a format's credential: under the bit data,
// one line per format with its role letters aligned over the bits and its verdict.
namespace morvane::cli {

// Adds the explanation to one card data's output: the format lines under the bit data line of
// its table, or an "explain" member closing its JSON object, {} for rejected card data.
void addSplitExplanation(std::string& text, std::string_view cardData, const SplitResult& result,
                         bool json);

// The bit data of the prox data the conversion built and, under it, the line of its layout.
// Empty when the text is not prox data.
std::string explainBuilt(std::string_view proxData, const Layout& l);

}  // namespace morvane::cli
