#include "message/MessageMaker.h"
#include "message/IconList.h"
#include "message/MessageFile.h"
#include "message/MessageRecord.h"
#include "runtime/testing/FailingWrites.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    const auto menu = maker->contextMenu();
    const auto save = std::find_if(
        menu.begin(), menu.end(), [](const runtime::MenuItem& i) { return i.id == int(MakerCommand::Save); });
    ASSERT_NE(save, menu.end());
    EXPECT_EQ(save->text, "Save\tCtrl+S");
    EXPECT_FALSE(save->enabled);
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
    ASSERT_FALSE(maker->setText("a`b"));
    ASSERT_EQ(maker->saveAs("Greeting"), SaveOutcome::Saved);
    EXPECT_EQ(maker->title(), "Message Maker - Greeting");
    EXPECT_TRUE(maker->saveEnabled());
    EXPECT_EQ(maker->message().text(Mes::Text), "a`b"); // the window keeps the tab character
    EXPECT_EQ(findByDescription(file, "Greeting")->text(Mes::Text), "a\tb");

    ASSERT_FALSE(maker->setCaption("Hello"));
    ASSERT_EQ(maker->save("Greeting"), SaveOutcome::Saved);
    ASSERT_EQ(maker->save("Greeting"), SaveOutcome::Saved); // twice in a row: the record's version follows
    EXPECT_EQ(findByDescription(file, "Greeting")->text(Mes::Caption), "Hello");
    EXPECT_EQ(descriptions().size(), 2u);

    // Save As under a description another message carries adds a second one.
    ASSERT_EQ(maker->saveAs("Greeting"), SaveOutcome::Saved);
    EXPECT_EQ(descriptions(), (std::vector<std::string>{"Greeting", "Greeting", TemplateDescription}));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(MakerFixture, openAsNewThenSaveAsLeavesTheOpenedRecordAlone)
{
    ASSERT_FALSE(maker->setText("original"));
    ASSERT_EQ(maker->saveAs("First"), SaveOutcome::Saved);
    const runtime::Record saved = *findByDescription(file, "First");

    maker->openAsNew(saved);
    EXPECT_FALSE(maker->saveEnabled());
    ASSERT_FALSE(maker->setText("copy"));
    ASSERT_EQ(maker->saveAs("Second"), SaveOutcome::Saved);
    EXPECT_EQ(findByDescription(file, "First")->text(Mes::Text), "original");
    EXPECT_EQ(findByDescription(file, "Second")->text(Mes::Text), "copy");

    maker->open(saved);
    EXPECT_EQ(maker->title(), "Message Maker - First");
    ASSERT_FALSE(maker->setText("changed"));
    ASSERT_EQ(maker->save("First"), SaveOutcome::Saved);
    EXPECT_EQ(findByDescription(file, "First")->text(Mes::Text), "changed");
    EXPECT_EQ(findByDescription(file, "Second")->text(Mes::Text), "copy");
}

TEST_F(MakerFixture, aMessageFileThatCannotBeWrittenReportsAndKeepsTheMessage)
{
    ASSERT_FALSE(maker->setText("keep me"));
    ASSERT_EQ(maker->saveAs("Kept"), SaveOutcome::Saved);
    {
        runtime::testing::FailingWrites full;
        ASSERT_FALSE(maker->setText("edited"));
        EXPECT_EQ(maker->save("Kept"), SaveOutcome::Failed);
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].caption, "FILE ERROR");
        EXPECT_EQ(dialogs.shown[0].text, "Error Saving Record to Message File|Error: 90 - File System Error");
        EXPECT_EQ(maker->saveAs("Other"), SaveOutcome::Failed);
        EXPECT_EQ(dialogs.shown.size(), 2u);
        EXPECT_GT(full.refused(), 0);
    }
    EXPECT_EQ(maker->message().text(Mes::Text), "edited");
    EXPECT_EQ(maker->message().text(Mes::Description),
              "Kept"); // a failed Save As leaves the message as it was
    EXPECT_EQ(findByDescription(file, "Kept")->text(Mes::Text), "keep me");
    EXPECT_FALSE(findByDescription(file, "Other"));
    EXPECT_EQ(maker->save("Kept"), SaveOutcome::Saved); // room again: saved, not taken for another's change
    EXPECT_EQ(findByDescription(file, "Kept")->text(Mes::Text), "edited");
}

TEST_F(MakerFixture, aSaveOverAnotherProgramsChangeShowsThatChangeAndKeepsIt)
{
    ASSERT_FALSE(maker->setText("mine"));
    ASSERT_EQ(maker->saveAs("Shared"), SaveOutcome::Saved);
    runtime::KeyedFile other{"MESSAGE", messageLayout()};
    ASSERT_TRUE(other.open().ok());
    runtime::Record theirs = *findByDescription(other, "Shared");
    theirs.setText(Mes::Text, "theirs");
    ASSERT_TRUE(other.put(theirs).ok());

    ASSERT_FALSE(maker->setText("mine again"));
    EXPECT_EQ(maker->save("Shared"), SaveOutcome::Failed);
    EXPECT_EQ(dialogs.captions(), std::vector<std::string>{"Record Was Not Updated"});
    EXPECT_EQ(findByDescription(file, "Shared")->text(Mes::Text), "theirs");
    EXPECT_EQ(maker->message().text(Mes::Text),
              "theirs"); // re-read: the next Save writes over the new version
    ASSERT_FALSE(maker->setText("merged"));
    EXPECT_EQ(maker->save("Shared"), SaveOutcome::Saved);
    EXPECT_EQ(findByDescription(file, "Shared")->text(Mes::Text), "merged");
}

TEST_F(MakerFixture, whatTheGeneratorRefusesOrNoListShowsIsNotSaved)
{
    const auto refusedWith = [&](const std::string& description, const std::string& caption) {
        const std::size_t before = descriptions().size();
        EXPECT_EQ(maker->saveAs(description), SaveOutcome::Refused) << description;
        EXPECT_EQ(dialogs.shown.back().caption, caption) << description;
        EXPECT_EQ(descriptions().size(), before) << description;
    };
    refusedWith("   ", "INVALID DESCRIPTION");
    refusedWith("zz-default", "INVALID DESCRIPTION");
    refusedWith(std::string(41, 'd'), "INVALID DESCRIPTION");
    EXPECT_EQ(dialogs.shown.back().text, "MES:DESCRIPTION holds at most 40 characters, not 41.");
    ASSERT_FALSE(maker->setText("a {b"));
    refusedWith("Unbalanced", "INVALID MESSAGE TEXT");
    ASSERT_FALSE(maker->setText("fine"));
    maker->setButton(1, false);
    refusedWith("No buttons", "NO BUTTONS SELECTED");
    maker->setButton(2, true);
    EXPECT_EQ(maker->saveAs(std::string(40, 'd')), SaveOutcome::Saved);

    // The template itself may be written back under its own name.
    maker->open(*findByDescription(file, TemplateDescription));
    ASSERT_FALSE(maker->setCaption("House style"));
    EXPECT_EQ(maker->save(TemplateDescription), SaveOutcome::Saved);
    EXPECT_EQ(findByDescription(file, TemplateDescription)->text(Mes::Caption), "House style");
}

TEST_F(MakerFixture, editsThatDoNotFitAreRefusedWholeAndNamed)
{
    EXPECT_EQ(maker->setText(std::string(1001, 'x')), "MES:TEXT holds at most 1000 characters, not 1001.");
    EXPECT_FALSE(maker->setText(std::string(1000, 'x') + "   ")); // trailing blanks are not kept anyway
    EXPECT_EQ(maker->setCaption(std::string(61, 'c')), "MES:CAPTION holds at most 60 characters, not 61.");
    EXPECT_EQ(maker->setButtonName(3, std::string(16, 'n')),
              "MES:BUTTONNAME[3] holds at most 15 characters, not 16.");
    EXPECT_NE(maker->setIconName("Hand); RUN('x')"), std::nullopt);
    EXPECT_NE(maker->setCodeType("Loop"), std::nullopt);
    EXPECT_EQ(maker->message().text(Mes::Caption), "");
    EXPECT_FALSE(maker->setIconName("question"));
    EXPECT_EQ(maker->message().text(Mes::Icon), "Question");

    // A refused edit among several leaves the message as it was.
    MessageEdits edits;
    edits.caption = "Changed";
    edits.buttons = std::vector<int>{2, 3};
    edits.defaultButton = "Cancel";
    const runtime::Record before = maker->message();
    EXPECT_EQ(maker->apply(edits),
              "MES:DEFAULT must be one of the first four chosen buttons (Yes, No), not Cancel.");
    EXPECT_TRUE(maker->message().sameValues(before));
    edits.defaultButton = "no";
    EXPECT_EQ(maker->apply(edits), std::nullopt);
    EXPECT_EQ(maker->message().text(Mes::Default), "No");
}

TEST_F(MakerFixture, choosingButtonsAsAListGivesWhatClickingThemGives)
{
    // Each start: the template's OK (the default), then a new set of buttons.
    const std::vector<std::vector<int>> sets = {{2, 3}, {1, 7}, {7, 1, 8}, {3, 4, 5, 6, 7}, {}, {1}};
    for (const auto& wanted : sets) {
        ASSERT_TRUE(maker->newMessage());
        maker->setButtons(wanted);
        const runtime::Record listed = maker->message();

        ASSERT_TRUE(maker->newMessage());
        maker->setButton(1, std::find(wanted.begin(), wanted.end(), 1) != wanted.end()); // unchecked first
        for (int index = 2; index <= Mes::ButtonCount; ++index) {
            if (std::find(wanted.begin(), wanted.end(), index) != wanted.end())
                maker->setButton(index, true);
        }
        EXPECT_TRUE(maker->message().sameValues(listed)) << wanted.size();
    }
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
    ASSERT_EQ(maker->saveAs("Saved"), SaveOutcome::Saved);
    EXPECT_TRUE(
        maker->decompile("CASE MESSAGE('Sure?', 'Ask', ICON:Question, BUTTON:Yes+BUTTON:No, BUTTON:No, 0)"));
    EXPECT_EQ(maker->message().text(Mes::Text), "Sure?");
    EXPECT_EQ(maker->message().text(Mes::Default), "No"); // as the source names it
    EXPECT_FALSE(maker->saveEnabled());
    EXPECT_FALSE(maker->decompile("nothing here"));
    EXPECT_EQ(dialogs.shown.back().text, "No MESSAGE( found on clipboard");
    EXPECT_EQ(maker->message().text(Mes::Text), "Sure?");
}

TEST_F(MakerFixture, aDecompiledTextTooLongKeepsWhatFitsWithTheCaptionAndSaysSo)
{
    ASSERT_TRUE(
        maker->decompile("MESSAGE('" + std::string(1010, 'z') + "', '" + std::string(65, 'c') + "')"));
    EXPECT_EQ(maker->message().text(Mes::Text), std::string(1000, 'z'));
    EXPECT_EQ(maker->message().text(Mes::Caption), std::string(60, 'c'));
    ASSERT_EQ(dialogs.captions(), std::vector<std::string>{"MESSAGE READ IN PART"});
    EXPECT_EQ(dialogs.shown.back().text,
              "The message text has 1010 characters; MES:TEXT holds 1000, so the last 10 were dropped.|"
              "The caption has 65 characters; MES:CAPTION holds 60, so the last 5 were dropped.");
}

TEST_F(MakerFixture, requestsActOnTheSavedRecordAndLeaveTheWindowsOwn)
{
    ASSERT_FALSE(maker->setText("saved`one"));
    ASSERT_FALSE(maker->setCodeType("None"));
    maker->setSound(false);
    ASSERT_EQ(maker->saveAs("One"), SaveOutcome::Saved);
    const runtime::Record saved = *findByDescription(file, "One");
    ASSERT_FALSE(maker->setText("my own"));

    session.modes().clipAddMode = true;
    clip.setText("");
    int iconized = 0;
    maker->perform(SavedMessageCommand::Generate, saved, [&] { ++iconized; });
    maker->perform(SavedMessageCommand::GenerateAndMinimize, saved, [&] { ++iconized; });
    EXPECT_EQ(iconized, 1);
    EXPECT_EQ(clip.text(), "MESSAGE('saved<9>one', |\r\n     , )\r\nMESSAGE('saved<9>one', |\r\n     , )");
    maker->perform(SavedMessageCommand::Preview, saved, {});
    // The Open Message list's right-click menu names each action by its command, not by its row.
    const std::vector<runtime::MenuItem> menu = MessageMaker::savedMessageMenu();
    ASSERT_EQ(menu.size(), 4u);
    EXPECT_EQ(menu[0].id, static_cast<int>(SavedMessageCommand::Open));
    EXPECT_EQ(menu[2].text, "Generate Code to Clipboard");
    EXPECT_EQ(menu[2].id, static_cast<int>(SavedMessageCommand::Generate));
    EXPECT_EQ(menu[3].id, static_cast<int>(SavedMessageCommand::GenerateAndMinimize));
    EXPECT_EQ(dialogs.shown.back().text, "saved\tone");
    EXPECT_EQ(maker->message().text(Mes::Text), "my own");
}

TEST_F(MakerFixture, anInsertThatWouldOverflowTheTextIsRefused)
{
    ASSERT_FALSE(maker->setText(std::string(995, 'x')));
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
    const runtime::testing::FailingWrites full;
    MessageMaker maker(session, file, standardIconNames());
    EXPECT_FALSE(maker.newMessage());
    EXPECT_EQ(dialogs.sounds, std::vector<runtime::SystemSound>{runtime::SystemSound::Hand});
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "DEFAULT RECORD ERROR");
    EXPECT_EQ(dialogs.shown[0].text, "Unable to Create ZZ-DEFAULT record in the message file.|Error: 90 - "
                                     "File System Error||Program must be aborted");
}
