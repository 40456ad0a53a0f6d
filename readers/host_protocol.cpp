#include "readers/host_protocol.h"

#include <cstring>
#include <type_traits>

namespace morvane {

namespace {

template <typename Int, std::size_t N>
void put(std::array<std::uint8_t, N>& frame, std::size_t at, Int value) {
    using Unsigned = std::make_unsigned_t<Int>;
    const auto bits = static_cast<Unsigned>(value);
    for (std::size_t i = 0; i < sizeof(Int); ++i) {
        frame.at(at + i) = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

template <typename Int, std::size_t N>
Int get(const std::array<std::uint8_t, N>& frame, std::size_t at) {
    using Unsigned = std::make_unsigned_t<Int>;
    Unsigned bits = 0;
    for (std::size_t i = 0; i < sizeof(Int); ++i) {
        bits = static_cast<Unsigned>(bits | (Unsigned{frame.at(at + i)} << (8 * i)));
    }
    return static_cast<Int>(bits);
}

bool isCall(std::uint8_t byte) { return byte >= 1 && byte <= kLastHostCall; }

}  // namespace

RequestFrame encodeRequest(const HostRequest& request) {
    RequestFrame frame{};
    frame[0] = static_cast<std::uint8_t>(request.call);
    frame[1] = static_cast<std::uint8_t>(request.record);
    put(frame, 2, request.sequence);
    for (std::size_t i = 0; i < request.args.size(); ++i) put(frame, 6 + 2 * i, request.args[i]);
    return frame;
}

std::optional<HostRequest> decodeRequest(const RequestFrame& frame) {
    if (!isCall(frame[0]) || frame[1] >= kRecordCount) return std::nullopt;
    HostRequest request;
    request.call = static_cast<HostCall>(frame[0]);
    request.record = static_cast<RecordId>(frame[1]);
    request.sequence = get<std::uint32_t>(frame, 2);
    for (std::size_t i = 0; i < request.args.size(); ++i) {
        request.args[i] = get<std::int16_t>(frame, 6 + 2 * i);
    }
    return request;
}

ReplyFrame encodeReply(const HostReply& reply) {
    ReplyFrame frame{};
    frame[0] = static_cast<std::uint8_t>(reply.call);
    frame[1] = static_cast<std::uint8_t>(reply.status);
    put(frame, 2, reply.sequence);
    put(frame, 6, reply.result);
    put(frame, 8, reply.deviceValue);
    std::memcpy(frame.data() + 12, reply.card.data(), kCardBufferBytes);
    return frame;
}

std::optional<HostReply> decodeReply(const ReplyFrame& frame) {
    if (!isCall(frame[0]) || frame[1] > static_cast<std::uint8_t>(CallStatus::Missing)) {
        return std::nullopt;
    }
    HostReply reply;
    reply.call = static_cast<HostCall>(frame[0]);
    reply.status = static_cast<CallStatus>(frame[1]);
    reply.sequence = get<std::uint32_t>(frame, 2);
    reply.result = get<std::int16_t>(frame, 6);
    reply.deviceValue = get<std::int32_t>(frame, 8);
    std::memcpy(reply.card.data(), frame.data() + 12, kCardBufferBytes);
    return reply;
}

}  // namespace morvane
