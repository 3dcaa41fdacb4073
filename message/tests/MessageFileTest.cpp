#include "message/MessageFile.h"
#include "message/MessageRecord.h"
#include "runtime/testing/RequireOk.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

using namespace kestrix::message;
using namespace kestrix::runtime;

namespace {
struct MessageFileFixture
{
    kestrix::runtime::testing::TempDir dir;
    KeyedFile file{"MESSAGE", messageLayout()};
    MessageFileFixture()
    {
        kestrix::runtime::testing::requireOk(file.create(), "file.create()");
        kestrix::runtime::testing::requireOk(file.open(), "file.open()");
    }
};
} // namespace

TEST(MessageFile, TheTemplateIsCreatedWhenMissingWithItsValues)
{
    MessageFileFixture f;
    const TemplateResult fresh = newMessage(f.file);
    ASSERT_TRUE(fresh.record);
    EXPECT_EQ(fresh.record->text(Mes::Description), "");
    EXPECT_EQ(fresh.record->text(Mes::Icon), "None");
    EXPECT_EQ(fresh.record->text(Mes::CodeType), "Case");
    EXPECT_EQ(fresh.record->text(Mes::Default), "OK");
    EXPECT_EQ(fresh.record->number(Mes::Sound), 1);
    EXPECT_EQ(fresh.record->text(Mes::FixLocale), "C");
    EXPECT_TRUE(buttonChosen(*fresh.record, 1));
    EXPECT_FALSE(buttonChosen(*fresh.record, 2));
    EXPECT_EQ(f.file.records(), 1);

    // Deleted, it comes back.
    Record stored = *findByDescription(f.file, "zz-default");
    ASSERT_TRUE(f.file.remove(stored).ok());
    ASSERT_TRUE(fetchTemplate(f.file).record);
    EXPECT_EQ(f.file.records(), 1);
}

TEST(MessageFile, DuplicateDescriptionsStayAndTheFirstIsFound)
{
    MessageFileFixture f;
    for (const char* caption : {"first", "second"}) {
        Record r = templateMessage();
        r.setText(Mes::Description, "Same Name");
        r.setText(Mes::Caption, caption);
        ASSERT_TRUE(f.file.add(r).ok());
    }
    EXPECT_EQ(findByDescription(f.file, "SAME NAME")->text(Mes::Caption), "first");
    EXPECT_EQ(f.file.records(), 2);
}

TEST(MessageFile, ATemplateThatCannotBeAddedIsReported)
{
    MessageFileFixture f;
    f.file.close(); // adding fails
    const TemplateResult result = fetchTemplate(f.file);
    EXPECT_FALSE(result.record);
    ASSERT_TRUE(result.failure);
    EXPECT_EQ(result.failure->caption, "DEFAULT RECORD ERROR");
    EXPECT_EQ(result.failure->text,
              "Unable to Create ZZ-DEFAULT record in the message file.|Error: 37 - File Not "
              "Open||Program must be aborted");
    EXPECT_EQ(result.failure->icon, MessageIcon::Hand);
}

TEST(MessageRecord, TabsConvertBothWays)
{
    EXPECT_EQ(tabsToCharacter("a\tb\t", '`'), "a`b`");
    EXPECT_EQ(characterToTabs("a`b`", '`'), "a\tb\t");
    EXPECT_EQ(buttonIndex("cancel"), 7);
    EXPECT_EQ(buttonIndex("Maybe"), 0);
    EXPECT_STREQ(standardButton(7).standardText, "Cancel");
}
