// A pcProx reader library of our own that plays connected readers and a presented card from a
// scenario file, and logs every call, so that Morvane's reader code runs through the same
// dlopen path with and without hardware. See README.md in this folder.

#include <algorithm>
#include <array>
#include <chrono>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include "readers/pcprox_api.h"

namespace {

constexpr const char* kScenarioVariable = "MORVANE_PCPROX_SIM_SCENARIO";
constexpr const char* kLogVariable = "MORVANE_PCPROX_SIM_LOG";
constexpr const char* kHoldVariable = "MORVANE_PCPROX_SIM_HOLD";
constexpr int kRecordCount = 9;

enum Record {
    Flags,
    Flags2,
    Flags3,
    IDBitCnts,
    IDDispParms,
    IDDispParms2,
    IDDispParms3,
    LEDCtrl,
    TimeParms
};
constexpr std::array<const char*, kRecordCount> kRecordNames{
    "Flags",        "Flags2",       "Flags3",  "IDBitCnts", "IDDispParms",
    "IDDispParms2", "IDDispParms3", "LEDCtrl", "TimeParms",
};

struct Configuration {
    int16_t luid = 0;
    std::array<PcProxRecord, kRecordCount> records{};
};

// How a broken library misbehaves in a named call.
enum class Fault { Crash, Block, Overrun, Babble, Hog, Signal, Stop, Fork, Linger, CrashLater };
const std::map<std::string, Fault> kFaultWords{
    {"crash", Fault::Crash},   {"block", Fault::Block},   {"overrun", Fault::Overrun},
    {"babble", Fault::Babble}, {"hog", Fault::Hog},       {"signal", Fault::Signal},
    {"stop", Fault::Stop},     {"fork", Fault::Fork},     {"linger", Fault::Linger},
    {"crash-later", Fault::CrashLater},
};
// More than a reader library could ever need, yet mapped without memory behind it.
constexpr std::size_t kHogBytes = std::size_t{3} << 29;

struct Scenario {
    int32_t device = 0x210;
    std::vector<Configuration> readers;
    int16_t active = 0;
    std::optional<int16_t> deviceCount;
    int16_t readCfgResult = 1;
    int16_t cardBits = 0;
    std::vector<uint8_t> cardBytes;  // byte 0 least significant
    std::map<std::string, Fault> faults;  // by entry point name
    std::vector<std::string> held;        // entry points that wait for the test's release
    int delayMs = 0;                      // how late every call answers
    std::vector<std::string> problems;
};

struct State {
    std::string path;
    std::string text;
    bool loaded = false;
    Scenario scenario;
    Configuration pending;  // what ReadCfg fetched, with the setters' changes since
    bool luidSet = false;   // what WriteCfg writes: only the parts set since ReadCfg
    std::array<bool, kRecordCount> recordSet{};
};

std::mutex mutex;
State state;

std::optional<long long> number(const std::string& token) {
    if (token.empty()) return std::nullopt;
    char* end = nullptr;
    const long long value = std::strtoll(token.c_str(), &end, 0);
    if (end == nullptr || *end != '\0') return std::nullopt;
    return value;
}

// Hexadecimal card bits, most significant digit first, into bytes least significant first.
std::optional<std::vector<uint8_t>> hexBytes(std::string hex) {
    for (char c : hex) {
        if (std::isxdigit(static_cast<unsigned char>(c)) == 0) return std::nullopt;
    }
    if (hex.size() % 2 != 0) hex.insert(hex.begin(), '0');
    std::vector<uint8_t> bytes;
    for (std::size_t i = hex.size(); i >= 2; i -= 2) {
        bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i - 2, 2), nullptr, 16)));
    }
    return bytes;
}

// A setting that takes one number.
bool parseNumberSetting(const std::string& key, long long value, Scenario& s) {
    if (key == "delay" && value >= 0 && value <= 60'000) {
        s.delayMs = static_cast<int>(value);
    } else if (key == "device") {
        s.device = static_cast<int32_t>(value);
    } else if (key == "reader") {
        s.readers.push_back({static_cast<int16_t>(value), {}});
    } else if (key == "active") {
        s.active = static_cast<int16_t>(value);
    } else if (key == "devcount") {
        s.deviceCount = static_cast<int16_t>(value);
    } else if (key == "readcfg") {
        s.readCfgResult = static_cast<int16_t>(value);
    } else {
        return false;
    }
    return true;
}

bool parseLine(const std::string& line, Scenario& s) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::string key, a, b, extra;
    if (!(words >> key)) return true;
    words >> a >> b >> extra;
    if (!extra.empty()) return false;
    const auto value = number(a);
    if (key == "card" && a == "none" && b.empty()) {
        s.cardBits = 0;
        s.cardBytes.clear();
        return true;
    }
    if (key == "card" && value) {
        const auto bytes = hexBytes(b.empty() ? "0" : b);
        if (!bytes) return false;
        s.cardBits = static_cast<int16_t>(*value);
        s.cardBytes = *bytes;
        return true;
    }
    const auto fault = kFaultWords.find(key);
    if (fault != kFaultWords.end() && !a.empty() && b.empty()) {
        s.faults[a] = fault->second;
        return true;
    }
    if (key == "hold" && !a.empty() && b.empty()) {
        s.held.push_back(a);
        return true;
    }
    return value && b.empty() && parseNumberSetting(key, *value, s);
}

Scenario parseScenario(const std::string& text) {
    Scenario s;
    std::istringstream lines(text);
    std::string line;
    for (int n = 1; std::getline(lines, line); ++n) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!parseLine(line, s)) s.problems.push_back("line " + std::to_string(n) + ": " + line);
    }
    return s;
}

void logLine(const std::string& line) {
    const char* path = std::getenv(kLogVariable);
    if (path == nullptr || *path == '\0') return;
    std::ofstream log(path, std::ios::app);
    log << line << '\n';
}

// The scenario file is the hardware: a new file, or new text in it, is a new set of readers.
State& current() {
    const char* variable = std::getenv(kScenarioVariable);
    const std::string path = variable != nullptr ? variable : "";
    std::string text;
    if (!path.empty()) {
        std::ifstream in(path, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (!state.loaded || path != state.path || text != state.text) {
        state = State{path, text, true, parseScenario(text), {}, false, {}};
        for (const std::string& problem : state.scenario.problems) {
            logLine("# scenario " + problem + " not understood");
        }
    }
    return state;
}

Configuration* activeReader(State& s) {
    const int i = s.scenario.active;
    if (i < 0 || static_cast<std::size_t>(i) >= s.scenario.readers.size()) return nullptr;
    return &s.scenario.readers[static_cast<std::size_t>(i)];
}

// The faults that reach past the call: the caller's process group, a second caller, a program
// left running, a thread that outlives the call.
void misbehaveAround(const std::string& call, Fault fault) {
    switch (fault) {
        case Fault::Signal:
            logLine(call + " signals its group");
            ::kill(0, SIGTERM);
            break;
        case Fault::Stop:
            logLine(call + " stops its group");
            ::kill(0, SIGSTOP);
            break;
        case Fault::Fork:
            logLine(call + " forks");
            ::fork();
            break;
        case Fault::Linger: {
            logLine(call + " leaves a daemon behind");
            [[maybe_unused]] const int status = std::system("setsid sleep 600 &");
            break;
        }
        default:
            std::thread([call] {
                ::usleep(50'000);
                logLine(call + " crashes a moment later");
                std::raise(SIGSEGV);
            }).detach();
    }
}

// A held call waits until a writer has opened the release FIFO and closed it again, so that a
// test decides when the call answers without guessing at times.
void hold(const std::string& call) {
    const char* fifo = std::getenv(kHoldVariable);
    if (fifo == nullptr || *fifo == '\0') {
        logLine("# " + call + " not held: " + kHoldVariable + " is not set");
        return;
    }
    logLine(call + " held");
    const int fd = ::open(fifo, O_RDONLY);
    if (fd < 0) return;
    char byte = 0;
    while (::read(fd, &byte, 1) > 0) {
    }
    ::close(fd);
    logLine(call + " released");
}

// Plays the lateness, the hold and the fault the scenario names for this call, if any; `out`
// is where the call writes.
void misbehave(const State& s, const std::string& call, void* out = nullptr) {
    std::this_thread::sleep_for(std::chrono::milliseconds(s.scenario.delayMs));
    if (std::find(s.scenario.held.begin(), s.scenario.held.end(), call) != s.scenario.held.end()) {
        hold(call);
    }
    const auto fault = s.scenario.faults.find(call);
    if (fault == s.scenario.faults.end()) return;
    switch (fault->second) {
        case Fault::Crash:
            logLine(call + " crashes");
            std::raise(SIGSEGV);
            break;
        case Fault::Block:
            logLine(call + " blocks");
            for (;;) ::pause();
        case Fault::Overrun:
            logLine(call + " writes past its buffer");
            if (out != nullptr) std::memset(out, 0xA5, std::size_t{1} << 24);
            break;
        case Fault::Babble:
            std::fputs("pcprox: chatty library output\n", stdout);
            std::fflush(stdout);
            break;
        case Fault::Hog:
            logLine(call + " reserves 1.5 GiB");
            if (::mmap(nullptr, kHogBytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0) ==
                MAP_FAILED) {
                std::abort();
            }
            break;
        default:
            misbehaveAround(call, fault->second);
    }
}

int16_t logged(const std::string& call, int16_t result, const std::string& note = "") {
    logLine(call + " = " + std::to_string(result) + (note.empty() ? "" : " ; " + note));
    return result;
}

std::string withArgument(const char* name, long long argument) {
    return std::string(name) + " " + std::to_string(argument);
}

int16_t setRecord(Record which, const PcProxRecord* record) {
    std::lock_guard lock(mutex);
    State& s = current();
    std::string call = std::string("Set") + kRecordNames[which];
    misbehave(s, call);
    if (record == nullptr) return logged(call + " null", 0);
    for (int16_t field : record->field) call += " " + std::to_string(field);
    s.pending.records[which] = *record;
    s.recordSet[which] = true;
    return logged(call, 1);
}

}  // namespace

extern "C" {

int16_t SetDevTypeSrch(int16_t searchType) {
    std::lock_guard lock(mutex);
    misbehave(current(), "SetDevTypeSrch");
    return logged(withArgument("SetDevTypeSrch", searchType), 1);
}

int16_t SetConnectProduct(int16_t product) {
    std::lock_guard lock(mutex);
    misbehave(current(), "SetConnectProduct");
    return logged(withArgument("SetConnectProduct", product), 1);
}

int16_t USBConnect(int32_t* deviceValue) {
    std::lock_guard lock(mutex);
    State& s = current();
    misbehave(s, "USBConnect", deviceValue);
    const bool connected = !s.scenario.readers.empty();
    const int32_t device = connected ? s.scenario.device : 0;
    if (deviceValue != nullptr) *deviceValue = device;
    return logged("USBConnect", connected ? 1 : 0, "device " + std::to_string(device));
}

int16_t ReadCfg(void) {
    std::lock_guard lock(mutex);
    State& s = current();
    misbehave(s, "ReadCfg");
    const Configuration* reader = activeReader(s);
    if (reader == nullptr) return logged("ReadCfg", 0);
    if (s.scenario.readCfgResult != 0) {
        s.pending = *reader;
        s.luidSet = false;
        s.recordSet.fill(false);
    }
    return logged("ReadCfg", s.scenario.readCfgResult);
}

int16_t GetDevCnt(void) {
    std::lock_guard lock(mutex);
    State& s = current();
    misbehave(s, "GetDevCnt");
    const auto count = static_cast<int16_t>(s.scenario.readers.size());
    return logged("GetDevCnt", s.scenario.deviceCount.value_or(count));
}

int16_t SetActDev(int16_t index) {
    std::lock_guard lock(mutex);
    State& s = current();
    misbehave(s, "SetActDev");
    const bool exists = index >= 0 && static_cast<std::size_t>(index) < s.scenario.readers.size();
    if (exists) s.scenario.active = index;
    return logged(withArgument("SetActDev", index), exists ? 1 : 0);
}

int16_t GetActDev(void) {
    std::lock_guard lock(mutex);
    const State& s = current();
    misbehave(s, "GetActDev");
    return logged("GetActDev", s.scenario.active);
}

int16_t GetLUID(void) {
    std::lock_guard lock(mutex);
    const State& s = current();
    misbehave(s, "GetLUID");
    return logged("GetLUID", s.pending.luid);
}

int16_t SetLUID(int16_t luid) {
    std::lock_guard lock(mutex);
    State& s = current();
    misbehave(s, "SetLUID");
    s.pending.luid = luid;
    s.luidSet = true;
    return logged(withArgument("SetLUID", luid), 1);
}

int16_t SetFlags(const PcProxRecord* r) { return setRecord(Flags, r); }
int16_t SetFlags2(const PcProxRecord* r) { return setRecord(Flags2, r); }
int16_t SetFlags3(const PcProxRecord* r) { return setRecord(Flags3, r); }
int16_t SetIDBitCnts(const PcProxRecord* r) { return setRecord(IDBitCnts, r); }
int16_t SetIDDispParms(const PcProxRecord* r) { return setRecord(IDDispParms, r); }
int16_t SetIDDispParms2(const PcProxRecord* r) { return setRecord(IDDispParms2, r); }
int16_t SetIDDispParms3(const PcProxRecord* r) { return setRecord(IDDispParms3, r); }
#ifndef PCPROX_SIM_INCOMPLETE
int16_t SetLEDCtrl(const PcProxRecord* r) { return setRecord(LEDCtrl, r); }
#endif
int16_t SetTimeParms(const PcProxRecord* r) { return setRecord(TimeParms, r); }

int16_t WriteCfg(void) {
    std::lock_guard lock(mutex);
    State& s = current();
    misbehave(s, "WriteCfg");
    Configuration* reader = activeReader(s);
    if (reader == nullptr) return logged("WriteCfg", 0);
    if (s.luidSet) reader->luid = s.pending.luid;
    for (int i = 0; i < kRecordCount; ++i) {
        if (s.recordSet[i]) reader->records[i] = s.pending.records[i];
    }
    return logged(
        "WriteCfg", 1,
        "reader " + std::to_string(s.scenario.active) + " LUID " + std::to_string(reader->luid));
}

#ifndef PCPROX_SIM_INCOMPLETE
// Writes the size asked for, or every byte of the scenario's card when there are more: the
// latter plays a library that ignores the size it is given.
int16_t GetActiveID(uint8_t* buffer, int16_t size) {
    std::lock_guard lock(mutex);
    State& s = current();
    const std::string call = withArgument("GetActiveID", size);
    misbehave(s, "GetActiveID", buffer);
    if (buffer == nullptr || s.scenario.readers.empty() || s.scenario.cardBits == 0) {
        return logged(call, 0);
    }
    const std::vector<uint8_t>& bytes = s.scenario.cardBytes;
    const std::size_t count =
        std::max<std::size_t>(size > 0 ? static_cast<std::size_t>(size) : 0, bytes.size());
    for (std::size_t i = 0; i < count; ++i) buffer[i] = i < bytes.size() ? bytes[i] : 0;
    return logged(call, s.scenario.cardBits);
}
#endif

}  // extern "C"
