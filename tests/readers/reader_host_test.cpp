// A reader library that crashes, hangs, writes past its buffer or prints costs one failed step
// and nothing more: the test process (playing the window) lives on, and the next step starts
// the host again.
#include <gtest/gtest.h>

#include "sim_fixture.h"

namespace morvane::test {
namespace {

const RecordingMessages::Box kNoData{"No Data Read from Card", "RFIDeas pcProx (CRP2) Status"};
constexpr const char* kCard = "reader 3\ncard 26 F66073\n";
constexpr const char* kProxData = "0000000475460163";

TEST_F(SimTest, ABrokenLibraryFailsOnlyTheStepItBreaks) {
    config(numberedConfig());
    enum Step { Reinitialize, Read };
    struct Case {
        const char* fault;
        Step step;
        bool found;            // Reinitialize: the reader counts as found
        const char* lastCall;  // the call log's last line after the step
    };
    for (const Case& c : {
             Case{"crash GetActiveID", Read, false, "GetActiveID crashes"},
             Case{"block GetActiveID", Read, false, "GetActiveID blocks"},
             Case{"overrun GetActiveID", Read, false, "GetActiveID writes past its buffer"},
             Case{"babble GetActiveID", Read, false, "GetActiveID 8 = 26"},
             Case{"crash USBConnect", Reinitialize, false, "USBConnect crashes"},
             Case{"overrun USBConnect", Reinitialize, false, "USBConnect writes past its buffer"},
             Case{"block ReadCfg", Reinitialize, true, "ReadCfg blocks"},
             Case{"crash SetFlags", Reinitialize, true, "SetFlags crashes"},
         }) {
        SCOPED_TRACE(c.fault);
        scenario(std::string(kCard) + c.fault + "\n");
        clearCalls();
        UsbReaders r = readers();
        RecordingMessages messages;
        if (c.step == Read) {
            const bool talks = std::string(c.fault).starts_with("babble");
            EXPECT_EQ(r.ReadUSBCard(messages), talks ? kProxData : "");
            EXPECT_EQ(messages.shown, talks ? std::vector<RecordingMessages::Box>{}
                                            : std::vector{kNoData});
        } else {
            EXPECT_EQ(r.reinitialize(), c.found);
        }
        ASSERT_FALSE(calls().empty());
        EXPECT_EQ(calls().back(), c.lastCall);

        // The library mended, the next step of either kind works again.
        scenario(kCard);
        EXPECT_TRUE(r.reinitialize());
        EXPECT_EQ(r.ReadUSBCard(messages), kProxData);
    }
}

TEST_F(SimTest, WithoutGetActiveIdTheReaderIsFoundButReadsNoCard) {
    setenv(kPcProxLibraryVariable, MORVANE_PCPROX_SIM_INCOMPLETE, 1);
    scenario(kCard);
    UsbReaders r = readers();
    EXPECT_TRUE(r.reinitialize());
    RecordingMessages messages;
    EXPECT_EQ(r.ReadUSBCard(messages), "");
    EXPECT_EQ(messages.shown, std::vector{kNoData});
}

TEST_F(SimTest, AHostThatIsMissingOrAnswersNonsenseFindsNoReader) {
    scenario(kCard);
    const fs::path talker = dir / "talker";
    writeFile(talker, "#!/bin/sh\nprintf 'nonsense-answers' >&3\nexec sleep 60\n");
    fs::permissions(talker, fs::perms::owner_all);
    for (const fs::path& host : {talker, dir / "absent"}) {
        UsbReaders r(std::make_unique<ReaderHostClient>(host, dir), dir);
        EXPECT_FALSE(r.reinitialize()) << host;
        RecordingMessages messages;
        EXPECT_EQ(r.ReadUSBCard(messages), "") << host;
    }
}

}  // namespace
}  // namespace morvane::test
