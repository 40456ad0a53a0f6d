#pragma once

#include <string>
#include <string_view>

// CSV as RFC 4180 has it, for the exports a spreadsheet or a lock system imports.
namespace morvane {

// A field quoted, its quotes doubled, when it holds a comma, a quote, a carriage return or a
// line feed; as it is otherwise.
void appendCsvField(std::string& out, std::string_view field);

// The columns of a converted hotstamp: the values it was converted under, its prox data and the
// messages its calculation gave.
inline constexpr std::string_view kConvertCsvHeader =
    "hotstamp,format,facility,version,prox_data,message";
struct ConvertCsvRow {
    std::string_view hotstamp;
    std::string_view format;
    std::string_view facility;
    std::string_view version;
    std::string_view proxData;
    std::string_view messages;
};
// The row without its line end.
void appendConvertCsvRow(std::string& out, const ConvertCsvRow& row);

}  // namespace morvane
