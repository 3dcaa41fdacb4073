#include "equates/AsciiTable.h"

#include <gtest/gtest.h>

using namespace kestrix::equates;

TEST(AsciiTable, CharacterRowsPairEachCodeWithTheOneAbove128)
{
    const auto oem = characterRows(CharacterSet::Oem);
    ASSERT_EQ(oem.size(), 128u);
    EXPECT_EQ(oem[0].low.dec, "0");
    EXPECT_EQ(oem[0].low.hex, "00");
    EXPECT_EQ(oem[0].high.dec, "128");
    EXPECT_EQ(oem[0].high.hex, "80");
    EXPECT_EQ(oem[127].low.hex, "7F");
    EXPECT_EQ(oem[127].high.dec, "255");
    EXPECT_EQ(oem[127].high.hex, "FF");
    // Code page 437 glyphs on the OEM side, Windows-1252 on the ANSI side.
    EXPECT_EQ(oem[1].low.glyph, "\u263A");
    EXPECT_EQ(oem[65].low.glyph, "A");
    EXPECT_EQ(oem[0].high.glyph, "\u00C7");
    EXPECT_EQ(oem[91].high.glyph, "\u2588");
    const auto ansi = characterRows(CharacterSet::Ansi);
    EXPECT_EQ(ansi[0].high.glyph, "\u20AC");
    EXPECT_EQ(ansi[105].high.glyph, "\u00E9");
    EXPECT_EQ(ansi[65].low.glyph, "A");
}

TEST(AsciiTable, NoCellIsLeftBlank)
{
    for (CharacterSet set : {CharacterSet::Oem, CharacterSet::Ansi}) {
        for (int code = 0; code < 256; ++code) {
            const std::string glyph = characterGlyph(code, set);
            EXPECT_FALSE(glyph.empty()) << code;
            EXPECT_NE(glyph, " ") << code;
            EXPECT_GE(static_cast<unsigned char>(glyph[0]), 0x21) << code;
        }
    }
    EXPECT_EQ(characterGlyph(0, CharacterSet::Oem), "\u2400");
    EXPECT_EQ(characterGlyph(10, CharacterSet::Ansi), "\u240A");
    EXPECT_NE(characterGlyph(0x81, CharacterSet::Ansi), characterGlyph(0x80, CharacterSet::Ansi));
}

TEST(AsciiTable, ControlRowsAsTheTableGivesThem)
{
    const auto rows = controlRows();
    ASSERT_EQ(rows.size(), 33u);
    EXPECT_EQ(rows[0].hex, "00");
    EXPECT_EQ(rows[0].code, "NUL");
    EXPECT_EQ(rows[0].key, "^@");
    EXPECT_EQ(rows[9].hex, "09");
    EXPECT_EQ(rows[9].code, "HT");
    EXPECT_EQ(rows[9].key, "^I");
    EXPECT_EQ(rows[9].description, "Horizontal Tab");
    EXPECT_EQ(rows[17].description, "Device Control 1 (XON)");
    EXPECT_EQ(rows[23].description, "End of Transmission Block");
    EXPECT_EQ(rows[31].key, "^_");
    EXPECT_EQ(rows[32].hex, "20");
    EXPECT_EQ(rows[32].code, "SP");
    EXPECT_EQ(rows[32].key, "");
    EXPECT_EQ(rows[32].description, "Space");
}

TEST(AsciiTable, SearchByNumberHexOrCharacter)
{
    struct Case
    {
        const char* typed;
        CharacterSet set;
        std::optional<int> code;
    };
    const Case cases[] = {
        {"65", CharacterSet::Oem, 65},      {"7", CharacterSet::Oem, 7},
        {"41H", CharacterSet::Oem, 65},     {"0x7f", CharacterSet::Ansi, 127},
        {"ffh", CharacterSet::Ansi, 255},   {"A", CharacterSet::Oem, 65},
        {"'7'", CharacterSet::Oem, 55},     {"\u00E9", CharacterSet::Ansi, 233},
        {"\u00E9", CharacterSet::Oem, 130}, {"\u2588", CharacterSet::Oem, 219},
        {"\u2588", CharacterSet::Ansi, {}}, {"256", CharacterSet::Oem, {}},
        {"100H", CharacterSet::Oem, {}},    {"", CharacterSet::Oem, {}},
        {"abc", CharacterSet::Oem, {}},     {"'", CharacterSet::Oem, 39},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findCharacterCode(c.typed, c.set), c.code) << c.typed;
    EXPECT_EQ(characterLiteral(65), "'<65>'");
    EXPECT_EQ(characterLiteral(0), "'<0>'");
}
