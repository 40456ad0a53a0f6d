#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string_view>

#include "readers/host_protocol.h"
#include "readers/reader_library.h"

// The reader library as the window reaches it: every call goes to morvane-reader-host, which
// runs the library in a process of its own.
namespace morvane {

inline constexpr std::string_view kReaderHostProgram = "morvane-reader-host";

// A healthy call to a pcProx reader takes milliseconds; two seconds is far beyond that on a busy
// machine, yet short enough that an operator facing a stuck reader sees the window answer again.
inline constexpr std::chrono::milliseconds kReaderCallTimeout{2000};

class ReaderHostClient final : public ReaderLibrary {
  public:
    // The host program is started on the first call that needs it; it looks for the library
    // with programFolder as the program's folder.
    ReaderHostClient(std::filesystem::path hostProgram, std::filesystem::path programFolder,
                     std::chrono::milliseconds timeout = kReaderCallTimeout);
    ~ReaderHostClient() override;
    ReaderHostClient(const ReaderHostClient&) = delete;
    ReaderHostClient& operator=(const ReaderHostClient&) = delete;

    // After a crash, a time-out or a nonsense answer every further call of the step fails at
    // once; the next step starts the host again. So does a step that finds the host gone or
    // the channel holding bytes nobody asked for, before its first call.
    void beginStep() override;
    bool everyCallAnswered() const override { return !hostFailed_; }
    // The host is ended as after a time-out; the next step starts it again.
    void interrupt() override;

    std::int16_t SetDevTypeSrch(std::int16_t searchType) override;
    std::int16_t SetConnectProduct(std::int16_t product) override;
    std::int16_t USBConnect(std::int32_t& deviceValue) override;
    std::int16_t ReadCfg() override;
    std::int16_t GetDevCnt() override;
    std::int16_t SetActDev(std::int16_t index) override;
    std::int16_t GetActDev() override;
    std::int16_t GetLUID() override;
    std::int16_t SetLUID(std::int16_t luid) override;
    std::int16_t setRecord(RecordId id, const ParameterRecord& record) override;
    std::int16_t WriteCfg() override;
    std::int16_t GetActiveID(CardBuffer& buffer) override;

  private:
    std::optional<HostReply> call(const HostRequest& request);
    std::int16_t result(HostCall which, std::int16_t argument = 0);
    std::optional<HostReply> exchange(HostRequest request);
    bool send(const RequestFrame& frame);
    bool receive(ReplyFrame& frame);
    bool start();
    void stop();

    std::filesystem::path hostProgram_;
    std::filesystem::path programFolder_;
    std::chrono::milliseconds timeout_;
    pid_t pid_ = -1;
    int channel_ = -1;
    int interrupted_ = -1;  // an event descriptor, readable once interrupt() was called
    bool hostFailed_ = false;
    std::uint32_t sequence_ = 0;
};

}  // namespace morvane
