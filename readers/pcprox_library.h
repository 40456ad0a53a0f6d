#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "readers/parameter_record.h"
#include "readers/pcprox_api.h"

// The pcProx reader library, bound at run time inside morvane-reader-host. A reader library is
// a shared object offering the entry points of readers/pcprox_api.h; Morvane looks for it under
// one file name in a fixed list of absolute places and never in the current directory.
namespace morvane {

inline constexpr std::string_view kPcProxLibraryFile = "libpcprox.so";
inline constexpr const char* kPcProxLibraryVariable = "MORVANE_PCPROX_LIBRARY";

// Where the library is looked for, in order: the variable's path when it is absolute, the
// program's folder when it is absolute, then the system's library folders. Every entry is an
// absolute path.
std::vector<std::filesystem::path> pcproxLibraryLocations(
    const std::filesystem::path& programFolder, const char* variableValue);

// Each entry point on its own, null when the library lacks it: a missing one fails only the
// steps that call it.
struct PcProxEntryPoints {
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

// A loaded reader library; unloaded on destruction.
class PcProxBinding {
  public:
    PcProxBinding(void* handle, const PcProxEntryPoints& entry) : handle_(handle), entry_(entry) {}
    ~PcProxBinding();
    PcProxBinding(const PcProxBinding&) = delete;
    PcProxBinding& operator=(const PcProxBinding&) = delete;
    const PcProxEntryPoints& entry() const { return entry_; }

  private:
    void* handle_;
    PcProxEntryPoints entry_;
};

// Binds the library file at an absolute path; null when it is no loadable library. Never
// throws, never prints.
std::unique_ptr<PcProxBinding> bindPcProxLibrary(const std::filesystem::path& file);

// The first location that holds a loadable library decides; null, silently, when none does.
std::unique_ptr<PcProxBinding> loadPcProxLibrary(const std::filesystem::path& programFolder);

}  // namespace morvane
