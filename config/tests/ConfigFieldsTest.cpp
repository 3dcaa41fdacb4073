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
    EXPECT_TRUE(applyConfigAssignment(r, "BTN=A_Much_Longer_Name").ok);
    EXPECT_EQ(r.text(Cfg::Btn), "A_Much_Longe"); // cut to its 12 characters

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
