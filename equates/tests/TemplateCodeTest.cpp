#include "equates/TemplateCode.h"

#include <gtest/gtest.h>

using namespace kestrix;
using namespace kestrix::equates;

namespace {
const std::string SixLines = "\r\n\r\n\r\n\r\n\r\n\r\n";
}

TEST(TemplateCodeWords, AbcModeSpeaksOfSelf)
{
    EXPECT_EQ(buttonWord("LocalRequ&est", true), "SELF.Request");
    EXPECT_EQ(buttonWord("&LocalResponse", true), "SELF.Response");
    EXPECT_EQ(buttonWord("OriginalReques&t", true), "SELF.OriginalRequest");
    EXPECT_EQ(buttonWord("LocalRequ&est", false), "LocalRequest");
    EXPECT_EQ(buttonWord("OriginalReques&t", false), "OriginalRequest");
    EXPECT_EQ(buttonWord("&GlobalResponse", true), "GlobalResponse");
    EXPECT_EQ(buttonWord("RequestCa&ncelled", true), "RequestCancelled");
    EXPECT_EQ(templatePopupType(TemplatePopup::TplCode, true), "TPL EQUATE ABC");
    EXPECT_EQ(templatePopupType(TemplatePopup::TplCode, false), "TPL EQUATE");
    EXPECT_EQ(templatePopupType(TemplatePopup::Symbols, false), "TPL SYMBOLS");
    EXPECT_EQ(templatePopupType(TemplatePopup::QuickMsg, true), "MSG{Q}");
    EXPECT_EQ(templatePopupConversions(TemplatePopup::QuickMsg), "|}");
    EXPECT_EQ(popupWord(TemplatePopup::TplCode, "#SET(%^, '')"), "#SET(%^, '') ");
    EXPECT_EQ(popupWord(TemplatePopup::Symbols, "%Window"), "%Window");
    EXPECT_EQ(popupWord(TemplatePopup::QuickMsg, "   "), "");
}

TEST(TemplateCode, InsertionAtTheCaret)
{
    TemplateCode code;
    EXPECT_EQ(code.text(), SixLines);
    EXPECT_FALSE(code.press("IF", true));
    EXPECT_FALSE(code.press("&GlobalResponse", true));
    EXPECT_EQ(code.text(), "IF  GlobalResponse  " + SixLines);
    EXPECT_EQ(code.caret(), 20u);
    EXPECT_FALSE(code.press("END", true));
    EXPECT_EQ(code.text(), "IF  GlobalResponse  END\r\n " + SixLines);
    EXPECT_FALSE(code.press("Tab", true));
    EXPECT_FALSE(code.press("Space", true));
    EXPECT_FALSE(code.press("Return", true));
    EXPECT_EQ(code.text(), "IF  GlobalResponse  END\r\n      \r\n " + SixLines);
    code.setCaret(2); // in the middle of a word
    EXPECT_FALSE(code.press("|", true));
    EXPECT_EQ(code.text().substr(0, 8), "IF|\r\n   ");
    code.clear();
    EXPECT_EQ(code.text(), SixLines);
    EXPECT_EQ(code.caret(), 0u);
}

TEST(TemplateCode, ToClipTrimsTheEndAndSplitsAtLineBreaks)
{
    TemplateCode code;
    EXPECT_TRUE(code.clipLines().lines.empty()); // only line breaks: nothing
    ASSERT_TRUE(code.setText("   \r\n  \t \r\n! ! ", 0));
    EXPECT_TRUE(code.clipLines().lines.empty());
    ASSERT_TRUE(code.setText("IF X\r\n  Y = 1\t\r\n\r\nEND  ! done!  \r\n\r\n", 0));
    EXPECT_EQ(code.clipLines().lines,
              (std::vector<std::string>{"IF X", "  Y = 1", "", "END  ! done"})); // the tab is dropped
    ASSERT_TRUE(code.setText("A", 0));
    EXPECT_TRUE(code.clipLines().lines.empty()); // fewer than 2 characters
    ASSERT_TRUE(code.setText("AB", 0));
    EXPECT_EQ(code.clipLines().lines, std::vector<std::string>{"AB"});
}

TEST(TemplateCode, TheTextHoldsAThousandCharactersAndALineWhatTheClipboardTakes)
{
    TemplateCode code;
    EXPECT_FALSE(code.setText(std::string(1001, 'x'), 0));
    EXPECT_EQ(code.text(), SixLines); // refused whole
    ASSERT_TRUE(code.setText(std::string(996, 'x'), 996));
    EXPECT_FALSE(code.press("OR", false)); // "OR" and two blanks: exactly 1000
    EXPECT_EQ(code.text().size(), 1000u);
    const auto refused = code.press("IF", false);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->caption, "CODE TOO LONG");
    EXPECT_EQ(code.text().size(), 1000u);
    EXPECT_TRUE(code.press("Space", false));

    ASSERT_TRUE(code.setText("IF X\r\n" + std::string(300, 'y') + "\r\nEND", 0));
    const auto clip = code.clipLines();
    EXPECT_TRUE(clip.lines.empty());
    ASSERT_TRUE(clip.refusal);
    EXPECT_EQ(clip.refusal->caption, "LINE TOO LONG");
    EXPECT_NE(clip.refusal->text.find("Line 2 of the code has 300 characters"), std::string::npos);
    ASSERT_TRUE(code.setText(std::string(252, 'z'), 0));
    EXPECT_EQ(code.clipLines().lines.size(), 1u);
}
