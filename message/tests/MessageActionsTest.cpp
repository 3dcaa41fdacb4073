#include "message/MessageActions.h"
#include "MessageTestSupport.h"
#include "message/IconList.h"
#include "message/MessagePreview.h"
#include "runtime/testing/ScriptedDialogs.h"

#include <gtest/gtest.h>

using namespace kestrix;
using namespace kestrix::message;
using runtime::testing::ScriptedDialogs;

TEST(MessageActions, GenerationGoesThroughTheClipboardQueueInItsMode)
{
    ScriptedDialogs dialogs;
    runtime::MemoryClipboard clip;
    config::Session session(dialogs, clip);
    generateToClipboard(session, testMessage("first"));
    session.modes().clipAddMode = true;
    generateToClipboard(session, testMessage("second"));
    EXPECT_EQ(clip.text(), "MESSAGE('first', |\r\n     , )\r\nMESSAGE('second', |\r\n     , )");

    session.modes().clipAddMode = false;
    const GeneratedCode failed = generateToClipboard(session, testMessage("x", {}));
    EXPECT_EQ(clip.text(), "No buttons"); // the clipboard never keeps stale code
    EXPECT_EQ(dialogs.captions(), std::vector<std::string>{"NO BUTTONS SELECTED"});
    EXPECT_TRUE(failed.failure);
}

TEST(MessagePreview, ShowsTheBoxWithItsSoundDefaultAndRenamedButtons)
{
    ScriptedDialogs dialogs;
    config::Session session(dialogs);
    runtime::Record r = testMessage("Tab`here  \r\n", {"Yes", "No", "Cancel"});
    r.setText(Mes::Icon, "Question");
    r.setText(Mes::Default, "No");
    r.setText(Mes::Caption, "Sure?");
    r.setNumber(Mes::Sound, 1);
    previewMessage(session, r, standardIconNames());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    const runtime::MessageRequest& box = dialogs.shown[0];
    EXPECT_EQ(box.text, "Tab\there");
    EXPECT_EQ(box.caption, "Sure?");
    EXPECT_EQ(box.icon, runtime::MessageIcon::Question);
    EXPECT_EQ(box.buttons, 2u + 4u + 64u);
    EXPECT_EQ(box.defaultButton, 4u);
    EXPECT_EQ(dialogs.sounds, std::vector<runtime::SystemSound>{runtime::SystemSound::Question});

    r.setNumber(Mes::RenameButtons, 1);
    r.setText(Mes::ButtonName, "&Keep", 2);
    r.setNumber(Mes::Sound, 0);
    previewMessage(session, r, standardIconNames());
    EXPECT_EQ(dialogs.shown[1].buttonTexts, (std::vector<std::string>{"&Keep", "&No", "Cancel"}));
    EXPECT_EQ(dialogs.shown[1].defaultButton, 2u);
    EXPECT_EQ(dialogs.sounds.size(), 1u);
}

TEST(MessagePreview, NoButtonsChoosesOkAndAMissingDefaultIsReported)
{
    GeneratorSettings quiet;
    quiet.playDefaultSound = false;
    runtime::Record none = testMessage("x", {});
    none.setNumber(Mes::Sound, 1);
    none.setText(Mes::Icon, "Application");
    const PreviewPlan plan = planPreview(none, quiet, standardIconNames());
    EXPECT_TRUE(plan.choseOk);
    EXPECT_TRUE(buttonChosen(none, 1));
    EXPECT_EQ(none.text(Mes::Default), "OK");
    EXPECT_FALSE(plan.sound); // not one of the four, and the default sound is off
    EXPECT_EQ(plan.box.icon, runtime::MessageIcon::None);

    runtime::Record odd = testMessage("x", {"Yes"});
    odd.setText(Mes::Default, "Retry");
    odd.setText(Mes::Icon, "Unknown");
    const PreviewPlan warned = planPreview(odd, {}, standardIconNames());
    ASSERT_TRUE(warned.warning);
    EXPECT_EQ(warned.warning->text, "Unable to Find Default = Retry");
    EXPECT_EQ(warned.box.defaultButton, 1u);
}
