#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "readers/card_read_messages.h"
#include "readers/luid_list.h"
#include "readers/parameter_record.h"
#include "readers/reader_library.h"
#include "readers/usb_card_read.h"

// The pcProx USB readers as the window sees them: finding and listing the connected readers,
// programming the active one from Default.hwg, and reading the card presented to it.
namespace morvane {

// Readers beyond the sixteenth have no LUID slot; they are neither listed nor programmed.
inline constexpr int kMaxReaders = 16;
// Slot i + 1 holds the LUID of the reader with index i; slot 0 is not used.
using LuidTable = std::array<std::int16_t, kMaxReaders + 1>;

// The firmware version a device value carries: the high part (bits 12 and up, sign kept)
// written in decimal and immediately followed by the major number (bits 8 to 11).
struct FirmwareVersion {
    std::int32_t highPart;
    int major;
    std::int64_t number;  // high part 1, major 3 give 13
};
FirmwareVersion firmwareVersion(std::int32_t deviceValue);
// Older readers do not keep the configuration Morvane writes.
inline constexpr std::int64_t kMinimumFirmwareVersion = 2;

class UsbReaders {
  public:
    // Without a library (null) no reader is ever found and every call does nothing.
    UsbReaders(std::unique_ptr<ReaderLibrary> library, std::filesystem::path programFolder);

    // The readers' place of the start-up and the "Reinitialize USB" click:
    // USBReaderFound = InitUSBReaders(). "Read from USB" is enabled exactly when it gives true.
    // A reader counts as found only when the library answered every call the search and the
    // programming made: one that crashed or hung on the way leaves the reader unusable.
    bool reinitialize();
    bool USBReaderFound() const { return usbReaderFound_; }

    bool InitUSBReaders();
    bool ConnectUSBReader();
    void ListUSBReaders();
    void LoadReaderConfigFile(const std::filesystem::path& path);
    void WriteReaderConfig();

    // The card presented to the active reader as prox data for txtData (see usb_card_read.h).
    UsbCardRead readUsbCard(CardReadMessages& messages);
    std::string ReadUSBCard(CardReadMessages& messages) { return readUsbCard(messages).proxData; }

    const LuidList& luidList() const { return luidList_; }
    const std::string& LuidEntry() const { return luidEntry_; }
    void setLuidEntry(std::string text) { luidEntry_ = std::move(text); }
    const LuidTable& listedLuids() const { return listedLuids_; }
    const LuidTable& programmedLuids() const { return programmedLuids_; }
    const ReaderRecords& records() const { return records_; }
    // True when the last Default.hwg read was complete, so that it may be written to a reader.
    bool configLoaded() const { return configLoaded_; }

  private:
    int readerCount();
    void takeNewLuid(std::int16_t& rememberedLuid);
    void programActiveReader(std::int16_t& rememberedLuid);
    void relistProgrammedReaders(std::int16_t rememberedLuid);

    std::unique_ptr<ReaderLibrary> library_;
    std::filesystem::path programFolder_;
    bool usbReaderFound_ = false;
    LuidList luidList_;
    std::string luidEntry_;
    LuidTable listedLuids_{};      // filled by ListUSBReaders
    LuidTable programmedLuids_{};  // filled by WriteReaderConfig
    ReaderRecords records_{};
    bool configLoaded_ = false;
};

}  // namespace morvane
