#include "readers/pcprox_library.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "readers/pcprox_api.h"

#ifndef MORVANE_LIBRARY_ARCHITECTURE
#define MORVANE_LIBRARY_ARCHITECTURE ""
#endif

namespace morvane {

namespace {

namespace fs = std::filesystem;

// A library that ignores the size it is given may write past 8 bytes; the slack keeps such a
// write inside memory of ours, and only the first 8 bytes are ever read.
constexpr std::size_t kCardBufferSlack = 256;

struct EntryPoints {
    decltype(&::SetDevTypeSrch) setDevTypeSrch = nullptr;
    decltype(&::SetConnectProduct) setConnectProduct = nullptr;
    decltype(&::USBConnect) usbConnect = nullptr;
    decltype(&::ReadCfg) readCfg = nullptr;
    decltype(&::GetDevCnt) getDevCnt = nullptr;
    decltype(&::SetActDev) setActDev = nullptr;
    decltype(&::GetActDev) getActDev = nullptr;
    decltype(&::GetLUID) getLUID = nullptr;
    decltype(&::SetLUID) setLUID = nullptr;
    std::array<decltype(&::SetFlags), kRecordCount> setRecord{};  // indexed by RecordId
    decltype(&::WriteCfg) writeCfg = nullptr;
    decltype(&::GetActiveID) getActiveID = nullptr;
};

template <typename Function>
bool bind(void* handle, const char* name, Function& target) {
    target = reinterpret_cast<Function>(dlsym(handle, name));
    return target != nullptr;
}

bool bindAll(void* handle, EntryPoints& e) {
    bool complete = bind(handle, "SetDevTypeSrch", e.setDevTypeSrch) &&
                    bind(handle, "SetConnectProduct", e.setConnectProduct) &&
                    bind(handle, "USBConnect", e.usbConnect) &&
                    bind(handle, "ReadCfg", e.readCfg) && bind(handle, "GetDevCnt", e.getDevCnt) &&
                    bind(handle, "SetActDev", e.setActDev) &&
                    bind(handle, "GetActDev", e.getActDev) && bind(handle, "GetLUID", e.getLUID) &&
                    bind(handle, "SetLUID", e.setLUID) && bind(handle, "WriteCfg", e.writeCfg) &&
                    bind(handle, "GetActiveID", e.getActiveID);
    for (std::size_t i = 0; complete && i < kRecordCount; ++i) {
        const std::string setter = "Set" + std::string(recordName(static_cast<RecordId>(i)));
        complete = bind(handle, setter.c_str(), e.setRecord[i]);
    }
    return complete;
}

PcProxRecord toC(const ParameterRecord& record) {
    PcProxRecord c{};
    static_assert(sizeof c.field == sizeof record.field);
    std::memcpy(c.field, record.field.data(), sizeof c.field);
    return c;
}

class PcProxLibrary final : public ReaderLibrary {
  public:
    PcProxLibrary(void* handle, const EntryPoints& entry) : handle_(handle), e_(entry) {}
    ~PcProxLibrary() override { dlclose(handle_); }
    PcProxLibrary(const PcProxLibrary&) = delete;
    PcProxLibrary& operator=(const PcProxLibrary&) = delete;

    std::int16_t SetDevTypeSrch(std::int16_t searchType) override {
        return e_.setDevTypeSrch(searchType);
    }
    std::int16_t SetConnectProduct(std::int16_t product) override {
        return e_.setConnectProduct(product);
    }
    std::int16_t USBConnect(std::int32_t& deviceValue) override {
        return e_.usbConnect(&deviceValue);
    }
    std::int16_t ReadCfg() override { return e_.readCfg(); }
    std::int16_t GetDevCnt() override { return e_.getDevCnt(); }
    std::int16_t SetActDev(std::int16_t index) override { return e_.setActDev(index); }
    std::int16_t GetActDev() override { return e_.getActDev(); }
    std::int16_t GetLUID() override { return e_.getLUID(); }
    std::int16_t SetLUID(std::int16_t luid) override { return e_.setLUID(luid); }
    std::int16_t setRecord(RecordId id, const ParameterRecord& record) override {
        const PcProxRecord c = toC(record);
        return e_.setRecord[static_cast<std::size_t>(id)](&c);
    }
    std::int16_t WriteCfg() override { return e_.writeCfg(); }
    std::int16_t GetActiveID(CardBuffer& buffer) override {
        std::array<std::uint8_t, kCardBufferBytes + kCardBufferSlack> scratch{};
        const std::int16_t bits =
            e_.getActiveID(scratch.data(), static_cast<std::int16_t>(kCardBufferBytes));
        std::memcpy(buffer.data(), scratch.data(), kCardBufferBytes);
        return bits;
    }

  private:
    void* handle_;
    EntryPoints e_;
};

void addSystemFolders(std::vector<fs::path>& places) {
    const std::string arch = MORVANE_LIBRARY_ARCHITECTURE;
    for (const char* root : {"/usr/local/lib", "/usr/lib", "/lib"}) {
        if (!arch.empty()) places.push_back(fs::path(root) / arch / kPcProxLibraryFile);
        places.push_back(fs::path(root) / kPcProxLibraryFile);
    }
}

// Takes ownership of the handle; null when an entry point is missing.
std::unique_ptr<ReaderLibrary> bindHandle(void* handle) {
    EntryPoints entry;
    if (!bindAll(handle, entry)) {
        dlclose(handle);
        return nullptr;
    }
    return std::make_unique<PcProxLibrary>(handle, entry);
}

}  // namespace

std::vector<fs::path> pcproxLibraryLocations(const fs::path& programFolder,
                                             const char* variableValue) {
    std::vector<fs::path> places;
    if (variableValue != nullptr) {
        const fs::path fromVariable(variableValue);
        if (fromVariable.is_absolute()) places.push_back(fromVariable.lexically_normal());
    }
    if (programFolder.is_absolute()) {
        places.push_back((programFolder / kPcProxLibraryFile).lexically_normal());
    }
    addSystemFolders(places);
    return places;
}

std::unique_ptr<ReaderLibrary> bindPcProxLibrary(const fs::path& file) {
    if (!file.is_absolute()) return nullptr;
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    return handle == nullptr ? nullptr : bindHandle(handle);
}

std::unique_ptr<ReaderLibrary> loadPcProxLibrary(const fs::path& programFolder) {
    const auto places = pcproxLibraryLocations(programFolder, std::getenv(kPcProxLibraryVariable));
    for (const fs::path& place : places) {
        std::error_code ec;
        if (!fs::is_regular_file(place, ec)) continue;
        void* handle = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle != nullptr) return bindHandle(handle);
    }
    return nullptr;
}

}  // namespace morvane
