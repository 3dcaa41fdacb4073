#include "message/MessageGenerator.h"
#include "MessageTestSupport.h"

#include <gtest/gtest.h>

using namespace kestrix::message;
using kestrix::runtime::Record;
using Lines = std::vector<std::string>;

namespace {

Lines generate(const Record& r, GeneratorSettings s = {})
{
    return MessageGenerator(s).generate(r).lines;
}

} // namespace

TEST(MessageGenerator, TheTypicalCaseStatement)
{
    Record r = testMessage("Delete this record?|It cannot be undone.", {"Yes", "No"}, "Case");
    r.setText(Mes::Caption, "Confirm");
    r.setText(Mes::Icon, "Question");
    r.setText(Mes::Default, "No");
    GeneratorSettings s;
    s.initialIndent = 3;
    s.nestIndent = 2;
    EXPECT_EQ(generate(r, s),
              (Lines{"  CASE MESSAGE('Delete this record?'&|", "      '|It cannot be undone.', |",
                     "      'Confirm', ICON:Question, |", "       BUTTON:Yes+BUTTON:No, BUTTON:No, 0)",
                     "  OF BUTTON:Yes", "  OF BUTTON:No", "  END !CASE"}));
}

TEST(MessageGenerator, ShortFormEndsAfterTheIcon)
{
    Record r = testMessage("Saved.");
    r.setText(Mes::Caption, "Done");
    r.setText(Mes::Icon, "Asterisk");
    EXPECT_EQ(generate(r), (Lines{"MESSAGE('Saved.', |", "     'Done', ICON:Asterisk)"}));
    r.setText(Mes::Caption, "");
    r.setText(Mes::Icon, "None");
    EXPECT_EQ(generate(r)[1], "     , )"); // a blank caption leaves its argument empty
}

TEST(MessageGenerator, LineBreaksOfTheText)
{
    struct Case
    {
        const char* text;
        Lines lines;
    };
    const Case cases[] = {
        {"a|b", {"MESSAGE('a'&|", "     '|b', |"}},
        {"a||b", {"MESSAGE('a'&|", "     '||b', |"}},
        {"a\r\nb", {"MESSAGE('a'&|", "     '|b', |"}},
        {"a\r\n\r\nb", {"MESSAGE('a'&|", "     '||b', |"}},
        {"Total: {Cnt}", {"MESSAGE('Total: '&Cnt, |"}},
        {"a{}b", {"MESSAGE('ab', |"}},
        {"a{ }b", {"MESSAGE('a'& &'b', |"}},
        {"Can't <stop> & go", {"MESSAGE('Can''t <<stop> & go', |"}},
        {"tab`here", {"MESSAGE('tab<9>here', |"}},
        {"trailing  \r\n \t", {"MESSAGE('trailing', |"}},
        {"{Name} left", {"MESSAGE(''&Name&' left', |"}},
    };
    for (const Case& c : cases) {
        Lines got = generate(testMessage(c.text));
        got.pop_back(); // the caption line
        EXPECT_EQ(got, c.lines) << c.text;
    }
}

TEST(MessageGenerator, LongTextsBreakAtABlankAfterColumn70OrInsideAWordAfter88)
{
    const std::string words =
        "The quick brown fox jumps over the lazy dog and keeps on running far away from here";
    const Lines atBlank = generate(testMessage(words));
    EXPECT_EQ(atBlank[0], "MESSAGE('The quick brown fox jumps over the lazy dog and keeps on running '&|");
    EXPECT_EQ(atBlank[1], "     'far away from here', |");

    const Lines inWord = generate(testMessage(std::string(120, 'x')));
    EXPECT_EQ(inWord[0], "MESSAGE('" + std::string(80, 'x') + "'&|");
    EXPECT_EQ(inWord[1], "     '" + std::string(40, 'x') + "', |");
}

TEST(MessageGenerator, ExpressionsThatDoNotFitStartTheirOwnLine)
{
    const std::string text = std::string(60, 'a') + "{FORMAT(TODAY(),@d6)} done";
    const Lines lines = generate(testMessage(text));
    EXPECT_EQ(lines[0], "MESSAGE('" + std::string(60, 'a') + "'&|");
    EXPECT_EQ(lines[1], "     FORMAT(TODAY(),@d6)&' done', |");

    // A break right after an expression drops the empty literal.
    const Lines after = generate(testMessage("{x}" + std::string(90, 'b')));
    EXPECT_EQ(after[0].substr(0, 15), "MESSAGE(''&x&'b");
}

TEST(MessageGenerator, AnExpressionLongerThanALineIsContinuedNotOverflowed)
{
    std::string expr;
    for (int i = 0; i < 60; ++i)
        expr += "Field" + std::to_string(i) + " & ";
    expr += "Last";
    const GeneratedCode code = MessageGenerator({}).generate(testMessage("x{" + expr + "}"));
    ASSERT_FALSE(code.failure);
    for (const std::string& line : code.lines)
        EXPECT_LE(line.size(), 254u);
    std::string joined;
    for (const std::string& line : code.lines)
        joined += line + "\n";
    EXPECT_NE(joined.find("Field0 & "), std::string::npos);
    EXPECT_NE(joined.find("& Last, |"), std::string::npos);
}

TEST(MessageGenerator, ALineAtTheLimitKeepsItsEndingWhenTheTextClosesOnIt)
{
    // An expression without blanks is too long for a line: it is cut, and the text ends right after it.
    const GeneratedCode code = MessageGenerator({}).generate(testMessage("x{" + std::string(300, 'e') + "}"));
    ASSERT_EQ(code.lines.size(), 3u);
    EXPECT_EQ(code.lines[1].size(), 254u);
    EXPECT_TRUE(code.lines[1].ends_with("eee, |"));
    EXPECT_EQ(code.lines[1].substr(0, 6), "     e");
}

TEST(MessageGenerator, DoubleAmpersandAndBraceWithoutPartner)
{
    GeneratorSettings s;
    s.doubleAmpersand = true;
    EXPECT_EQ(generate(testMessage("R&D"), s)[0], "MESSAGE('R&&D', |");
    // "}{" passes the balance check; the '{' without a partner stays a character.
    EXPECT_EQ(generate(testMessage("a}b{c"))[0], "MESSAGE('a}b{{c', |");
}

TEST(MessageGenerator, ChecksFailWithTheirSingleLine)
{
    Record none = testMessage("x", {});
    GeneratedCode code = MessageGenerator({}).generate(none);
    EXPECT_EQ(code.lines, Lines{"No buttons"});
    ASSERT_TRUE(code.failure);
    EXPECT_EQ(code.failure->caption, "NO BUTTONS SELECTED");
    EXPECT_EQ(code.failure->text, "No buttons have been checked!");

    code = MessageGenerator({}).generate(testMessage("a {b"));
    EXPECT_EQ(code.lines, Lines{"Unbalanced Curly Braces"});
    EXPECT_EQ(code.failure->caption, "INVALID MESSAGE TEXT");
}

TEST(MessageGenerator, StructureAroundTheCall)
{
    Record r = testMessage("Retry?", {"Retry", "Cancel", "Help"}, "If");
    r.setNumber(Mes::CodeIfError, 1);
    r.setNumber(Mes::CodeLoop, 1);
    r.setNumber(Mes::Sound, 1);
    r.setText(Mes::Icon, "Exclamation");
    r.setText(Mes::Caption, "Delete {CLIP(Name)}?");
    r.setText(Mes::Default, "Retry");
    EXPECT_EQ(generate(r), (Lines{
                               "IF ERRORCODE()",
                               "  BEEP(BEEP:SystemExclamation)  ;  YIELD()",
                               "  LOOP",
                               "     Btn#=MESSAGE('Retry?', |",
                               "           'Delete ' & CLIP(Name) & '?', ICON:Exclamation, |",
                               "            BUTTON:Retry+BUTTON:Cancel+BUTTON:Help, BUTTON:Retry, 0)",
                               "     IF    Btn# = BUTTON:Retry   ",
                               "        BREAK",
                               "     ELSIF Btn# = BUTTON:Cancel  ",
                               "        BREAK",
                               "     ELSIF Btn# = BUTTON:Help    ",
                               "        ! HELP(,'~id')  ; YIELD()",
                               "        CYCLE",
                               "     END !IF",
                               "  END !LOOP",
                               "END !IF ERROR",
                           }));
}

TEST(MessageGenerator, DefaultButtonRulesAndRenamedButtons)
{
    Record r = testMessage("Save?", {"Yes", "No", "Cancel"}, "Case");
    r.setText(Mes::Default, "Yes");
    GeneratorSettings notAlways;
    notAlways.defaultAlways = false;
    EXPECT_EQ(generate(r, notAlways)[2], "      BUTTON:Yes+BUTTON:No+BUTTON:Cancel, , 0)");
    EXPECT_EQ(generate(r)[2], "      BUTTON:Yes+BUTTON:No+BUTTON:Cancel, BUTTON:Yes, 0)");

    r.setNumber(Mes::RenameButtons, 1);
    r.setText(Mes::ButtonName, "&Save", 2);
    r.setText(Mes::ButtonName, "Don't", 3);
    r.setText(Mes::Default, "No");
    const Lines lines = generate(r);
    EXPECT_EQ(lines[2], "      '&Save|Don''t|Cancel', 2, 0)");
    EXPECT_EQ(lines[3], "OF 1  ! Name: &Save");
    EXPECT_EQ(lines[4], "OF 2  ! Name: Don't  (Default)");
    EXPECT_EQ(lines[5], "OF 3  ! Name: Cancel");
}

TEST(MessageGenerator, SoundsAndHelpWithoutALoop)
{
    Record r = testMessage("x", {"OK", "Help"}, "Case");
    r.setNumber(Mes::Sound, 1);
    r.setText(Mes::Icon, "Application");
    GeneratorSettings quiet;
    quiet.playDefaultSound = false;
    EXPECT_EQ(generate(r, quiet)[0], "CASE MESSAGE('x', |");
    EXPECT_EQ(generate(r)[0], "BEEP(BEEP:SystemDefault)  ;  YIELD()");
    const Lines lines = generate(r, quiet);
    EXPECT_EQ(lines[lines.size() - 2], "   ! HELP(,'~id')  ; YIELD()");
}

TEST(MessageGenerator, NoneWithSeveralButtonsHasNoBranchesButEndsItsLoop)
{
    Record r = testMessage("x", {"Yes", "No"}, "None");
    EXPECT_EQ(generate(r), (Lines{"MESSAGE('x', |", "     , , |", "      BUTTON:Yes+BUTTON:No, , 0)"}));
    r.setNumber(Mes::CodeLoop, 1);
    GeneratorSettings s;
    s.endComment = false;
    EXPECT_EQ(generate(r, s), (Lines{"LOOP", "  MESSAGE('x', |", "        , , |",
                                     "         BUTTON:Yes+BUTTON:No, , 0)", "  BREAK", "END"}));
}

TEST(MessageGenerator, IndentationFollowsTheConfiguration)
{
    Record r = testMessage("x", {"OK"}, "Case");
    GeneratorSettings s;
    s.initialIndent = 5;
    s.nestIndent = 4;
    const Lines lines = generate(r, s);
    EXPECT_EQ(lines[0], "    CASE MESSAGE('x', |");
    EXPECT_EQ(lines[1], "            , , |");
    EXPECT_EQ(lines[3], "    OF BUTTON:OK");
}

TEST(CaptionExpression, LiteralsAndExpressionsJoined)
{
    EXPECT_EQ(captionExpression("Delete {CLIP(Name)}?"), "'Delete ' & CLIP(Name) & '?'");
    EXPECT_EQ(captionExpression("{A}{B}"), "A & B");
    EXPECT_EQ(captionExpression("It's <b>"), "'It''s <<b>'");
    EXPECT_EQ(captionExpression("x{}y"), "'xy'");
    EXPECT_EQ(captionExpression("a{b"), "'a{{b'");
}
