#include "utilities/StringBuilderCleanup.h"
#include "utilities/StringBuilder.h"

#include <gtest/gtest.h>

#include <random>

using namespace kestrix::utilities;

TEST(StringBuilderClean, EachMenuItemEditsTheText)
{
    const std::string text = "  Two\tcolumns \r\nand  caf\xe9\x01 end\n";
    EXPECT_EQ(cleanText(text, CleanAction::RemoveReturns), "  Two\tcolumns  and  caf\xe9\x01 end");
    EXPECT_EQ(cleanText(text, CleanAction::RemoveTabs), "  Two columns \r\nand  caf\xe9\x01 end\n");
    EXPECT_EQ(cleanText(text, CleanAction::RemoveExtraSpaces), "Two\tcolumns \r\nand caf\xe9\x01 end\n");
    EXPECT_EQ(cleanText(text, CleanAction::RemoveNonAscii), "  Two columns \r\nand  caf   end\n");
    EXPECT_EQ(returnsAtBreaks({"A long line that ", "wrapped", "", "end"}),
              "A long line that\r\nwrapped\r\n\r\nend");
    EXPECT_FALSE(textTooLong(std::string(StringTextSize, 'x')));
    const auto refusal = textTooLong(std::string(StringTextSize + 2, 'x'));
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->text, "The text holds at most 3000 characters, not 3002.");
}

TEST(StringBuilderClean, DraggedFieldsBecomeBraceExpressions)
{
    const kestrix::config::DraggedFieldList fields{
        {"CUS:Name", "STRING(30)", ""}, {"CUS:Since", "LONG", "@d6"}, {"CUS:Count", "SHORT", ""}};
    EXPECT_EQ(draggedFieldInserts(fields), "{CUS:Name}{FORMAT(CUS:Since,@d6)}{CLIP(CUS:Count)}");
}

TEST(StringBuilderDecompile, QuotedPartsAreDecodedAndCodeComesBackInBraces)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"Msg = 'It''s 5 << 6'", "It's 5 < 6"},
        {"'Total: '&CLIP(Amt)", "Total: {CLIP(Amt)}"},
        {"STOP('line one' &|\r\n'<13,10>line two' )", "line one\r\nline two"},
        {"HALT(0,'x' )", "x"},
        {"0{PROP:Text} = 'Hi'", "Hi"},
        {"MESSAGE(CLIP(Name)&' is '&Age&' years' )", "{CLIP(Name)} is {Age} years"},
        {"'a<9,9>b<9>c<9,9,9>'", "a\t\tb\tc\t\t\t"},
        {"'{{x} <<y> <13,10>'", "{x} <y> \r\n"},
        {"Msg = 'a'&FORMAT(D,'@d6')&'b'", "a{FORMAT(D,'@d6')}b"},
        {"Msg =  |\r\n    'Hello' &|\r\n    ' world'", "Hello world"},
        {"Msg = 'a'&X&Y&'b'", "a{X}{Y}b"},
    };
    for (const auto& [code, text] : cases) {
        const DecompiledString result = decompileString(code);
        EXPECT_FALSE(result.failure) << code;
        EXPECT_EQ(result.text, text) << code;
    }
    const DecompiledString none = decompileString("CLIP(Name) & Other");
    ASSERT_TRUE(none.failure);
    EXPECT_EQ(none.failure->caption, "NO STRING FOUND");
    EXPECT_EQ(none.text, "");
}

namespace {

// Text the generator writes whole: no braces of its own, breaks as CR LF, no trailing blanks.
std::string randomText(std::mt19937& rng)
{
    static const std::string letters = "abcXYZ 019'<>|&!\t,.()=\xe9";
    std::string text;
    const int pieces = std::uniform_int_distribution<int>(0, 40)(rng);
    for (int p = 0; p < pieces; ++p) {
        const int kind = std::uniform_int_distribution<int>(0, 9)(rng);
        if (kind == 0)
            text += "\r\n";
        else if (kind == 1)
            text += "{CLIP(F" + std::to_string(p) + ")}";
        else
            text += letters[std::uniform_int_distribution<std::size_t>(0, letters.size() - 1)(rng)];
    }
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32)
        text.pop_back();
    return text;
}

} // namespace

TEST(StringBuilderDecompile, GenerateThenDecompileGivesTheTextBack)
{
    std::mt19937 rng(19);
    const std::vector<std::string> variables{"Msg", "STOP(", "HALT(0,", "MESSAGE(", "?{PROP:Text}", ""};
    for (int round = 0; round < 3000; ++round) {
        StringSettings s;
        s.variable = variables[static_cast<std::size_t>(round) % variables.size()];
        acceptVariable(s);
        s.enter = true; // without it line breaks are not written
        s.indent = std::uniform_int_distribution<int>(0, 20)(rng);
        s.nest = std::uniform_int_distribution<int>(0, 6)(rng);
        s.end = std::uniform_int_distribution<int>(20, 99)(rng);
        const std::string text = randomText(rng);
        const StringCode code = buildString(text, s);
        ASSERT_FALSE(code.failure);
        std::string clipboard;
        for (const std::string& line : code.lines)
            clipboard += (clipboard.empty() ? "" : "\r\n") + line;
        if (clipboard.find('\'') == std::string::npos)
            continue; // code alone is no string to read back
        const DecompiledString back = decompileString(clipboard);
        ASSERT_FALSE(back.failure) << clipboard;
        ASSERT_EQ(back.text, text) << clipboard;
    }
}
