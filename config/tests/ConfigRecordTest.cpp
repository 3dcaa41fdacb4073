#include "config/ConfigRecord.h"

#include <gtest/gtest.h>

using namespace kestrix::config;
using kestrix::runtime::FontSpec;

TEST(ConfigRecord, ANewRecordHoldsTheDefaults)
{
    const auto r = defaultConfig();
    EXPECT_EQ(r.text(Cfg::CwPath), "");
    EXPECT_EQ(r.number(Cfg::Indent), 0);
    EXPECT_EQ(r.number(Cfg::NestIndent), 3);
    EXPECT_EQ(r.number(Cfg::EndComment), 1);
    EXPECT_EQ(r.number(Cfg::LowerCase), 0);
    EXPECT_EQ(r.text(Cfg::Editor), "Notepad");
    EXPECT_EQ(r.number(Cfg::PlayDefaultSound), 1);
    EXPECT_EQ(r.number(Cfg::DefaultAlways), 1);
    EXPECT_EQ(r.number(Cfg::AlwaysCancel), 0);
    EXPECT_EQ(r.text(Cfg::Btn), "Btn#");
    EXPECT_EQ(r.text(Cfg::RenameFixVariable), "GLO:FIXBTN");
    EXPECT_EQ(r.text(Cfg::RenameFixFile), "FIXBTN.ENV");
    EXPECT_EQ(r.text(Cfg::StreamV), "StrmCnt#");
    EXPECT_EQ(r.number(Cfg::StreamRecords), 100);
    EXPECT_EQ(r.text(Cfg::YieldV), "YldCnt#");
    EXPECT_EQ(r.number(Cfg::YieldRecords), 25);
    EXPECT_EQ(r.number(Cfg::FieldWidth), 20);
    EXPECT_EQ(r.number(Cfg::NoteColor), 6);
    EXPECT_STREQ(noteColorName(6), "Yellow");
    EXPECT_EQ(noteFont(r), (FontSpec{"Default", 8, 0, 0}));
    for (int row = 1; row <= 10; ++row)
        EXPECT_EQ(fontOf(r, row), (FontSpec{"Default", 8, 0, 0}));
    EXPECT_EQ(tabCharacter(r), '`');
}

TEST(ConfigRecord, TheTabCharacterIsNeverBlankAQuoteADigitOrALetter)
{
    for (const char bad : {' ', '\'', '5', '0', 'q', 'Q', '\xE9', '\xC9'})
        EXPECT_EQ(fixedTabCharacter(bad), '`') << static_cast<int>(bad);
    for (const char good : {'~', '^', '\xA7', '|'})
        EXPECT_EQ(fixedTabCharacter(good), good);
    auto r = defaultConfig();
    r.setText(Cfg::FutString, "");
    normalizeConfig(r);
    EXPECT_EQ(r.text(Cfg::FutString, 1), "`");
    setTabCharacter(r, '~');
    EXPECT_EQ(tabCharacter(r), '~');
}

TEST(ConfigRecord, FontDescriptionsNameSizeAndStyle)
{
    EXPECT_EQ(fontDescription({"Default", 8, 0, 0}), "Default, 8");
    EXPECT_EQ(fontDescription({"Fixedsys", 9, 0, 400}), "Fixedsys, 9");
    EXPECT_EQ(fontDescription({"Arial", 10, 0, 700}), "Arial, 10, Bold");
    EXPECT_EQ(fontDescription({"Arial", 10, 0, 400 | 0x1000}), "Arial, 10, Italic");
    EXPECT_FALSE(hasCustomFont({"default", 8, 0, 0}));
    EXPECT_FALSE(hasCustomFont({"", 8, 0, 0}));
    EXPECT_TRUE(hasCustomFont({"Fixedsys", 9, 0, 400}));
}
