#include "readers/host/library_calls.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>

namespace morvane {

namespace {

// The card buffer sits at the start of a page followed by an inaccessible one: a library that
// ignores the size it is given may write up to a page without harm (only 8 bytes are read), and
// a write beyond ends this process at once instead of spoiling memory unseen.
class GuardedCardBuffer {
  public:
    GuardedCardBuffer() : page_(static_cast<std::size_t>(::sysconf(_SC_PAGESIZE))) {
        void* p = ::mmap(nullptr, 2 * page_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                         -1, 0);
        if (p == MAP_FAILED) return;
        base_ = static_cast<std::uint8_t*>(p);
        ::mprotect(base_ + page_, page_, PROT_NONE);
    }
    ~GuardedCardBuffer() {
        if (base_ != nullptr) ::munmap(base_, 2 * page_);
    }
    GuardedCardBuffer(const GuardedCardBuffer&) = delete;
    GuardedCardBuffer& operator=(const GuardedCardBuffer&) = delete;
    std::uint8_t* data() const { return base_; }

  private:
    std::size_t page_;
    std::uint8_t* base_ = nullptr;
};

void readCard(decltype(&::GetActiveID) getActiveID, HostReply& reply) {
    GuardedCardBuffer buffer;
    if (getActiveID == nullptr || buffer.data() == nullptr) {
        reply.status = CallStatus::Missing;
        return;
    }
    reply.result = getActiveID(buffer.data(), static_cast<std::int16_t>(kCardBufferBytes));
    std::memcpy(reply.card.data(), buffer.data(), kCardBufferBytes);
}

template <typename Function, typename... Args>
void callIfBound(Function function, HostReply& reply, Args... args) {
    if (function == nullptr) {
        reply.status = CallStatus::Missing;
        return;
    }
    reply.result = function(args...);
}

void callBound(const PcProxEntryPoints& e, const HostRequest& r, HostReply& reply) {
    const std::int16_t arg = r.args[0];
    switch (r.call) {
        case HostCall::SetDevTypeSrch: return callIfBound(e.setDevTypeSrch, reply, arg);
        case HostCall::SetConnectProduct: return callIfBound(e.setConnectProduct, reply, arg);
        case HostCall::USBConnect: return callIfBound(e.usbConnect, reply, &reply.deviceValue);
        case HostCall::ReadCfg: return callIfBound(e.readCfg, reply);
        case HostCall::GetDevCnt: return callIfBound(e.getDevCnt, reply);
        case HostCall::SetActDev: return callIfBound(e.setActDev, reply, arg);
        case HostCall::GetActDev: return callIfBound(e.getActDev, reply);
        case HostCall::GetLUID: return callIfBound(e.getLUID, reply);
        case HostCall::SetLUID: return callIfBound(e.setLUID, reply, arg);
        case HostCall::WriteCfg: return callIfBound(e.writeCfg, reply);
        case HostCall::SetRecord: {
            PcProxRecord record{};
            std::memcpy(record.field, r.args.data(), sizeof record.field);
            const auto setter = e.setRecord[static_cast<std::size_t>(r.record)];
            return callIfBound(setter, reply, static_cast<const PcProxRecord*>(&record));
        }
        case HostCall::GetActiveID:
            return readCard(e.getActiveID, reply);
    }
}

}  // namespace

HostReply callLibrary(const PcProxEntryPoints* library, const HostRequest& request) {
    HostReply reply;
    reply.call = request.call;
    reply.sequence = request.sequence;
    if (library == nullptr) {
        reply.status = CallStatus::Missing;
    } else {
        callBound(*library, request, reply);
    }
    return reply;
}

}  // namespace morvane
