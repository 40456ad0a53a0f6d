#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "readers/card_read_messages.h"
#include "readers/pcprox_library.h"
#include "readers/reader_host_client.h"
#include "readers/usb_readers.h"

namespace morvane::test {

namespace fs = std::filesystem;

inline void writeFile(const fs::path& path, const std::string& text, bool program = false) {
    std::ofstream(path, std::ios::binary) << text;
    if (program) fs::permissions(path, fs::perms::owner_all);
}

// A fresh folder per test that plays the program's folder and holds the emulator's scenario and
// call log; the emulator runs in the real reader host, bound through the real dlopen path.
class SimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "morvane-usb-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        setenv("MORVANE_PCPROX_SIM_SCENARIO", (dir / "scenario").c_str(), 1);
        setenv("MORVANE_PCPROX_SIM_LOG", (dir / "calls.log").c_str(), 1);
        setenv(kPcProxLibraryVariable, MORVANE_PCPROX_SIM, 1);
        // A descriptor the window inherited from its caller, just above the host's channel.
        dup2(STDERR_FILENO, kHostChannelFd + 1);
    }
    void TearDown() override { fs::remove_all(dir); }

    void scenario(const std::string& text) { writeFile(dir / "scenario", text); }
    void config(const std::string& text) { writeFile(dir / "Default.hwg", text); }

    std::unique_ptr<ReaderLibrary> emulator() const {
        return std::make_unique<ReaderHostClient>(MORVANE_READER_HOST, dir);
    }
    UsbReaders readers() const { return UsbReaders(emulator(), dir); }

    std::vector<std::string> calls() const {
        std::ifstream in(dir / "calls.log");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    // The calls that change a reader: record setters, SetLUID and WriteCfg.
    std::vector<std::string> writes() const {
        static const std::regex write("^(WriteCfg|Set(?!ActDev|DevTypeSrch|ConnectProduct))");
        std::vector<std::string> lines = calls();
        std::erase_if(lines, [](const std::string& c) { return !std::regex_search(c, write); });
        return lines;
    }
    void clearCalls() { fs::remove(dir / "calls.log"); }

    // The processes that carry this test's call log in their environment (the reader host and
    // what the library started), each with how many of its descriptors lead elsewhere than
    // /dev/null.
    std::vector<std::pair<std::string, int>> startedProcesses() const {
        const std::string mark = "MORVANE_PCPROX_SIM_LOG=" + (dir / "calls.log").string() + '\0';
        std::vector<std::pair<std::string, int>> found;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator("/proc")) {
            const fs::path& process = entry.path();
            std::ifstream in(process / "environ");
            const std::string environment(std::istreambuf_iterator<char>(in), {});
            if (environment.find(mark) == std::string::npos) continue;
            int elsewhere = 0;
            for (const auto& fd : fs::directory_iterator(process / "fd", error)) {
                elsewhere += fs::read_symlink(fd.path(), error) != "/dev/null";
            }
            found.emplace_back(fs::read_symlink(process / "exe", error).filename(), elsewhere);
        }
        return found;
    }

    fs::path dir;
};

// Stands in for the window's message boxes.
class RecordingMessages : public CardReadMessages {
  public:
    using Box = std::pair<std::string, std::string>;  // text, and a title unless the ordinary box
    std::vector<Box> shown;

    void showMessage(std::string_view text) override { shown.push_back({std::string(text), ""}); }
    void showCritical(std::string_view text, std::string_view title) override {
        shown.push_back({std::string(text), std::string(title)});
    }
};

// A usable configuration file whose line k holds 100 + k, quoted where the line is trimmed.
inline std::string numberedConfig() {
    std::string text;
    for (int k = 1; k <= 47; ++k) {
        const std::string quote = k >= 9 && k <= 16 ? "" : "\"";
        text += quote + std::to_string(100 + k) + quote + "\n";
    }
    return text;
}

inline const RecordingMessages::Box kNoData{"No Data Read from Card",
                                            "RFIDeas pcProx (CRP2) Status"};

}  // namespace morvane::test
