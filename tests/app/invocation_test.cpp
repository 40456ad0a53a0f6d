#include "app/invocation.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(Invocation, ReadsFieldsByPositionWithCaseFreeKeys) {
    const struct {
        const char* clipboard;
        bool present, usable, proxDataOnly;
        std::int16_t facility;
        const char* cardFormat;
        bool qrv;
    } cases[] = {
        {"FC=123;CF=26;QRVF=F", true, true, false, 123, "26", false},
        {"fc=7;cf=35v;qrvf=T", true, true, false, 7, "35v", true},
        {"FC=7;CF=26;QRVF=T;", true, true, false, 7, "26", false},
        {"CF=26;FC=7;QRVF=F", true, true, true, 0, "26", false},
        {" FC=7;CF=26;QRVF=F", true, true, true, 0, "26", false},
        {"FC=13.5;CF=;QRVF=F", true, true, false, 14, "26", false},
        {"FC=-32768;CF=Casi;QRVF=F", true, true, false, -32768, "Casi", false},
        {"FC=32767.5;CF=C;QRVF=F", true, true, false, 0, "C", false},
        {"FC=0x10;CF= 26;QRVF=F", true, true, false, 0, " 26", false},
        {"FC=;C;QRVF=", true, true, false, 0, "26", false},
        {"QRVF=T", true, false, true, 0, "26", false},
        {"FC=1;QRVF=T", true, false, false, 0, "26", false},
        {"FC=1;CF=26", false, false, false, 0, "26", false},
        {"QRVF", false, false, false, 0, "26", false},
        {"OK;0000000475460163;FC=123;CF=37;QRVF=T", false, false, false, 0, "26", false},
        {"OKAY;CF=34;QRVF=F", true, true, true, 0, "34", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clipboard);
        const Invocation inv = readInvocation(c.clipboard);
        EXPECT_EQ(inv.present, c.present);
        EXPECT_EQ(inv.usable, c.usable);
        EXPECT_EQ(inv.proxDataOnly, c.proxDataOnly);
        EXPECT_EQ(ParseForFacilityCode(inv.facilityField), c.facility);
        EXPECT_EQ(ParseForCardFormat(inv.cardFormatField), c.cardFormat);
        EXPECT_EQ(ParseForQRVFormatFlag(inv.flagField), c.qrv);
    }
}

TEST(Invocation, FlagNeedsExactlySixCharactersAndAnUpperCaseT) {
    for (const char* flag : {"QRVF=T", "qrvf?T"}) EXPECT_TRUE(ParseForQRVFormatFlag(flag)) << flag;
    for (const char* flag : {"QRVF=T ", "QRVF=t", "XRVF=T", "QRVFT"}) {
        EXPECT_FALSE(ParseForQRVFormatFlag(flag)) << flag;
    }
}

TEST(ResultString, JoinsTheFieldsOrGivesTheBareProxData) {
    ResultFields f{"0000000475400002", -5, "37", true, false};
    EXPECT_EQ(okResultString(f), "OK;0000000475400002;FC=-5;CF=37;QRVF=T");
    f.proxData = "";
    f.qrvFormat = false;
    EXPECT_EQ(okResultString(f), "OK;Invalid;FC=-5;CF=37;QRVF=F");
    f.proxDataOnly = true;
    EXPECT_EQ(okResultString(f), "Invalid");
}

}  // namespace
}  // namespace morvane
