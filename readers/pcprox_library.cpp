#include "readers/pcprox_library.h"

#include <dlfcn.h>

#include <cstdlib>
#include <string>

#ifndef MORVANE_LIBRARY_ARCHITECTURE
#define MORVANE_LIBRARY_ARCHITECTURE ""
#endif

namespace morvane {

namespace {

namespace fs = std::filesystem;

template <typename Function>
void bind(void* handle, const char* name, Function& target) {
    target = reinterpret_cast<Function>(dlsym(handle, name));
}

PcProxEntryPoints bindEach(void* handle) {
    PcProxEntryPoints e;
    bind(handle, "SetDevTypeSrch", e.setDevTypeSrch);
    bind(handle, "SetConnectProduct", e.setConnectProduct);
    bind(handle, "USBConnect", e.usbConnect);
    bind(handle, "ReadCfg", e.readCfg);
    bind(handle, "GetDevCnt", e.getDevCnt);
    bind(handle, "SetActDev", e.setActDev);
    bind(handle, "GetActDev", e.getActDev);
    bind(handle, "GetLUID", e.getLUID);
    bind(handle, "SetLUID", e.setLUID);
    bind(handle, "WriteCfg", e.writeCfg);
    bind(handle, "GetActiveID", e.getActiveID);
    for (std::size_t i = 0; i < kRecordCount; ++i) {
        const std::string setter = "Set" + std::string(recordName(static_cast<RecordId>(i)));
        bind(handle, setter.c_str(), e.setRecord[i]);
    }
    return e;
}

void addSystemFolders(std::vector<fs::path>& places) {
    const std::string arch = MORVANE_LIBRARY_ARCHITECTURE;
    for (const char* root : {"/usr/local/lib", "/usr/lib", "/lib"}) {
        if (!arch.empty()) places.push_back(fs::path(root) / arch / kPcProxLibraryFile);
        places.push_back(fs::path(root) / kPcProxLibraryFile);
    }
}

}  // namespace

PcProxBinding::~PcProxBinding() { dlclose(handle_); }

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

std::unique_ptr<PcProxBinding> bindPcProxLibrary(const fs::path& file) {
    if (!file.is_absolute()) return nullptr;
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return nullptr;
    return std::make_unique<PcProxBinding>(handle, bindEach(handle));
}

std::unique_ptr<PcProxBinding> loadPcProxLibrary(const fs::path& programFolder) {
    const auto places = pcproxLibraryLocations(programFolder, std::getenv(kPcProxLibraryVariable));
    for (const fs::path& place : places) {
        std::error_code ec;
        if (!fs::is_regular_file(place, ec)) continue;
        if (auto binding = bindPcProxLibrary(place)) return binding;
    }
    return nullptr;
}

}  // namespace morvane
