#include "readers/usb_readers.h"

#include <algorithm>
#include <string>

#include "formats/numeric_error.h"
#include "formats/numeric_text.h"
#include "readers/leading_number.h"
#include "readers/reader_config.h"
#include "readers/usb_card_read.h"

namespace morvane {

namespace {

// The order the reader expects its configuration in; IDDispParms goes first, on its own.
constexpr std::array kSetterOrder{
    RecordId::LEDCtrl,      RecordId::Flags2,    RecordId::Flags3, RecordId::IDDispParms3,
    RecordId::IDDispParms2, RecordId::IDBitCnts, RecordId::Flags,  RecordId::TimeParms,
};

std::size_t slot(int readerIndex) { return static_cast<std::size_t>(readerIndex) + 1; }
std::int16_t asIndex(int i) { return static_cast<std::int16_t>(i); }

// The remembered LUID when the active reader's list entry names none, as when there is no entry:
// the conversion runs with errors ignored, so one that fails leaves the start value.
constexpr std::int16_t kNoLuid = 0;

// A list entry's LUID: the number its text holds (a 16-bit LUID a reader gave). A text that
// holds no number, or one beyond 16 bits, names none.
std::int16_t luidOf(const std::string& entryText) {
    const auto value = parseNumber(entryText);
    const auto luid = value ? fitInt16(*value) : std::nullopt;
    return luid ? *luid : kNoLuid;
}

}  // namespace

FirmwareVersion firmwareVersion(std::int32_t deviceValue) {
    FirmwareVersion v{};
    v.highPart = deviceValue >> 12;
    v.major = (deviceValue >> 8) & 0xF;
    // The two decimal texts side by side: the major number fills one or two digits.
    const std::int64_t high = v.highPart;
    const std::int64_t magnitude = (high < 0 ? -high : high) * (v.major >= 10 ? 100 : 10) + v.major;
    v.number = high < 0 ? -magnitude : magnitude;
    return v;
}

UsbReaders::UsbReaders(std::unique_ptr<ReaderLibrary> library, std::filesystem::path programFolder)
    : library_(std::move(library)), programFolder_(std::move(programFolder)) {}

bool UsbReaders::reinitialize() {
    if (library_) library_->beginStep();
    usbReaderFound_ = InitUSBReaders() && library_->everyCallAnswered();
    return usbReaderFound_;
}

bool UsbReaders::InitUSBReaders() {
    if (!ConnectUSBReader()) return false;
    LoadReaderConfigFile(programFolder_ / kReaderConfigFile);
    WriteReaderConfig();
    return true;
}

bool UsbReaders::ConnectUSBReader() {
    if (!library_) return false;
    library_->SetDevTypeSrch(0);
    library_->SetConnectProduct(1);
    std::int32_t deviceValue = 0;
    if (library_->USBConnect(deviceValue) == 0) return false;
    const bool usable = firmwareVersion(deviceValue).number >= kMinimumFirmwareVersion;
    if (library_->ReadCfg() != 0) ListUSBReaders();
    return usable;
}

void UsbReaders::ListUSBReaders() {
    if (!library_) return;
    ReaderLibrary& lib = *library_;
    const std::string previous = luidList_.textAt(lib.GetActDev());
    const int n = readerCount();
    if (n > 0) {
        luidList_.clear();
        for (int i = 0; i < n; ++i) {
            lib.SetActDev(asIndex(i));
            lib.ReadCfg();
            listedLuids_[slot(i)] = lib.GetLUID();
            luidList_.add({std::to_string(listedLuids_[slot(i)]), 0});
        }
        luidList_.select(0);
    }
    // The reader that was active before stays active, wherever it now sits in the list; with
    // no earlier selection the last reader listed is the active one.
    if (!previous.empty()) {
        const auto wanted = leadingNumber(previous);
        for (int i = 0; i < n; ++i) {
            if (wanted && listedLuids_[slot(i)] == *wanted) lib.SetActDev(asIndex(i));
        }
    }
    luidList_.select(lib.GetActDev());
}

void UsbReaders::LoadReaderConfigFile(const std::filesystem::path& path) {
    // A relative path would be read from wherever the program was started.
    configLoaded_ = path.is_absolute() && loadReaderConfigFile(path, records_);
}

void UsbReaders::WriteReaderConfig() {
    if (!library_) return;
    std::int16_t rememberedLuid = luidOf(luidList_.textAt(library_->GetActDev()));
    // Records from a missing or short Default.hwg hold zeros or stale values: writing them
    // would spoil the reader's configuration, so the reader keeps its own.
    if (configLoaded_) programActiveReader(rememberedLuid);
    relistProgrammedReaders(rememberedLuid);
}

void UsbReaders::programActiveReader(std::int16_t& rememberedLuid) {
    library_->setRecord(RecordId::IDDispParms, records_[RecordId::IDDispParms]);
    takeNewLuid(rememberedLuid);
    for (RecordId id : kSetterOrder) library_->setRecord(id, records_[id]);
    library_->WriteCfg();
}

void UsbReaders::takeNewLuid(std::int16_t& rememberedLuid) {
    const int n = readerCount();
    for (int i = 0; i < n; ++i) {
        const auto v = leadingNumber(luidEntry_);
        if (!v) continue;
        const LuidListEntry* entry = luidList_.entryAt(i);
        if (entry != nullptr && *v == entry->value) continue;
        if (*v > -1 && *v < 16 && !luidEntry_.empty()) {
            rememberedLuid = toInt16(*v);
            library_->SetLUID(rememberedLuid);
            luidEntry_.clear();
        }
    }
}

void UsbReaders::relistProgrammedReaders(std::int16_t rememberedLuid) {
    ReaderLibrary& lib = *library_;
    const int n = readerCount();
    luidList_.clear();
    for (int j = 0; j < n; ++j) {
        lib.SetActDev(asIndex(j));
        lib.ReadCfg();
        const std::int16_t luid = lib.GetLUID();
        programmedLuids_[slot(j)] = luid;
        luidList_.add({std::to_string(luid), luid});
    }
    for (int j = 0; j < n; ++j) {
        if (luidList_.entries()[static_cast<std::size_t>(j)].value != rememberedLuid) continue;
        lib.SetActDev(asIndex(j));
        lib.ReadCfg();
        luidList_.select(j);
    }
}

UsbCardRead UsbReaders::readUsbCard(CardReadMessages& messages) {
    if (library_) library_->beginStep();
    return morvane::readUsbCard(library_.get(), messages);
}

int UsbReaders::readerCount() { return std::clamp<int>(library_->GetDevCnt(), 0, kMaxReaders); }

}  // namespace morvane
