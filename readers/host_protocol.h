#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include <sys/syscall.h>
#include <unistd.h>

#include "readers/parameter_record.h"
#include "readers/reader_library.h"

// The channel between the window and morvane-reader-host: one fixed-size request frame per
// library call, answered by one fixed-size reply frame. Integers travel little-endian. The
// reply repeats the call and the sequence number it answers, so a host that lost step, or a
// second answer to an earlier call, is noticed at once.
namespace morvane {

// The descriptor the host is started with besides 0, 1 and 2. Its hang-up also tells the
// host's supervisor that the window is gone.
inline constexpr int kHostChannelFd = 3;

// A descriptor that turns readable when the process ends (glibc 2.36 declares pidfd_open
// without C linkage, so the system call is made directly); -1 on failure.
inline int pidfd(pid_t pid) { return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)); }

enum class HostCall : std::uint8_t {
    SetDevTypeSrch = 1,
    SetConnectProduct,
    USBConnect,
    ReadCfg,
    GetDevCnt,
    SetActDev,
    GetActDev,
    GetLUID,
    SetLUID,
    SetRecord,
    WriteCfg,
    GetActiveID,
};
inline constexpr std::uint8_t kLastHostCall = static_cast<std::uint8_t>(HostCall::GetActiveID);

// The call's arguments: args[0] for the calls that take one number, the eight fields for
// SetRecord.
struct HostRequest {
    HostCall call = HostCall::SetDevTypeSrch;
    RecordId record = RecordId::Flags;
    std::uint32_t sequence = 0;
    std::array<std::int16_t, kRecordFields> args{};
};

enum class CallStatus : std::uint8_t {
    Done = 0,
    Missing = 1,  // the library lacks the entry point, or there is no library
};

struct HostReply {
    HostCall call = HostCall::SetDevTypeSrch;
    CallStatus status = CallStatus::Done;
    std::uint32_t sequence = 0;  // the request's
    std::int16_t result = 0;
    std::int32_t deviceValue = 0;  // USBConnect only
    CardBuffer card{};             // GetActiveID only
};

inline constexpr std::size_t kRequestBytes = 2 + 4 + 2 * kRecordFields;
inline constexpr std::size_t kReplyBytes = 2 + 4 + 2 + 4 + kCardBufferBytes;
using RequestFrame = std::array<std::uint8_t, kRequestBytes>;
using ReplyFrame = std::array<std::uint8_t, kReplyBytes>;

RequestFrame encodeRequest(const HostRequest& request);
// Nothing when the frame names no call or no record.
std::optional<HostRequest> decodeRequest(const RequestFrame& frame);

ReplyFrame encodeReply(const HostReply& reply);
// Nothing when the frame names no call or no status.
std::optional<HostReply> decodeReply(const ReplyFrame& frame);

}  // namespace morvane
