#include "app/invocation.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

struct StartCase {
    const char* clipboard;
    bool present;
    bool usable;
    bool proxDataOnly;
    std::int16_t facility;  // as the start-up sequence reads field 1
    const char* cardFormat;
    bool qrv;
};

// What a calling program may leave on the clipboard, and what start-up makes of it.
constexpr StartCase kStartCases[] = {
    {"FC=123;CF=26;QRVF=F", true, true, false, 123, "26", false},
    {"fc=7;cf=35V;qrvf=T", true, true, false, 7, "35V", true},
    {"FC=7;CF=26;QRVF=t", true, true, false, 7, "26", false},
    {"FC=7;CF=26;QRVF=T;", true, true, false, 7, "26", false},
    {"FC=7;CF=26;QRVF=T;X=1", true, true, false, 7, "26", false},
    {"FC=7;CF=35v;QRVF=F", true, true, false, 7, "35v", false},
    {"CF=26;FC=7;QRVF=F", true, true, true, 0, "26", false},
    {" FC=7;CF=26;QRVF=F", true, true, true, 0, "26", false},
    {"AFC=7;CF=26;QRVF=F", true, true, true, 0, "26", false},
    {"FC=12.5;CF=26;QRVF=F", true, true, false, 12, "26", false},
    {"FC=13.5;CF=26;QRVF=F", true, true, false, 14, "26", false},
    {"FC=;CF=;QRVF=F", true, true, false, 0, "26", false},
    {"FC=-5;CF=Casi;QRVF=F", true, true, false, -5, "Casi", false},
    {"FC=-32768;CF=26;QRVF=F", true, true, false, -32768, "26", false},
    {"FC=40000;CF=26;QRVF=F", true, true, false, 0, "26", false},
    {"FC=32767.5;CF=26;QRVF=F", true, true, false, 0, "26", false},
    {"FC=1e300;CF=26;QRVF=F", true, true, false, 0, "26", false},
    {"FC=0x10;CF= 26;QRVF=F", true, true, false, 0, " 26", false},
    {"FC= 12 ;CF=Proxif;QRVF=T", true, true, false, 12, "Proxif", true},
    {"FC=1;CF=26;qrvf=", true, true, false, 1, "26", false},
};

TEST(Invocation, ReadsFieldsByPositionWithCaseFreeKeys) {
    for (const StartCase& c : kStartCases) {
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

TEST(Invocation, NeedsQrvfAndTwoSemicolons) {
    for (const char* text : {"", "hello", "FC=1;CF=26", "QRV=T;;", "QRVF"}) {
        EXPECT_FALSE(readInvocation(text).present) << text;
    }
    const Invocation alone = readInvocation("QRVF=T");
    EXPECT_TRUE(alone.present);
    EXPECT_FALSE(alone.usable);
    EXPECT_TRUE(alone.proxDataOnly);
    const Invocation one = readInvocation("FC=1;QRVF=T");
    EXPECT_TRUE(one.present);
    EXPECT_FALSE(one.usable);
    EXPECT_FALSE(one.proxDataOnly);
}

TEST(Invocation, FlagNeedsExactlySixCharactersAndAnUpperCaseT) {
    EXPECT_TRUE(ParseForQRVFormatFlag("QRVF=T"));
    EXPECT_TRUE(ParseForQRVFormatFlag("qrvf?T"));
    EXPECT_TRUE(ParseForQRVFormatFlag("QRVFxT"));
    EXPECT_FALSE(ParseForQRVFormatFlag("QRVF=T "));
    EXPECT_FALSE(ParseForQRVFormatFlag("QRVF=t"));
    EXPECT_FALSE(ParseForQRVFormatFlag("XRVF=T"));
    EXPECT_FALSE(ParseForQRVFormatFlag(""));
}

TEST(ResultString, JoinsTheFieldsOrGivesTheBareProxData) {
    ResultFields f{"0000000475400002", 123, "26", false, false};
    EXPECT_EQ(okResultString(f), "OK;0000000475400002;FC=123;CF=26;QRVF=F");
    f.qrvFormat = true;
    f.facilityCode = -5;
    f.cardFormat = "37";
    EXPECT_EQ(okResultString(f), "OK;0000000475400002;FC=-5;CF=37;QRVF=T");
    f.proxDataOnly = true;
    EXPECT_EQ(okResultString(f), "0000000475400002");
    f.proxData = "????????????????";
    EXPECT_EQ(okResultString(f), "????????????????");
}

TEST(ResultString, ReportsAnEmptyProxDataBoxAsInvalid) {
    ResultFields f{"", 0, "37", false, false};
    EXPECT_EQ(okResultString(f), "OK;Invalid;FC=0;CF=37;QRVF=F");
    f.proxDataOnly = true;
    EXPECT_EQ(okResultString(f), "Invalid");
}

}  // namespace
}  // namespace morvane
