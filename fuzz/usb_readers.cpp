// USB reader discovery and programming with a reader library that answers anything: counts,
// indexes, LUIDs and device values come from outside the program and are not to be trusted.
// Input: a first line for the LuidEntry box, then the library's answers, two bytes each
// (little-endian) in the order it is asked; answers run out as 0.
//
// Beyond "no crash": no reader index outside the sixteen LUID slots is ever made active, the
// LUID list and its selection stay in step, slot 0 of the LUID tables is never written, a
// reader is found only when it connected with firmware version 2 or later, and a found reader
// gets all nine records of Default.hwg in the reader's order, followed by the write.
#include "readers/usb_readers.h"

#include <memory>
#include <vector>

#include "formats/card_format.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace morvane;

struct Calls {
    std::vector<int> activated;  // SetActDev
    std::vector<std::int16_t> luidsSet;
    std::vector<RecordId> recordsSet;
    std::vector<ParameterRecord> recordValues;
    int configWrites = 0;
    bool connected = false;
    std::int32_t deviceValue = 0;
};

class AnsweringReader : public ReaderLibrary {
  public:
    AnsweringReader(std::string_view answers, Calls& calls) : answers_(answers), calls_(calls) {}

    std::int16_t SetDevTypeSrch(std::int16_t) override { return next(); }
    std::int16_t SetConnectProduct(std::int16_t) override { return next(); }
    std::int16_t USBConnect(std::int32_t& deviceValue) override {
        deviceValue = static_cast<std::int32_t>(static_cast<std::uint16_t>(next()) |
                                                static_cast<std::uint32_t>(next()) << 16);
        const std::int16_t result = next();
        calls_.connected = result != 0;
        calls_.deviceValue = deviceValue;
        return result;
    }
    std::int16_t ReadCfg() override { return next(); }
    std::int16_t GetDevCnt() override { return next(); }
    std::int16_t SetActDev(std::int16_t index) override {
        calls_.activated.push_back(index);
        return next();
    }
    std::int16_t GetActDev() override { return next(); }
    std::int16_t GetLUID() override { return next(); }
    std::int16_t SetLUID(std::int16_t luid) override {
        calls_.luidsSet.push_back(luid);
        return next();
    }
    std::int16_t setRecord(RecordId id, const ParameterRecord& record) override {
        calls_.recordsSet.push_back(id);
        calls_.recordValues.push_back(record);
        return next();
    }
    std::int16_t WriteCfg() override {
        ++calls_.configWrites;
        return next();
    }
    std::int16_t GetActiveID(CardBuffer& buffer) override {
        for (std::size_t i = 0; i < buffer.size(); i += 2) {
            const auto v = static_cast<std::uint16_t>(next());
            buffer[i] = static_cast<std::uint8_t>(v);
            buffer[i + 1] = static_cast<std::uint8_t>(v >> 8);
        }
        return next();
    }

  private:
    std::int16_t next() {
        if (answers_.size() < 2) return 0;
        const auto v = static_cast<std::int16_t>(static_cast<std::uint8_t>(answers_[0]) |
                                                 static_cast<std::uint8_t>(answers_[1]) << 8);
        answers_.remove_prefix(2);
        return v;
    }

    std::string_view answers_;
    Calls& calls_;
};

struct Messages : CardReadMessages {
    void showMessage(std::string_view) override {}
    void showCritical(std::string_view, std::string_view) override {}
};

constexpr RecordId kProgrammingOrder[] = {
    RecordId::IDDispParms, RecordId::LEDCtrl,      RecordId::Flags2,
    RecordId::Flags3,      RecordId::IDDispParms3, RecordId::IDDispParms2,
    RecordId::IDBitCnts,   RecordId::Flags,        RecordId::TimeParms,
};

void checkAfterInit(const UsbReaders& readers, bool found, const Calls& calls,
                    const std::string& entryBefore) {
    for (int index : calls.activated) FUZZ_CHECK(index >= 0 && index < kMaxReaders);
    const LuidList& list = readers.luidList();
    FUZZ_CHECK(list.entries().size() <= static_cast<std::size_t>(kMaxReaders));
    const int selected = list.selectedIndex();
    FUZZ_CHECK(selected == LuidList::kNoSelection ||
               (selected >= 0 && static_cast<std::size_t>(selected) < list.entries().size()));
    FUZZ_CHECK(readers.listedLuids()[0] == 0 && readers.programmedLuids()[0] == 0);

    FUZZ_CHECK(!found || (calls.connected &&
                          firmwareVersion(calls.deviceValue).number >= kMinimumFirmwareVersion));
    if (!found) {
        FUZZ_CHECK(calls.recordsSet.empty() && calls.configWrites == 0 && calls.luidsSet.empty());
        return;
    }
    FUZZ_CHECK(readers.configLoaded());
    FUZZ_CHECK(calls.recordsSet ==
               std::vector<RecordId>(std::begin(kProgrammingOrder), std::end(kProgrammingOrder)));
    for (std::size_t i = 0; i < calls.recordsSet.size(); ++i) {
        FUZZ_CHECK(calls.recordValues[i] == readers.records()[calls.recordsSet[i]]);
    }
    FUZZ_CHECK(calls.configWrites == 1);
    // A new LUID is taken once at most, and taking it empties the box.
    FUZZ_CHECK(calls.luidsSet.size() <= 1);
    FUZZ_CHECK(readers.LuidEntry() == (calls.luidsSet.empty() ? entryBefore : ""));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto in = fuzz::lines(fuzz::asText(data, size), 2);
    Calls calls;
    UsbReaders readers(std::make_unique<AnsweringReader>(in[1], calls),
                       MORVANE_FUZZ_PROGRAM_FOLDER);
    readers.setLuidEntry(std::string(in[0]));

    // Start-up, then "Reinitialize USB" over what start-up left behind.
    for (int round = 0; round < 2; ++round) {
        const std::string entryBefore = readers.LuidEntry();
        calls = Calls{};
        const bool found = readers.reinitialize();
        FUZZ_CHECK(found == readers.USBReaderFound());
        checkAfterInit(readers, found, calls, entryBefore);
    }

    Messages messages;
    const std::string card = readers.ReadUSBCard(messages);
    FUZZ_CHECK(
        card.empty() || card == kNoResult ||
        (card.size() == static_cast<std::size_t>(kProxDataDigits) && fuzz::isOctalDigits(card)));
    return 0;
}
