#include "config/ConfigFields.h"
#include "config/ConfigRecord.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kestrix::config;

namespace {
std::string valueOf(const kestrix::runtime::Record& r, const std::string& name)
{
    for (const auto& [n, v] : configValues(r)) {
        if (n == name)
            return v;
    }
    return "<missing>";
}
} // namespace

TEST(ConfigFields, EveryFieldIsListedByItsRecordName)
{
    const auto values = configValues(defaultConfig());
    // 26 single fields, arrays of 20 + 4x10 + 3x10 elements, ACROBAT, plus TABCHAR.
    EXPECT_EQ(values.size(), 14u + 5 + 6 + 20 + 40 + 30 + 1 + 1);
    EXPECT_EQ(values.front(), (std::pair<std::string, std::string>{"CWPATH", ""}));
    EXPECT_EQ(valueOf(defaultConfig(), "NESTINDENT"), "3");
    EXPECT_EQ(valueOf(defaultConfig(), "BTN"), "Btn#");
    EXPECT_EQ(valueOf(defaultConfig(), "DCT:STREAMV"), "StrmCnt#");
    EXPECT_EQ(valueOf(defaultConfig(), "LOOK:FONT[1]"), "Default");
    EXPECT_EQ(valueOf(defaultConfig(), "LOOK:BOLD[20]"), "0");
    EXPECT_EQ(values.back(), (std::pair<std::string, std::string>{"TABCHAR", "`"}));
}

TEST(ConfigFields, AssignmentsPassTheWindowsChecks)
{
    auto r = defaultConfig();
    EXPECT_TRUE(applyConfigAssignment(r, "indent=12").ok);
    EXPECT_EQ(r.number(Cfg::Indent), 12);
    EXPECT_TRUE(applyConfigAssignment(r, "LOOK:FONT[3]=Courier New").ok);
    EXPECT_EQ(r.text(Cfg::LookFont, 3), "Courier New");
    EXPECT_TRUE(applyConfigAssignment(r, "TABCHAR=7").ok);
    EXPECT_EQ(tabCharacter(r), '`');
    EXPECT_EQ(applyConfigAssignment(r, "BTN=A_Much_Longer_Name").error,
              "CFG:BTN holds at most 12 characters, not 18.");
    EXPECT_EQ(r.text(Cfg::Btn), "Btn#"); // refused whole, never cut

    const auto before = r;
    const auto range = applyConfigAssignment(r, "NESTINDENT=11");
    ASSERT_TRUE(range.refusal);
    EXPECT_EQ(range.refusal->text, "The value of Nest Indent must be between 1 and 10.");
    EXPECT_FALSE(applyConfigAssignment(r, "CWPATH=no\\such\\place").ok);
    EXPECT_FALSE(applyConfigAssignment(r, "INDENT=abc").ok);
    EXPECT_FALSE(applyConfigAssignment(r, "NOSUCH=1").ok);
    EXPECT_FALSE(applyConfigAssignment(r, "LOOK:FONT[11]=x").ok);
    EXPECT_FALSE(applyConfigAssignment(r, "INDENT").ok);
    EXPECT_TRUE(r.sameValues(before));
}

TEST(ConfigFields, ValuesThatTheFieldCannotHoldAreRefusedWithItsSizeOrRange)
{
    kestrix::runtime::Record r = defaultConfig();
    const auto before = r;
    const std::pair<const char*, const char*> refused[] = {
        {"ENDCOMMENT=256", "CFG:ENDCOMMENT takes a number from 0 to 255, not 256."},
        {"ENDCOMMENT=-1", "CFG:ENDCOMMENT takes a number from 0 to 255, not -1."},
        {"NOTE:FONTSIZE=2147483648",
         "CFG:NOTE:FONTSIZE takes a number from -2147483648 to 2147483647, not 2147483648."},
        {"LOOK:FONT[4294967297]=x", "LOOK:FONT has elements 1 to 10"},
        {"LOOK:FONTSIZE[2]=99999999999999999999",
         "CFG:LOOK:FONTSIZE[2] takes a number: 99999999999999999999"},
        {"EDITOR=a\nCWPATH=/evil", "CFG:EDITOR cannot hold the control character 10."},
        {"NOTE:FONT=tab\there", "CFG:NOTE:FONT cannot hold the control character 9."},
        {"TABCHAR=~~", "TABCHAR holds one character, not 2."},
    };
    for (const auto& [assignment, why] : refused) {
        const AssignmentResult result = applyConfigAssignment(r, assignment);
        EXPECT_FALSE(result.ok) << assignment;
        EXPECT_EQ(result.error, why) << assignment;
    }
    EXPECT_TRUE(r.sameValues(before));
    EXPECT_TRUE(applyConfigAssignment(r, "NOTE:FONTSIZE=2147483647").ok);
    EXPECT_TRUE(applyConfigAssignment(r, "ENDCOMMENT=255").ok);
}
