#include "message/ButtonRenaming.h"
#include "message/MessageInsertRecord.h"
#include "message/MessageRecord.h"
#include "message/TextInsertion.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

using namespace kestrix;
using namespace kestrix::message;

TEST(TextInsertion, thePieceLandsAtTheCaretFollowedByABlank)
{
    auto r = insertPiece("Hello World", "{Name}", 6);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->text, "Hello {Name} World");
    EXPECT_EQ(r->caret, 12);
    r = insertPiece("Hello", "{Name}", 0); // at the very start
    EXPECT_EQ(r->text, "{Name} Hello");
    r = insertPiece("", "x   ", 0);
    EXPECT_EQ(r->text, "x");
}

TEST(TextInsertion, aCaretMarkLeavesTheCaretWhereItStood)
{
    auto r = insertPiece("ab", "{CLIP(^)}", 1);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->text, "a{CLIP()} b");
    EXPECT_EQ(r->text.substr(0, static_cast<std::size_t>(r->caret)), "a{CLIP(");
    r = insertPiece("", "^{X}^", 0); // only the first mark is taken out
    EXPECT_EQ(r->text, "{X}^");
    EXPECT_EQ(r->caret, 0);
}

TEST(TextInsertion, nothingIsCutOffTheEndOfTheText)
{
    const std::string full(990, 'a');
    EXPECT_FALSE(insertPiece(full, "{LongName}", 10));
    EXPECT_TRUE(insertPiece(full, "{Nine}", 990));         // 996 characters and a trailing blank
    EXPECT_FALSE(insertPiece("abc", "{Too long}", 1, 12)); // a smaller box
}

TEST(TextInsertion, droppedFieldsBecomeExpressionsByTypeAndPicture)
{
    const config::DraggedFieldList fields = {{"Cus:Name", "CSTRING(31)", ""},
                                             {"Cus:City", "STRING(20)", ""},
                                             {"Cus:Due", "LONG", "@d6"},
                                             {"Cus:Id", "PSTRING(5)", ""}};
    EXPECT_EQ(fieldDropPiece({fields[0]}, "Customer"), "{Cus:Name}");
    EXPECT_EQ(fieldDropPiece({fields[1]}, ""), "{CLIP(Cus:City)}");
    EXPECT_EQ(fieldDropPiece(fields, "x"), "{Cus:Name}{CLIP(Cus:City)}{FORMAT(Cus:Due,@d6)}{Cus:Id}");
    EXPECT_EQ(fieldDropPiece({fields[0], fields[2]}, "My Debug box"),
              "Cus:Name = {Cus:Name}\r\nCus:Due = {FORMAT(Cus:Due,@d6)}\r\n");
    config::DraggedFieldList many(60, {"Some:LongFieldName", "LONG", ""});
    EXPECT_EQ(fieldDropPiece(many, "").size(), InsertBufferLength);
}

TEST(MessageInserts, theTextSpansBothFieldsAndTheWrapsApplyClipThenBraces)
{
    runtime::Record insert(messageInsertLayout());
    setInsertText(insert, "Glo:User");
    insert.setNumber(Mi::Clip, 1);
    insert.setNumber(Mi::Curly, 1);
    EXPECT_EQ(miscInsertPiece(insert), "{CLIP(Glo:User)}");
    insert.setNumber(Mi::Clip, 0);
    EXPECT_EQ(miscInsertPiece(insert), "{Glo:User}");

    const std::string longText = "A text of more than  twenty characters"; // a blank at the 20th
    setInsertText(insert, longText);
    EXPECT_EQ(insert.text(Mi::Text1), "A text of more than");
    EXPECT_EQ(insertText(insert), longText);
    setInsertText(insert, std::string(300, 'z'));
    EXPECT_EQ(insertText(insert).size(), Mi::TextLength);
}

TEST(MessageInserts, theFileListsThemByTheirFirstTwentyCharacters)
{
    runtime::testing::TempDir dir;
    runtime::KeyedFile file("MSGINSER", messageInsertLayout());
    ASSERT_TRUE(file.create().ok());
    ASSERT_TRUE(file.open().ok());
    for (const char* text : {"zeta", "Alpha", "beta", ""}) {
        runtime::Record r = file.newRecord();
        setInsertText(r, text);
        ASSERT_TRUE(file.add(r).ok());
    }
    std::vector<std::string> texts;
    for (const runtime::Record& r : file.readAll(Mi::Key))
        texts.push_back(insertText(r));
    EXPECT_EQ(texts, (std::vector<std::string>{"Alpha", "beta", "zeta"})); // any case; blank left out
}

TEST(ButtonRenaming, loadSplitsAtCommasAndAllBlankSwitchesRenamingOff)
{
    runtime::Record m = templateMessage();
    m.setText(Mes::FixLocale, "");
    startRenaming(m);
    EXPECT_EQ(m.text(Mes::FixLocale), "C");
    EXPECT_EQ(m.number(Mes::RenameButtons), 1);

    m.setText(Mes::ButtonName, "Old", 8);
    loadButtonNames(m, "Save,Discard,Cancel");
    EXPECT_EQ(m.text(Mes::ButtonName, 1), "Save");
    EXPECT_EQ(m.text(Mes::ButtonName, 2), "Discard");
    EXPECT_EQ(m.text(Mes::ButtonName, 3), "Cancel");
    EXPECT_EQ(m.text(Mes::ButtonName, 4), "");
    EXPECT_EQ(m.text(Mes::ButtonName, 8), "");
    loadButtonNames(m, "1,2,3,4,5,6,7,8,9,10");
    EXPECT_EQ(m.text(Mes::ButtonName, 8), "8");
    loadButtonNames(m, "A name much longer than fifteen");
    EXPECT_EQ(m.text(Mes::ButtonName, 1), "A name much lon");

    finishRenaming(m);
    EXPECT_EQ(m.number(Mes::RenameButtons), 1);
    blankButtonNames(m);
    finishRenaming(m);
    EXPECT_EQ(m.number(Mes::RenameButtons), 0);
}
