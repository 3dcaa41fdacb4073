#include "runtime/FixedText.h"
#include "runtime/Record.h"
#include "runtime/TextCodec.h"

#include <gtest/gtest.h>

using namespace kestrix::runtime;

TEST(TextCodec, RoundTripsEveryDefinedWindows1252Byte)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

TEST(TextCodec, MapsTheHighControlRangeToTheirUnicodeCharacters)
{
    EXPECT_EQ(cp1252ToUtf8("\x80"), "\u20AC");
    EXPECT_EQ(cp1252ToUtf8("\x93quoted\x94"), "\u201Cquoted\u201D");
    EXPECT_EQ(cp1252ToUtf8("caf\xE9"), "caf\u00E9");
    EXPECT_EQ(utf8ToCp1252("\u2122"), "\x99");
}

TEST(TextCodec, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    EXPECT_EQ(utf8ToCp1252("a\u4E2Db"), "a?b");
    EXPECT_EQ(utf8ToCp1252("\xF0\x9F\x98\x80"), "?");
    EXPECT_EQ(utf8ToCp1252("x\xC3"), "x?"); // cut short
    EXPECT_EQ(utf8ToCp1252("\x80y"), "?y"); // stray continuation
}

TEST(FixedText, CutsToLengthAndComparesWithoutTrailingBlanks)
{
    EXPECT_EQ(fitted("abcdef", 4), "abcd");
    EXPECT_EQ(fitted("ab    ", 10), "ab");
    EXPECT_EQ(fitted("ab   x", 4), "ab");
    EXPECT_TRUE(sameText("Btn#", "Btn#   "));
    EXPECT_FALSE(sameText("Btn#", " Btn#"));
    EXPECT_TRUE(sameTextNoCase("LibSrc", "LIBSRC  "));
    EXPECT_TRUE(sameTextNoCase("\xE9t\xE9", "\xC9T\xC9"));
    EXPECT_TRUE(isBlank("   "));
}

TEST(FixedText, CaseMappingKnowsTheAccentedLettersButNotTheSigns)
{
    EXPECT_EQ(upper("stra\xDF"
                    "e \xE0\xFF"),
              "STRA\xDF"
              "E \xC0\x9F");
    EXPECT_EQ(lower("\xC0\xD7\xDE"), "\xE0\xD7\xFE");         // 0xD7 is the multiplication sign
    EXPECT_EQ(upper("\x9A\x9C\x9E\xF7"), "\x8A\x8C\x8E\xF7"); // š œ ž keep their pairs; ÷ is a sign
    EXPECT_EQ(lower("\x8A\x8C\x8E\x9F"), "\x9A\x9C\x9E\xFF");
    // Each letter comes back from its other case; a byte with no other case is left alone both ways.
    for (int u = 0; u < 256; ++u) {
        const char c = static_cast<char>(u);
        if (upperChar(c) != c) {
            EXPECT_EQ(lowerChar(upperChar(c)), c) << "byte " << u;
        }
        if (lowerChar(c) != c) {
            EXPECT_EQ(upperChar(lowerChar(c)), c) << "byte " << u;
        }
    }
}

TEST(FixedText, WordsAreFoundInAnyCaseWithoutACopy)
{
    const std::string line = "Block1 itemize(1),Pre(blk1) ! \xE9t\xE9 equate";
    EXPECT_EQ(findNoCase(line, "ITEMIZE"), upper(line).find("ITEMIZE"));
    EXPECT_EQ(findNoCase(line, "PRE("), upper(line).find("PRE("));
    EXPECT_EQ(findNoCase(line, "EQUATE", 20), upper(line).find("EQUATE", 20));
    EXPECT_EQ(findNoCase(line, "\xC9T\xC9"), upper(line).find("\xC9T\xC9")); // accented letters too
    EXPECT_EQ(findNoCase(line, "ITEMIZE", 10), std::string::npos);
    EXPECT_EQ(findNoCase(line, "ITEMIZE", line.size() + 1), std::string::npos);
    EXPECT_EQ(findNoCase("", "A"), std::string::npos);
    EXPECT_TRUE(startsWithNoCase("itemize(1)", "ITEMIZE"));
    EXPECT_FALSE(startsWithNoCase("itemiz", "ITEMIZE"));
    EXPECT_FALSE(startsWithNoCase(" ITEMIZE", "ITEMIZE"));
}

TEST(Record, StringsAreCutAndNumbersWrapToTheirDeclaredWidth)
{
    auto layout = std::make_shared<RecordLayout>("T");
    const int name = layout->addString("NAME", 5);
    const int flag = layout->addNumber("FLAG", FieldType::Byte);
    const int count = layout->addNumber("COUNT", FieldType::Short);
    const int list = layout->addString("LIST", 3, 4);
    Record r(layout);
    r.setText(name, "abcdefgh");
    r.setNumber(flag, 257);
    r.setNumber(count, 40000);
    r.setText(list, "xyz  ", 4);
    EXPECT_EQ(r.text(name), "abcde");
    EXPECT_EQ(r.number(flag), 1);
    EXPECT_EQ(r.number(count), 40000 - 65536);
    EXPECT_EQ(r.text(list, 4), "xyz");
    EXPECT_EQ(r.text(list, 1), "");
    EXPECT_THROW(r.text(list, 5), std::out_of_range);
    EXPECT_EQ(layout->fieldIndex("t:list"), list);
    EXPECT_EQ(layout->columnName(list, 2), "LIST_2");
}
