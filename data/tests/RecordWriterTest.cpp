#include "data/RecordWriter.h"
#include "runtime/testing/FailingWrites.h"
#include "runtime/testing/RequireOk.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace kestrix::data;
using namespace kestrix::runtime;
using kestrix::runtime::testing::ScriptedDialogs;
using kestrix::runtime::testing::TempDir;

namespace {

std::shared_ptr<RecordLayout> configLayout()
{
    auto l = std::make_shared<RecordLayout>("CFG");
    l->addString("NAME", 20);
    l->addNumber("N", FieldType::Long);
    l->addKey("KEY", {0}, true);
    return l;
}

struct Files
{
    TempDir dir;
    KeyedFile mine{"config5.tps", configLayout()};
    KeyedFile theirs{"config5.tps", configLayout()};
    Files()
    {
        kestrix::runtime::testing::requireOk(mine.create(), "mine.create()");
        kestrix::runtime::testing::requireOk(mine.open(), "mine.open()");
        kestrix::runtime::testing::requireOk(theirs.open(), "theirs.open()");
    }
};

} // namespace

TEST(RecordWriter, AddUpdateAndDeleteInTransactions)
{
    Files f;
    ScriptedDialogs dialogs;
    Record r = f.mine.newRecord();
    r.setText(0, "one");
    ASSERT_TRUE(writeRecord(f.mine, r, WriteOperation::Add, dialogs));
    r.setNumber(1, 5);
    ASSERT_TRUE(writeRecord(f.mine, r, WriteOperation::Update, dialogs));
    Record read = f.theirs.newRecord();
    ASSERT_TRUE(f.theirs.fetch(r.position(), read).ok());
    EXPECT_EQ(read.number(1), 5);
    ASSERT_TRUE(writeRecord(f.mine, r, WriteOperation::Delete, dialogs));
    EXPECT_EQ(f.theirs.records(), 0);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(f.mine.inTransaction());
}

TEST(RecordWriter, AChangeByAnotherProgramIsReportedAndShown)
{
    Files f;
    ScriptedDialogs dialogs;
    Record mine = f.mine.newRecord();
    mine.setText(0, "cfg");
    ASSERT_TRUE(writeRecord(f.mine, mine, WriteOperation::Add, dialogs));
    Record theirs = f.theirs.newRecord();
    ASSERT_TRUE(f.theirs.fetch(mine.position(), theirs).ok());
    theirs.setNumber(1, 42);
    ASSERT_TRUE(writeRecord(f.theirs, theirs, WriteOperation::Update, dialogs));

    mine.setNumber(1, 7);
    EXPECT_FALSE(writeRecord(f.mine, mine, WriteOperation::Update, dialogs));
    EXPECT_EQ(dialogs.captions(), std::vector<std::string>{"Record Was Not Updated"});
    EXPECT_EQ(mine.number(1), 42); // the other program's values are shown
    EXPECT_FALSE(f.mine.inTransaction());

    // Asked for as an update error instead.
    theirs.setNumber(1, 43);
    writeRecord(f.theirs, theirs, WriteOperation::Update, dialogs);
    mine.setNumber(1, 8);
    WriteOptions options;
    options.changedAsUpdateError = true;
    EXPECT_FALSE(writeRecord(f.mine, mine, WriteOperation::Update, dialogs, options));
    EXPECT_EQ(dialogs.shown.back().caption, "Update Operation Error");
    EXPECT_NE(dialogs.shown.back().text.find("Probable Cause: Record Changed by Another Station."),
              std::string::npos);
    // Now current: the write goes through.
    mine.setNumber(1, 9);
    EXPECT_TRUE(writeRecord(f.mine, mine, WriteOperation::Update, dialogs));
}

TEST(RecordWriter, ABusyFileCannotFrameTheTransaction)
{
    Files f;
    ScriptedDialogs dialogs;
    Record r = f.mine.newRecord();
    r.setText(0, "x");
    writeRecord(f.mine, r, WriteOperation::Add, dialogs);
    ASSERT_TRUE(f.theirs.beginTransaction(std::chrono::milliseconds(100)).ok());
    WriteOptions options;
    options.transactionWait = std::chrono::milliseconds(50);
    EXPECT_FALSE(writeRecord(f.mine, r, WriteOperation::Delete, dialogs, options));
    EXPECT_EQ(dialogs.shown.back().caption, "Transaction Framing Error");
    EXPECT_EQ(dialogs.shown.back().text,
              "Error: (File Is Already Locked (32)) attempting to frame the Delete transaction "
              "on config5.tps.  Delete transaction cancelled.");
    ASSERT_TRUE(f.theirs.rollback().ok());
    EXPECT_EQ(f.mine.records(), 1);
}

TEST(RecordWriter, AFailedAddIsReported)
{
    Files f;
    ScriptedDialogs dialogs;
    Record a = f.mine.newRecord(), b = f.mine.newRecord();
    a.setText(0, "same");
    b.setText(0, "SAME");
    ASSERT_TRUE(writeRecord(f.mine, a, WriteOperation::Add, dialogs));
    EXPECT_FALSE(writeRecord(f.mine, b, WriteOperation::Add, dialogs));
    EXPECT_EQ(dialogs.shown.back().caption, "Record Insert Error");
    EXPECT_EQ(dialogs.shown.back().text,
              "An error was experienced during the update of record.  Error: Creates Duplicate Key (40).");
    EXPECT_EQ(f.mine.records(), 1);
}

TEST(RecordWriter, AWriteTheDiskRefusesLeavesTheRecordAsItWasInTheFile)
{
    Files f;
    ScriptedDialogs dialogs;
    Record kept = f.mine.newRecord();
    kept.setText(0, "kept");
    ASSERT_TRUE(writeRecord(f.mine, kept, WriteOperation::Add, dialogs));
    const std::int64_t position = kept.position();
    const std::int64_t version = kept.version();
    Record fresh = f.mine.newRecord();
    fresh.setText(0, "fresh");
    {
        kestrix::runtime::testing::FailingWrites full;
        kept.setNumber(1, 7);
        EXPECT_FALSE(writeRecord(f.mine, kept, WriteOperation::Update, dialogs));
        EXPECT_EQ(dialogs.shown.back().caption, "Update Operation Error");
        EXPECT_NE(dialogs.shown.back().text.find("There is not enough space on the disk."), std::string::npos)
            << dialogs.shown.back().text;
        EXPECT_FALSE(writeRecord(f.mine, fresh, WriteOperation::Add, dialogs));
        EXPECT_EQ(dialogs.shown.back().caption, "Record Insert Error");
        EXPECT_GT(full.refused(), 0);
    }
    EXPECT_FALSE(f.mine.inTransaction());
    EXPECT_EQ(kept.position(), position);
    EXPECT_EQ(kept.version(), version);
    EXPECT_EQ(fresh.position(), 0); // never added: a later save adds it, not updates a row it never had
    EXPECT_EQ(f.theirs.records(), 1);
    Record read = f.theirs.newRecord();
    ASSERT_TRUE(f.theirs.fetch(position, read).ok());
    EXPECT_EQ(read.number(1), 0);

    // Room again: both go through, without being taken for a change by another program.
    const std::size_t shown = dialogs.shown.size();
    EXPECT_TRUE(writeRecord(f.mine, kept, WriteOperation::Update, dialogs));
    EXPECT_TRUE(writeRecord(f.mine, fresh, WriteOperation::Add, dialogs));
    EXPECT_EQ(dialogs.shown.size(), shown);
    ASSERT_TRUE(f.theirs.fetch(position, read).ok());
    EXPECT_EQ(read.number(1), 7);
    EXPECT_EQ(f.theirs.records(), 2);
}

TEST(RecordWriter, TheFirstRecordOfAOneRecordFileIsAddedOnce)
{
    Files f;
    ScriptedDialogs dialogs;
    Record theirs = f.theirs.newRecord();
    theirs.setText(0, "theirs");
    ASSERT_TRUE(writeRecord(f.theirs, theirs, WriteOperation::AddFirst, dialogs));
    EXPECT_TRUE(dialogs.shown.empty());

    // This program's form was opened on the empty file too: its add comes second.
    Record mine = f.mine.newRecord();
    mine.setText(0, "mine");
    EXPECT_FALSE(writeRecord(f.mine, mine, WriteOperation::AddFirst, dialogs));
    EXPECT_EQ(dialogs.captions(), std::vector<std::string>{"Record Was Not Updated"});
    EXPECT_EQ(mine.text(0), "theirs") << "the other program's record is shown";
    EXPECT_NE(mine.position(), 0);
    EXPECT_EQ(f.mine.records(), 1);
    EXPECT_FALSE(f.mine.inTransaction());
}
