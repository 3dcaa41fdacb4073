#include "message/MessageDecompiler.h"
#include "message/IconList.h"
#include "message/MessageRecord.h"

#include <gtest/gtest.h>

using namespace kestrix::message;
using kestrix::runtime::Record;

namespace {

Record decompile(const std::string& source)
{
    DecompileSettings s;
    s.icons = standardIconNames();
    DecompiledMessage result = decompileMessage(source, s);
    EXPECT_TRUE(result.record) << source;
    return result.record.value_or(Record(messageLayout()));
}

std::string chosen(const Record& r)
{
    std::string out;
    for (int i = 1; i <= Mes::ButtonCount; ++i) {
        if (buttonChosen(r, i))
            out += std::string(out.empty() ? "" : ",") + standardButton(i).name;
    }
    return out;
}

} // namespace

TEST(MessageDecompiler, TextForms)
{
    struct Case
    {
        const char* source;
        const char* text;
    };
    const Case cases[] = {
        {"MESSAGE('first'&|\r\n     '|second', |\r\n     'T', ICON:Hand)", "first\r\nsecond"},
        {"MESSAGE('Total: '&Cnt, 'T')", "Total: {Cnt}"},
        {"MESSAGE(Msg, 'Title')", "{Msg}"},
        {"MESSAGE('It''s', 'x')", "It's"},
        {"MESSAGE('50<<100', 'x')", "50<100"},
        {"MESSAGE('a{{b', 'x')", "a{b"},
        {"MESSAGE('x{3}', 'x')", "xxxx"},
        {"MESSAGE('a<9>b<9,9>c', 'x')", "a`b``c"},
        {"MESSAGE('one<13,10>two', 'x')", "one\r\ntwo"},
        {"MESSAGE('Name: '&CLIP(First) & ', ' & CLIP(Last), 'x')", "Name: {CLIP(First)}, {CLIP(Last)}"},
        {"MESSAGE('a'&| ! a comment, with a comma\r\n  'b', 'x')", "ab"},
        {"message('Lower Case Kept', 'x')", "Lower Case Kept"},
        {"MESSAGE('Hi')", "Hi"},
        {"MESSAGE(SUB(Name,1,3)&'!', 'x')", "{SUB(Name,1,3)}!"},
        {"MESSAGE('', 'x')", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(decompile(c.source).text(Mes::Text), c.text) << c.source;
}

TEST(MessageDecompiler, CaptionIconAndButtons)
{
    Record r = decompile("CASE MESSAGE('x', |\r\n 'Delete ' & CLIP(Name) & '?', ICON:Question, |\r\n"
                         " BUTTON:Yes+BUTTON:No, BUTTON:No, 0)\r\nOF BUTTON:Yes\r\nEND");
    EXPECT_EQ(r.text(Mes::Caption), "Delete {CLIP(Name)}?");
    EXPECT_EQ(r.text(Mes::Icon), "Question");
    EXPECT_EQ(chosen(r), "Yes,No");
    EXPECT_EQ(r.text(Mes::Default), "No");
    EXPECT_EQ(r.text(Mes::CodeType), "Case");

    EXPECT_EQ(decompile("MESSAGE('x', 'It''s {{odd}, ok', ICON:Print1)").text(Mes::Caption),
              "It's {odd}, ok");
    EXPECT_EQ(decompile("MESSAGE('x', 'It''s {{odd}, ok', ICON:Print1)").text(Mes::Icon), "Print1");
    EXPECT_EQ(decompile("MESSAGE('x', FORMAT(D,@d6) & ' left')").text(Mes::Caption), "{FORMAT(D,@d6)} left");
    EXPECT_EQ(decompile("MESSAGE('x', A & B)").text(Mes::Caption), "{A}{B}");
    Record plain = decompile("MESSAGE('x')");
    EXPECT_EQ(chosen(plain), "OK"); // no BUTTON: at all
    EXPECT_EQ(plain.text(Mes::Icon), "");
    EXPECT_EQ(chosen(decompile("MESSAGE('x','c',ICON:None,BUTTON:NoSuch+BUTTON:Abort)")), "Abort");
}

TEST(MessageDecompiler, TheDefaultButtonIsReadWhenItNamesAChosenOne)
{
    struct Case
    {
        const char* source;
        const char* defaultButton;
    };
    const Case cases[] = {
        {"MESSAGE('x','c',ICON:Hand,BUTTON:Yes+BUTTON:No,BUTTON:No)", "No"},
        {"MESSAGE('a, b', 'c, d', ICON:Hand, |\r\n  BUTTON:Abort+BUTTON:Retry+BUTTON:Ignore, |\r\n  "
         "BUTTON:Retry, 0)",
         "Retry"},
        {"MESSAGE(SUB(T,1,2), FORMAT(D,@d6), ICON:Hand, BUTTON:OK+BUTTON:Cancel, BUTTON:Cancel)", "Cancel"},
        {"MESSAGE('x','c',ICON:Hand,BUTTON:Yes+BUTTON:No, , 0)", ""},
        {"MESSAGE('x','c',ICON:Hand,BUTTON:Yes+BUTTON:No,2)", ""}, // a position is not a name
        {"MESSAGE('x','c',ICON:Hand,BUTTON:Yes+BUTTON:No,BUTTON:NoSuch)", ""},
        {"MESSAGE('x','c')", ""},
        {"MESSAGE('x','c',ICON:Hand,BUTTON:Yes+BUTTON:No ! ,BUTTON:No\r\n)", ""}, // a comment is no argument
    };
    for (const Case& c : cases)
        EXPECT_EQ(decompile(c.source).text(Mes::Default), c.defaultButton) << c.source;
}

TEST(MessageDecompiler, StructureComesFromTheCodeNotFromLiterals)
{
    Record r = decompile(
        "IF ERRORCODE()\r\n  BEEP(BEEP:SystemHand)  ;  YIELD()\r\n  LOOP\r\n"
        "     Btn#=MESSAGE('x', |\r\n 'c', ICON:Hand, |\r\n BUTTON:OK+BUTTON:Cancel, , 0)\r\n"
        "     IF    Btn# = BUTTON:OK\r\n        BREAK\r\n     END !IF\r\n  END !LOOP\r\nEND !IF ERROR");
    EXPECT_EQ(r.number(Mes::CodeIfError), 1);
    EXPECT_EQ(r.number(Mes::Sound), 1);
    EXPECT_EQ(r.number(Mes::CodeLoop), 1);
    EXPECT_EQ(r.text(Mes::CodeType), "If");

    Record quoted =
        decompile("MESSAGE('Press LOOP or Btn# to BEEP( now', 'CASE MESSAGE', ICON:Hand) ! BUTTON:Yes");
    EXPECT_EQ(quoted.text(Mes::CodeType), "None");
    EXPECT_EQ(quoted.number(Mes::CodeLoop), 0);
    EXPECT_EQ(chosen(quoted), "OK");
    EXPECT_EQ(quoted.text(Mes::Caption), "CASE MESSAGE");
}

TEST(MessageDecompiler, NothingToDecompile)
{
    DecompiledMessage result = decompileMessage("x = 1\r\nSTOP('MESSAGE(')", {});
    EXPECT_FALSE(result.record);
    ASSERT_TRUE(result.failure);
    EXPECT_EQ(result.failure->text, "No MESSAGE( found on clipboard");
}

TEST(MessageDecompiler, BrokenSourceNeverRunsPastItsEnd)
{
    for (const char* source :
         {"MESSAGE(", "MESSAGE('", "MESSAGE('abc{", "MESSAGE('abc{1", "MESSAGE('<9", "MESSAGE(x(",
          "MESSAGE('a', '", "MESSAGE('a', 'b' & (", "MESSAGE(}{", "MESSAGE('a'&|", "MESSAGE('a'!"}) {
        DecompileSettings s;
        s.icons = standardIconNames();
        const DecompiledMessage result = decompileMessage(source, s);
        EXPECT_TRUE(result.record) << source;
    }
    const std::string huge = "MESSAGE('" + std::string(5000, 'q') + "', '" + std::string(500, 'c') + "')";
    const Record r = decompile(huge);
    EXPECT_EQ(r.text(Mes::Text).size(), 1000u);
}
