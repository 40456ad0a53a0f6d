#include "formats/csv_text.h"

namespace morvane {

void appendCsvField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(field);
        return;
    }
    out.push_back('"');
    for (char c : field) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

void appendConvertCsvRow(std::string& out, const ConvertCsvRow& row) {
    for (std::string_view field : {row.hotstamp, row.format, row.facility, row.version,
                                   row.proxData}) {
        appendCsvField(out, field);
        out.push_back(',');
    }
    appendCsvField(out, row.messages);
}

}  // namespace morvane
