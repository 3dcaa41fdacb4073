#include "utilities/StringBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kestrix::utilities;

namespace {

using Lines = std::vector<std::string>;

StringSettings settings(std::string variable, int indent = 0, int nest = 0, int end = 80)
{
    StringSettings s;
    s.variable = std::move(variable);
    acceptVariable(s);
    s.indent = indent;
    s.nest = nest;
    s.end = end;
    return s;
}

Lines build(const std::string& text, const StringSettings& s)
{
    const StringCode code = buildString(text, s);
    EXPECT_FALSE(code.failure) << text;
    EXPECT_EQ(code.dropped, 0u) << text;
    return code.lines;
}

} // namespace

TEST(StringBuilder, QuotingDoublingAndTheEndRules)
{
    EXPECT_EQ(build("It's 5 < 6", settings("Msg")), Lines{"Msg = 'It''s 5 << 6'"});
    EXPECT_EQ(build("", settings("Msg")), Lines{"Msg = ''"});
    EXPECT_EQ(build("Total: {CLIP(Amt)}", settings("")), Lines{"'Total: '&CLIP(Amt)"});
    EXPECT_EQ(build("{X}", settings("Msg")), Lines{"Msg = X"});
    EXPECT_EQ(build("{CLIP(A)}{B} and {}", settings("Msg")), Lines{"Msg = CLIP(A)&B&' and '"});
    // Trailing blanks and control characters are ignored; others become their character codes.
    EXPECT_EQ(build("a\tb \r\n\t ", settings("Msg")), Lines{"Msg = 'a<9>b'"});
    EXPECT_EQ(build("{{{{{{{{{{x}}}}}}}}}}", settings("Msg")), Lines{"Msg = {{{{{{{{{x}}}}}}}}}"});
}

TEST(StringBuilder, VariableAcceptedSetsCallModeAndEnter)
{
    StringSettings s = settings("STOP(");
    EXPECT_TRUE(s.callMode);
    EXPECT_TRUE(s.enter);
    EXPECT_TRUE(settings("halt(0,").enter);
    EXPECT_FALSE(settings("MESSAGE(").enter);
    EXPECT_TRUE(settings("MESSAGE(").callMode);
    s.variable = "Msg";
    acceptVariable(s);
    EXPECT_FALSE(s.callMode);
    EXPECT_FALSE(s.enter);

    EXPECT_EQ(build("line one\r\nline two", settings("STOP(")),
              (Lines{"STOP('line one' &|", "'<13,10>line two' )"}));
    EXPECT_EQ(build("x", settings("HALT(0,")), Lines{"HALT(0,'x' )"});
    EXPECT_EQ(build("", settings("MESSAGE(")), Lines{"MESSAGE('' )"});
}

TEST(StringBuilder, LineBreaksWithAndWithoutEnter)
{
    StringSettings enter = settings("Msg");
    enter.enter = true;
    EXPECT_EQ(build("a\r\n\r\nb", enter), (Lines{"Msg = 'a' &|", "'<13,10>' &|", "'<13,10>b'"}));
    EXPECT_EQ(build("a\n\nb", settings("Msg")), (Lines{"Msg = 'a' &|", "'b'"}));
    EXPECT_EQ(build("a\rb", settings("Msg")), (Lines{"Msg = 'a' &|", "'b'"}));
    EXPECT_EQ(build("{X}\nb", settings("Msg")), (Lines{"Msg = X& |", "'b'"}));
    // A first line holding the Variable part is not blank: the Variable is never dropped.
    EXPECT_EQ(build("\r\nHello", settings("Msg")), (Lines{"Msg =  |", "'Hello'"}));
    EXPECT_EQ(build("\r\nHello", enter), (Lines{"Msg =  |", "'<13,10>Hello'"}));
    EXPECT_EQ(build("\nHello", settings("")), Lines{"'Hello'"});
}

TEST(StringBuilder, WrapsAtEndMinusNineAfterTheBlankAndAtEnd)
{
    EXPECT_EQ(build("aaaa bbbb cccc dddd eeee ffff gggg", settings("Msg", 3, 2, 30)),
              (Lines{"  Msg = 'aaaa bbbb cccc ' &|", "      'dddd eeee ffff ' &|", "      'gggg'"}));
    // End 20: the blank that makes the line 12 long (above 11) wraps; at 11 it does not.
    EXPECT_EQ(build("abcdefghi j", settings("", 0, 0, 20)), Lines{"'abcdefghi j'"});
    EXPECT_EQ(build("abcdefghij k", settings("", 0, 0, 20)), (Lines{"'abcdefghij ' &|", "'k'"}));
    // Beyond End inside a word; a wrap just before the end leaves an empty string.
    EXPECT_EQ(build("abcdefghij", settings("", 0, 0, 10)), (Lines{"'abcdefghij' &|", "''"}));
    EXPECT_EQ(build("abcdefghijklmnop", settings("", 0, 0, 10)), (Lines{"'abcdefghij' &|", "'klmnop'"}));
}

TEST(StringBuilder, AnExpressionFitsWhenBelowEndMinusOne)
{
    // "Msg = " is 6 long; with End 20 an expression fits when 6 + its length < 19.
    EXPECT_EQ(build("{ABCDEFGHIJKL}", settings("Msg", 0, 0, 20)), Lines{"Msg = ABCDEFGHIJKL"});
    EXPECT_EQ(build("{ABCDEFGHIJKLM}", settings("Msg", 0, 0, 20)), (Lines{"Msg = |", "ABCDEFGHIJKLM"}));
    EXPECT_EQ(build("Hi {ABCDEFGHIJKLMNOP}!", settings("Msg", 3, 2, 30)),
              (Lines{"  Msg = 'Hi '&|", "      ABCDEFGHIJKLMNOP&'!'"}));
}

TEST(StringBuilder, UnbalancedBracesAreRefused)
{
    for (const std::string text : {"a {b", "a } b {", "}{", "{{x}", "x}"}) {
        const StringCode code = buildString(text, settings("Msg"));
        ASSERT_TRUE(code.failure) << text;
        EXPECT_EQ(code.failure->caption, "INVALID MESSAGE TEXT");
        EXPECT_EQ(code.failure->text,
                  "The message text has unbalanced curly braces.|You must have the same number of { as }.");
        EXPECT_EQ(code.lines, Lines{"Unbalanced Curly Braces"});
    }
}

TEST(StringBuilder, NoLineIsLongerThanTheLineBuffer)
{
    // 3,000 characters of one word wrap at End, every line whole.
    const std::string word(StringTextSize, 'w');
    const Lines lines = build(word, settings("Msg"));
    std::string rebuilt;
    for (const std::string& line : lines) {
        EXPECT_LE(line.size(), 80u + 1u + 4u); // one past End, then "' &|"
        const std::size_t open = line.find('\'');
        const std::size_t close = line.find('\'', open + 1);
        rebuilt += line.substr(open + 1, close - open - 1);
    }
    EXPECT_EQ(rebuilt, word);

    // End below Indent + Nest: one character per line, and nothing longer than the buffer.
    const StringCode narrow = buildString(std::string(500, 'x') + " y", settings("Msg", 20, 10, 15));
    EXPECT_FALSE(narrow.failure);
    EXPECT_EQ(narrow.lines.size(), 503u);
    EXPECT_EQ(narrow.lines[1], std::string(39, ' ') + "'x' &|");

    // What a line cannot hold is counted, never written past the buffer.
    for (const StringSettings& s : {settings("Msg", 99, 99, 99), settings("Msg")}) {
        const StringCode code = buildString("ab {" + std::string(300, 'A') + "} c", s);
        EXPECT_GT(code.dropped, 0u);
        for (const std::string& line : code.lines)
            EXPECT_LE(line.size(), StringLineLimit);
    }
}
