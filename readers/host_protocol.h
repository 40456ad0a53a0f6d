#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "readers/parameter_record.h"
#include "readers/reader_library.h"

// The channel between the window and morvane-reader-host: one fixed-size request frame per
// library call, answered by one fixed-size reply frame. Integers travel little-endian. The
// reply repeats the call it answers, so a host that lost step is noticed at once.
namespace morvane {

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
    std::array<std::int16_t, kRecordFields> args{};
};

enum class CallStatus : std::uint8_t {
    Done = 0,
    Missing = 1,  // the library lacks the entry point, or there is no library
};

struct HostReply {
    HostCall call = HostCall::SetDevTypeSrch;
    CallStatus status = CallStatus::Done;
    std::int16_t result = 0;
    std::int32_t deviceValue = 0;  // USBConnect only
    CardBuffer card{};             // GetActiveID only
};

inline constexpr std::size_t kRequestBytes = 2 + 2 * kRecordFields;
inline constexpr std::size_t kReplyBytes = 2 + 2 + 4 + kCardBufferBytes;
using RequestFrame = std::array<std::uint8_t, kRequestBytes>;
using ReplyFrame = std::array<std::uint8_t, kReplyBytes>;

RequestFrame encodeRequest(const HostRequest& request);
// Nothing when the frame names no call or no record.
std::optional<HostRequest> decodeRequest(const RequestFrame& frame);

ReplyFrame encodeReply(const HostReply& reply);
// Nothing when the frame names no call or no status.
std::optional<HostReply> decodeReply(const ReplyFrame& frame);

}  // namespace morvane
