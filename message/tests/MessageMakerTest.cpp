#include "message/IconList.h"
#include "message/MessageFile.h"
#include "message/MessageMaker.h"
#include "message/MessageRecord.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kestrix;
using namespace kestrix::message;
using runtime::testing::ScriptedDialogs;

namespace {

struct MakerFixture : ::testing::Test
{
    runtime::testing::TempDir dir;
    ScriptedDialogs dialogs;
    runtime::MemoryClipboard clip;
    config::Session session{dialogs, clip};
    runtime::KeyedFile file{"MESSAGE", messageLayout()};
    std::unique_ptr<MessageMaker> maker;

    void SetUp() override
    {
        ASSERT_TRUE(file.create().ok());
        ASSERT_TRUE(file.open().ok());
        maker = std::make_unique<MessageMaker>(session, file, standardIconNames());
        ASSERT_TRUE(maker->newMessage());
    }
    std::vector<std::string> descriptions()
    {
        std::vector<std::string> out;
        for (const runtime::Record& r : file.readAll(Mes::ByDescription))
            out.push_back(r.text(Mes::Description));
        return out;
    }
};

} // namespace

TEST_F(MakerFixture, aNewMessageStartsFromTheTemplateAndCountsAsUnsaved)
{
    EXPECT_EQ(maker->title(), "Message Maker");
    EXPECT_FALSE(maker->saveEnabled());
    EXPECT_NE(maker->contextMenuText().find("|~Save|Save As\tCtrl+A|"), std::string::npos);
    EXPECT_EQ(maker->message().text(Mes::Icon), "None");
    EXPECT_EQ(maker->message().text(Mes::CodeType), "Case");
    EXPECT_EQ(descriptions(), std::vector<std::string>{TemplateDescription});

    // A deleted template is made again with its first values.
    runtime::Record t = *findByDescription(file, TemplateDescription);
    ASSERT_TRUE(file.remove(t).ok());
    ASSERT_TRUE(maker->newMessage());
    EXPECT_EQ(descriptions(), std::vector<std::string>{TemplateDescription});
    EXPECT_EQ(maker->message().number(Mes::Sound), 1);
}

TEST_F(MakerFixture, saveAsAddsARecordWithRealTabsAndSaveWritesItBack)
{
    maker->message().setText(Mes::Text, "a`b");
    ASSERT_TRUE(maker->saveAs("Greeting"));
    EXPECT_EQ(maker->title(), "Message Maker - Greeting");
    EXPECT_TRUE(maker->saveEnabled());
    EXPECT_EQ(maker->message().text(Mes::Text), "a`b"); // the window keeps the tab character
    EXPECT_EQ(findByDescription(file, "Greeting")->text(Mes::Text), "a\tb");

    maker->message().setText(Mes::Caption, "Hello");
    ASSERT_TRUE(maker->save("Greeting"));
    ASSERT_TRUE(maker->save("Greeting")); // twice in a row: the record's version follows
    EXPECT_EQ(findByDescription(file, "Greeting")->text(Mes::Caption), "Hello");
    EXPECT_EQ(descriptions().size(), 2u);

    // Save As under a description another message carries adds a second one.
    ASSERT_TRUE(maker->saveAs("Greeting"));
    EXPECT_EQ(descriptions(), (std::vector<std::string>{"Greeting", "Greeting", TemplateDescription}));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(MakerFixture, openAsNewThenSaveAsLeavesTheOpenedRecordAlone)
{
    maker->message().setText(Mes::Text, "original");
    ASSERT_TRUE(maker->saveAs("First"));
    const runtime::Record saved = *findByDescription(file, "First");

    maker->openAsNew(saved);
    EXPECT_FALSE(maker->saveEnabled());
    maker->message().setText(Mes::Text, "copy");
    ASSERT_TRUE(maker->saveAs("Second"));
    EXPECT_EQ(findByDescription(file, "First")->text(Mes::Text), "original");
    EXPECT_EQ(findByDescription(file, "Second")->text(Mes::Text), "copy");

    maker->open(saved);
    EXPECT_EQ(maker->title(), "Message Maker - First");
    maker->message().setText(Mes::Text, "changed");
    ASSERT_TRUE(maker->save("First"));
    EXPECT_EQ(findByDescription(file, "First")->text(Mes::Text), "changed");
    EXPECT_EQ(findByDescription(file, "Second")->text(Mes::Text), "copy");
}

TEST_F(MakerFixture, aMessageFileDeletedUnderTheWindowReportsAndKeepsTheMessage)
{
    maker->message().setText(Mes::Text, "keep me");
    ASSERT_TRUE(maker->saveAs("Kept"));
    std::filesystem::remove(file.path());
    maker->message().setText(Mes::Text, "edited");
    EXPECT_FALSE(maker->save("Kept"));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Error Saving Record to Message File|Error: 2 - File Not Found");
    EXPECT_FALSE(maker->saveAs("Other"));
    EXPECT_EQ(dialogs.shown.back().caption, "Record Insert Error");
    EXPECT_EQ(maker->message().text(Mes::Text), "edited");
    EXPECT_EQ(maker->message().text(Mes::Description), "Kept"); // a failed Save As leaves the message as it was
}

TEST_F(MakerFixture, defaultChoicesAreTheFirstFourButtonsAndFollowUnchecking)
{
    for (const char* b : {"Yes", "No", "Abort", "Retry", "Cancel"})
        maker->setButton(buttonIndex(b), true);
    maker->setButton(1, false);
    DefaultChoices c = maker->defaultChoices();
    EXPECT_EQ(c.buttons, (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(c.selected, 0); // OK went away: the first chosen button took over
    EXPECT_EQ(maker->message().text(Mes::Default), "Yes");

    maker->setDefaultChoice(2);
    EXPECT_EQ(maker->message().text(Mes::Default), "Abort");
    maker->setButton(buttonIndex("Abort"), false);
    c = maker->defaultChoices();
    EXPECT_EQ(c.buttons, (std::vector<int>{2, 3, 5, 7}));
    EXPECT_EQ(maker->message().text(Mes::Default), "Yes");
}

TEST_F(MakerFixture, anUnknownIconShowsAndStoresTheFirst)
{
    runtime::Record odd = templateMessage();
    odd.setText(Mes::Icon, "Teapot");
    maker->open(odd);
    EXPECT_EQ(maker->iconIndex(), 0);
    EXPECT_EQ(maker->message().text(Mes::Icon), standardIconNames().front());
    odd.setText(Mes::Icon, "question");
    maker->open(odd);
    EXPECT_EQ(maker->message().text(Mes::Icon), "Question");
}

TEST_F(MakerFixture, decompileFillsAnUnsavedMessageOrSaysWhy)
{
    ASSERT_TRUE(maker->saveAs("Saved"));
    EXPECT_TRUE(maker->decompile("CASE MESSAGE('Sure?', 'Ask', ICON:Question, BUTTON:Yes+BUTTON:No, BUTTON:No, 0)"));
    EXPECT_EQ(maker->message().text(Mes::Text), "Sure?");
    EXPECT_EQ(maker->message().text(Mes::Default), "No"); // as the source names it
    EXPECT_FALSE(maker->saveEnabled());
    EXPECT_FALSE(maker->decompile("nothing here"));
    EXPECT_EQ(dialogs.shown.back().text, "No MESSAGE( found on clipboard");
    EXPECT_EQ(maker->message().text(Mes::Text), "Sure?");
}

TEST_F(MakerFixture, requestsActOnTheSavedRecordAndLeaveTheWindowsOwn)
{
    maker->message().setText(Mes::Text, "saved`one");
    maker->message().setText(Mes::CodeType, "None");
    maker->message().setNumber(Mes::Sound, 0);
    ASSERT_TRUE(maker->saveAs("One"));
    const runtime::Record saved = *findByDescription(file, "One");
    maker->message().setText(Mes::Text, "my own");

    session.modes().clipAddMode = true;
    clip.setText("");
    int iconized = 0;
    maker->perform('C', saved, [&] { ++iconized; });
    maker->perform('M', saved, [&] { ++iconized; });
    EXPECT_EQ(iconized, 1);
    EXPECT_EQ(clip.text(), "MESSAGE('saved<9>one', |\r\n     , )\r\nMESSAGE('saved<9>one', |\r\n     , )");
    maker->perform('T', saved, {});
    EXPECT_EQ(dialogs.shown.back().text, "saved\tone");
    EXPECT_EQ(maker->message().text(Mes::Text), "my own");
}

TEST_F(MakerFixture, anInsertThatWouldOverflowTheTextIsRefused)
{
    maker->message().setText(Mes::Text, std::string(995, 'x'));
    EXPECT_EQ(maker->insert("{Name}", 3), std::nullopt);
    EXPECT_EQ(dialogs.captions(), std::vector<std::string>{"MESSAGE TEXT FULL"});
    EXPECT_EQ(maker->message().text(Mes::Text), std::string(995, 'x'));
    EXPECT_EQ(maker->insert("{N}", 995), 998);
    EXPECT_EQ(maker->message().text(Mes::Text).size(), 998u);
}

TEST(MessageFileTemplate, aTemplateThatCannotBeAddedClosesTheWindowAfterTheHandSound)
{
    runtime::testing::TempDir dir;
    ScriptedDialogs dialogs;
    config::Session session(dialogs);
    runtime::KeyedFile file("MESSAGE", messageLayout());
    ASSERT_TRUE(file.create().ok());
    ASSERT_TRUE(file.open().ok());
    std::filesystem::remove(file.path()); // every write now fails
    MessageMaker maker(session, file, standardIconNames());
    EXPECT_FALSE(maker.newMessage());
    EXPECT_EQ(dialogs.sounds, std::vector<runtime::SystemSound>{runtime::SystemSound::Hand});
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "DEFAULT RECORD ERROR");
    EXPECT_EQ(dialogs.shown[0].text,
              "Unable to Create ZZ-DEFAULT record in the message file.|Error: 2 - File Not Found||Program must be aborted");
}
