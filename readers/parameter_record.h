#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The nine parts of a pcProx reader's configuration, each eight signed 16-bit fields.
namespace morvane {

enum class RecordId : std::uint8_t {
    Flags,
    Flags2,
    Flags3,
    IDBitCnts,
    IDDispParms,
    IDDispParms2,
    IDDispParms3,
    LEDCtrl,
    TimeParms,
};
inline constexpr std::size_t kRecordCount = 9;
inline constexpr std::size_t kRecordFields = 8;

struct ParameterRecord {
    std::array<std::int16_t, kRecordFields> field{};

    // Fields are numbered 1 to 8, as the configuration file's table names them.
    std::int16_t& operator[](int number) { return field[static_cast<std::size_t>(number - 1)]; }
    std::int16_t operator[](int number) const {
        return field[static_cast<std::size_t>(number - 1)];
    }
    bool operator==(const ParameterRecord&) const = default;
};
static_assert(sizeof(ParameterRecord) == 16);

// Indexed by RecordId.
struct ReaderRecords {
    std::array<ParameterRecord, kRecordCount> record{};

    ParameterRecord& operator[](RecordId id) { return record[static_cast<std::size_t>(id)]; }
    const ParameterRecord& operator[](RecordId id) const {
        return record[static_cast<std::size_t>(id)];
    }
    bool operator==(const ReaderRecords&) const = default;
};

// "Flags", "IDDispParms2", ...; the library's setter is "Set" followed by this name.
std::string_view recordName(RecordId id);

}  // namespace morvane
