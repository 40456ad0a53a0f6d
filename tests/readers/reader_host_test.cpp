// A reader library that crashes, hangs, writes past its buffer or prints costs one failed step
// and nothing more: the test process (playing the window) lives on, and the next step starts
// the host again.
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "readers/host/host_supervisor.h"
#include "sim_fixture.h"

namespace morvane::test {
namespace {

constexpr const char* kCard = "reader 3\ncard 26 F66073\n";
constexpr const char* kProxData = "0000000475460163";

TEST_F(SimTest, ABrokenOrIncompleteLibraryFailsOnlyWhatItBreaks) {
    config(numberedConfig());
    // the fault, what the step gives (a read when GetActiveID fails, else whether a
    // reinitialization finds the reader), and the call log's last line after the step
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"crash GetActiveID", "", "GetActiveID crashes"},
        {"block GetActiveID", "", "GetActiveID blocks"},
        {"overrun GetActiveID", "", "GetActiveID writes past its buffer"},
        {"babble GetActiveID", kProxData, "GetActiveID 8 = 26"},
        // Unbounded in sanitizer builds, where the reservation succeeds and the read goes on.
        {"hog GetActiveID", kHostAddressSpace == RLIM_INFINITY ? kProxData : "",
         kHostAddressSpace == RLIM_INFINITY ? "GetActiveID 8 = 26"
                                            : "GetActiveID reserves 1.5 GiB"},
        {"signal GetActiveID", "", "GetActiveID signals its group"},
        {"fork GetActiveID", kProxData, "GetActiveID 8 = 26"},
        {"crash-later GetActiveID", kProxData, "GetActiveID 8 = 26"},
        {"crash USBConnect", "", "USBConnect crashes"},
        {"overrun USBConnect", "", "USBConnect writes past its buffer"},
        {"stop USBConnect", "", "USBConnect stops its group"},
        {"block ReadCfg", "", "ReadCfg blocks"},
        {"crash SetFlags", "", "SetFlags crashes"},
        {"linger SetFlags", "found", "ReadCfg = 1"},
        {"crash GetLUID", "", "GetLUID crashes"}};
    for (const auto& [fault, result, lastCall] : cases) {
        SCOPED_TRACE(fault);
        scenario(std::string(kCard) + fault + "\n");
        clearCalls();
        {
            UsbReaders r = readers();
            RecordingMessages messages;
            const bool read = std::string_view(fault).ends_with("GetActiveID");
            EXPECT_EQ(read ? r.ReadUSBCard(messages) : r.reinitialize() ? "found" : "", result);
            EXPECT_EQ(messages.shown.size(), read && result.empty() ? 1U : 0U);
            ASSERT_FALSE(calls().empty());
            EXPECT_EQ(calls().back(), lastCall);
            usleep(200'000);  // long enough for a fault that strikes after the call
            // A crash after the call has struck once its host is gone, however long a sanitizer
            // takes over its report.
            if (std::string_view(fault).starts_with("crash-later")) {
                for (int i = 0; i < 300 && !startedProcesses().empty(); ++i) usleep(100'000);
            }
            // What the library started sees neither the window's output nor the channel.
            for (const auto& [program, elsewhere] : startedProcesses()) {
                if (program != "morvane-reader-host") {
                    EXPECT_EQ(elsewhere, 0) << program;
                }
            }
            // The library mended, the next step of either kind works again.
            scenario(kCard);
            EXPECT_TRUE(r.reinitialize());
            EXPECT_EQ(r.ReadUSBCard(messages), kProxData);
        }
        // Nothing the host or the library started outlives the window.
        EXPECT_TRUE(startedProcesses().empty());
    }
    // A library lacking entry points fails only the calls it lacks.
    setenv(kPcProxLibraryVariable, MORVANE_PCPROX_SIM_INCOMPLETE, 1);
    UsbReaders r = readers();
    EXPECT_TRUE(r.reinitialize());
    EXPECT_EQ(writes().back(), "WriteCfg = 1 ; reader 0 LUID 3");
    RecordingMessages messages;
    EXPECT_EQ(r.ReadUSBCard(messages), "");
    EXPECT_EQ(messages.shown, std::vector{kNoData});
}

// printf's escapes for a host's reply frame.
std::string printfEscapes(const ReplyFrame& frame) {
    std::string text;
    for (const unsigned byte : frame) {
        text += '\\' + std::to_string(byte >> 6) + std::to_string(byte >> 3 & 7) +
                std::to_string(byte & 7);
    }
    return text;
}

TEST_F(SimTest, AHostThatIsMissingElsewhereOrTalksNonsenseFindsNoReader) {
    scenario(kCard);
    HostReply card{.call = HostCall::GetActiveID, .result = 26, .card = {0x73, 0x60, 0xF6}};
    const std::string unasked = printfEscapes(encodeReply(card));  // no request has sequence 0
    card.sequence = 1;
    // Nonsense from a host that outlives the channel; a card for a read never asked for; the
    // card asked for with a byte too many.
    std::vector<fs::path> hosts;
    for (const std::string& answer :
         {std::string("twenty bytes of junk"), unasked, printfEscapes(encodeReply(card)) + "x"}) {
        const std::string then = hosts.empty() ? "sleep 60" : "cat <&3";
        hosts.push_back(dir / ("talker" + std::to_string(hosts.size())));
        writeFile(hosts.back(), "#!/bin/sh\nprintf '" + answer + "' >&3\nexec " + then + "\n", true);
    }
    // A host found through the current directory is never started.
    fs::create_symlink(MORVANE_READER_HOST, dir / "morvane-reader-host");
    const fs::path before = fs::current_path();
    fs::current_path(dir);
    hosts.insert(hosts.end(), {dir / "absent", fs::path("morvane-reader-host")});
    for (const fs::path& host : hosts) {
        UsbReaders r(std::make_unique<ReaderHostClient>(host, dir), dir);
        RecordingMessages messages;
        EXPECT_EQ(r.ReadUSBCard(messages), "") << host;
        EXPECT_FALSE(r.reinitialize()) << host;
    }
    fs::current_path(before);
}

TEST(HostProtocol, FramesNamingNoCallRecordOrStatusAreNonsense) {
    const ReplyFrame reply =
        encodeReply({.call = HostCall::GetActiveID, .status = CallStatus::Missing});
    const RequestFrame request =
        encodeRequest({.call = HostCall::SetRecord, .record = RecordId::TimeParms});
    ASSERT_TRUE(decodeRequest(request));
    ASSERT_EQ(decodeReply(reply).value_or(HostReply{}).status, CallStatus::Missing);
    // byte 0 names the call; byte 1 the status of a reply, the record of a request
    const int cases[][3] = {
        {0, 0, 0}, {0, kLastHostCall + 1, kLastHostCall + 1}, {1, 2, kRecordCount}};
    for (const auto& [at, replyByte, requestByte] : cases) {
        ReplyFrame badReply = reply;
        RequestFrame badRequest = request;
        badReply[at] = static_cast<std::uint8_t>(replyByte);
        badRequest[at] = static_cast<std::uint8_t>(requestByte);
        EXPECT_FALSE(decodeReply(badReply) || decodeRequest(badRequest)) << at << " " << replyByte;
    }
}

// Frames may arrive in pieces either way, and the host ends when the window closes its end.
TEST_F(SimTest, FramesArriveInPiecesAndTheHostEndsWithTheChannel) {
    scenario(kCard);
    int ends[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(ends[1], kHostChannelFd);  // the only end the host keeps
        execl(MORVANE_READER_HOST, MORVANE_READER_HOST, dir.c_str(), nullptr);
        _exit(127);
    }
    close(ends[1]);
    const RequestFrame request = encodeRequest({.call = HostCall::GetDevCnt});
    ASSERT_EQ(write(ends[0], request.data(), 5), 5);
    usleep(50'000);
    ASSERT_EQ(write(ends[0], request.data() + 5, request.size() - 5), 17);
    ReplyFrame reply{};
    ASSERT_EQ(recv(ends[0], reply.data(), reply.size(), MSG_WAITALL), 20);
    EXPECT_EQ(decodeReply(reply)->result, 1);
    close(ends[0]);
    int status = -1;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    const fs::path slow = dir / "slow";
    const std::string answer = printfEscapes(
        encodeReply({.call = HostCall::SetDevTypeSrch, .sequence = 1, .result = 1}));
    writeFile(slow,
              "#!/bin/sh\nprintf '" + answer.substr(0, 12) + "' >&3\nsleep 0.1\nprintf '" +
                  answer.substr(12) + "' >&3\nexec cat <&3\n",
              true);
    EXPECT_EQ(ReaderHostClient(slow, dir).SetDevTypeSrch(0), 1);
}

TEST(PcProxLibraryLocations, VariableThenProgramFolderThenEverySystemFolder) {
    const std::string arch = MORVANE_LIBRARY_ARCHITECTURE;
    std::vector<std::filesystem::path> expected{"/srv/readers/libvendor.so",
                                                "/opt/morvane/bin/libpcprox.so"};
    for (const std::string root : {"/usr/local/lib", "/usr/lib", "/lib"}) {
        if (!arch.empty()) expected.push_back(root + "/" + arch + "/libpcprox.so");
        expected.push_back(root + "/libpcprox.so");
    }
    EXPECT_EQ(pcproxLibraryLocations("/opt/morvane/bin", "/srv/readers/libvendor.so"), expected);
    // Relative places are never searched.
    expected.erase(expected.begin(), expected.begin() + 2);
    for (const char* relative : {"libpcprox.so", "./libpcprox.so", "", "../x/libpcprox.so"}) {
        EXPECT_EQ(pcproxLibraryLocations("bin", relative), expected) << relative;
    }
}

// The variable first, then the program folder; a place that holds no loadable library is
// passed over, and the first library that loads is taken even when it lacks entry points.
TEST_F(SimTest, TheFirstLoadableLibraryInTheSearchIsTaken) {
    for (const auto& place : pcproxLibraryLocations({}, nullptr)) {
        if (fs::exists(place)) GTEST_SKIP() << "a reader library is installed";
    }
    fs::create_directories(dir / "bin");
    fs::copy_file(MORVANE_PCPROX_SIM_INCOMPLETE, dir / "bin" / "libpcprox.so");
    writeFile(dir / "junk.so", "not a library");
    for (const fs::path& variable : {dir / "absent.so", dir / "junk.so"}) {
        setenv(kPcProxLibraryVariable, variable.c_str(), 1);
        const auto found = loadPcProxLibrary(dir / "bin");
        ASSERT_NE(found, nullptr) << variable;
        EXPECT_EQ(found->entry().getActiveID, nullptr);
        EXPECT_NE(found->entry().usbConnect, nullptr);
        EXPECT_EQ(loadPcProxLibrary(dir), nullptr) << variable;
    }
    setenv(kPcProxLibraryVariable, MORVANE_PCPROX_SIM, 1);
    EXPECT_NE(loadPcProxLibrary(dir / "bin")->entry().getActiveID, nullptr);
}

TEST_F(SimTest, TheBindingPassesArgumentsAndResultsThrough) {
    scenario("device -0x1234\nreader -7\nreader 32767\nreaders 2\n");
    auto library = emulator();
    std::int32_t device = 0;
    EXPECT_EQ(library->USBConnect(device), 1);
    EXPECT_EQ(calls().front(), "# scenario line 4: readers 2 not understood");
    EXPECT_EQ(device, -0x1234);
    EXPECT_EQ(library->SetActDev(1), 1);
    EXPECT_EQ(library->ReadCfg(), 1);
    EXPECT_EQ(library->GetLUID(), 32767);
    ParameterRecord record;
    record.field = {-32768, -1, 0, 1, 2, 3, 4, 32767};
    EXPECT_EQ(library->setRecord(RecordId::IDDispParms3, record), 1);
    EXPECT_EQ(calls().back(), "SetIDDispParms3 -32768 -1 0 1 2 3 4 32767 = 1");
    EXPECT_EQ(library->SetLUID(-2), 1);
    EXPECT_EQ(library->WriteCfg(), 1);
    EXPECT_EQ(calls().back(), "WriteCfg = 1 ; reader 1 LUID -2");
}

}  // namespace
}  // namespace morvane::test
