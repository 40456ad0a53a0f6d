#pragma once

#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

// What the Split Data page shows for known card data, written out box by box so that tests of
// the engine and of the command line compare against the same page, not against the catalogue.
namespace morvane::test {

struct PageColumn {
    std::string code;
    std::vector<std::string> boxes;  // hotstamp, facility, then version or no-facility number
    std::vector<std::pair<std::string, std::string>> refusal;
};

inline const std::vector<PageColumn>& pageColumns() {
    static const std::vector<PageColumn> columns{
        {"26", {"txt26Num", "txt26Fac"}, {{"txt26Num", "Not 26 Bit"}}},
        {"34", {"txt34Num", "txt34Fac"}, {{"txt34Num", "Not 34 Bit"}}},
        {"35", {"txt35Num", "txt35Fac"}, {{"txt35Num", "Not 35 Bit"}}},
        {"35V", {"txt35VNum", "txt35VFac"}, {{"txt35VNum", "Not 35V"}}},
        {"36V", {"txt36VNum", "txt36VFac"}, {{"txt36VNum", "Not 36 Bit V"}}},
        {"37V", {"txt37VNum", "txt37VFac"}, {{"txt37VNum", "Not 37 Bit V"}}},
        {"37",
         {"txt37Num", "txt37Fac", "txt37Number"},
         {{"txt37Num", "Not 37 Bit"}, {"txt37Number", "Not 37 Bit"}}},
        {"Proxif",
         {"txtProxifNum", "txtProxifFac", "txtProxifVer"},
         {{"txtProxifNum", "Not Proxif"}}},
        {"Casi", {"txtCasiNum", "txtCasiFac"}, {{"txtCasiNum", "Not Casi"}}},
    };
    return columns;
}

// The result boxes in the order a change of the card data empties them (txtBits left out).
inline const std::vector<std::string>& resultBoxNames() {
    static const std::vector<std::string> names{
        "txt26Num",     "txt35VNum",    "txt35VFac",    "txt36VNum",  "txt36VFac",
        "txt37VNum",    "txt37VFac",    "txt35Num",     "txt35Fac",   "txt34Num",
        "txt34Fac",     "txt26Fac",     "txt37Num",     "txt37Fac",   "txt37Number",
        "txtProxifNum", "txtProxifFac", "txtProxifVer", "txtCasiNum", "txtCasiFac",
    };
    return names;
}

using Page = std::map<std::string, std::string>;  // box name -> text

// Every box empty: the page after a change of the card data, or after a rejected Split Data.
inline Page emptyPage() {
    Page page;
    for (const std::string& name : resultBoxNames()) page[name] = "";
    return page;
}

// The matching formats and their boxes' texts, "26=1,1 Proxif=131074,48,0", as code -> texts.
inline std::map<std::string, std::vector<std::string>> parseMatches(const std::string& text) {
    std::map<std::string, std::vector<std::string>> matches;
    std::istringstream in(text);
    for (std::string item; in >> item;) {
        const auto eq = item.find('=');
        auto& values = matches[item.substr(0, eq)];
        std::istringstream list(item.substr(eq + 1));
        for (std::string v; std::getline(list, v, ',');) values.push_back(v);
        if (item.back() == ',') values.emplace_back();  // a trailing empty text
    }
    return matches;
}

// Every box after a Split Data in which exactly the given formats match.
inline Page pageAfterSplit(const std::string& matchText) {
    const auto matches = parseMatches(matchText);
    Page page = emptyPage();
    for (const PageColumn& c : pageColumns()) {
        const auto m = matches.find(c.code);
        if (m == matches.end()) {
            for (const auto& [box, text] : c.refusal) page[box] = text;
        } else {
            for (std::size_t i = 0; i < c.boxes.size(); ++i) page[c.boxes[i]] = m->second.at(i);
        }
    }
    return page;
}

struct SplitExample {
    std::string cardData;
    std::string matches;  // as pageAfterSplit takes them
};

// Card data of 16 digits: the worked examples of the Convert direction and a near miss
// ("0000000755060162": bit 18 is "1", so the 37-bit even group over bits 36..18 is odd).
inline const std::vector<SplitExample>& sixteenDigitExamples() {
    static const std::vector<SplitExample> examples{
        {"0000000600400002", "26=1,1 Proxif=131074,48,0 Casi=100794370,0"},
        {"0000000475460163", "26=12345,123 37V=208953,79 37=208953,79,41627705 Casi=83255411,0"},
        {"0000201730060163", "34=12345,123 Proxif=24691,8315,0"},
        {"0000601730060162", "35=12345,123 Proxif=24690,24699,0"},
        {"0000401730060163", "35V=12345,123 Proxif=24691,16507,0"},
        {"0000007540140346",
         "36V=12345,123 37V=24691,984 37=24691,984,515924083 Proxif=49382,492,0 "
         "Casi=1031848166,0"},
        {"0000000754060163", "37V=12345,123 37=12345,123,64499769 36V=792604,15 Casi=128999539,0"},
        {"0001000755060162", "37V=143417,123 37=143417,123,64630841 Casi=129261682,1"},
        {"0000000755060162", "Casi=129261682,0"},
        {"0000000000060163",
         "37V=12345,0 37=12345,0,12345 36V=6172,0 Proxif=24691,0,0 Casi=24691,0"},
        {"0005001730030071", "Proxif=12345,123,5 Casi=257962041,5"},
        {"0173000000030071", "Casi=12345,123"},
        {"0377037777777777", "Casi=4294967295,255"},
    };
    return examples;
}

}  // namespace morvane::test
