#include "readers/parameter_record.h"

namespace morvane {

std::string_view recordName(RecordId id) {
    static constexpr std::array<std::string_view, kRecordCount> kNames{
        "Flags",        "Flags2",       "Flags3",  "IDBitCnts", "IDDispParms",
        "IDDispParms2", "IDDispParms3", "LEDCtrl", "TimeParms",
    };
    return kNames[static_cast<std::size_t>(id)];
}

}  // namespace morvane
