#pragma once

#include <string>
#include <string_view>

#include "formats/format_ranking.h"
#include "formats/card_data_reason.h"
#include "formats/split_data.h"

// How morvane-cli writes one Split Data result: the page's grid for people, a JSON object per
// line and a CSV row for programs (the README describes both; the JSON Schema of the objects is
// morvane-cli-split.schema.json beside it).
namespace morvane::cli {

using morvane::rejectionReason;

// The card data, its bit data and the page's result grid, one row per format in the page's
// column order, then which format it most likely is and why, ending with a blank line.
std::string splitTable(std::string_view cardData, const SplitResult& result,
                       const FormatRanking& ranking);

// The key each value has in the JSON and the CSV header: "hotstamp", "facility", "version",
// "no_facility".
std::string_view valueKey(GridRow row);

// Appends one JSON object (format 2) as a line's text. Card data is any bytes a caller sent:
// bytes that are not UTF-8 become U+FFFD, and everything outside printable ASCII is escaped so
// that each object stays on its own line. `reasons` keeps the batch's ranking reasons.
void appendSplitJson(std::string& out, std::string_view cardData, const SplitResult& result,
                     const FormatRanking& ranking, RankingReasons& reasons);

// The CSV header, then one row per card data: the card data, each format's values or refusal,
// why the card data was rejected, and the codes of the most likely formats.
std::string splitCsvHeader();
void appendSplitCsv(std::string& out, std::string_view cardData, const SplitResult& result,
                    const FormatRanking& ranking);

using morvane::characterCount;

}  // namespace morvane::cli
