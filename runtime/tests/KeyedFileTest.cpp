#include "runtime/KeyedFile.h"
#include "runtime/KeyedFileProbe.h"
#include "runtime/testing/ForeignSql.h"
#include "runtime/testing/TempDir.h"
#include "runtime/testing/Unprivileged.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>

using namespace kestrix::runtime;
namespace fs = std::filesystem;

namespace {

enum { Name, Kind, Count };
enum { ByName, ByKindCount, ById };

std::shared_ptr<RecordLayout> layout(bool uniqueName = false)
{
    auto l = std::make_shared<RecordLayout>("T");
    l->addString("NAME", 10);
    l->addString("KIND", 6);
    l->addNumber("COUNT", FieldType::Long);
    l->addKey("BYNAME", {Name}, uniqueName);
    l->addKey("BYKINDCOUNT", {Kind, Count});
    l->addKey("BYID", {Count}, false, true, false);
    return l;
}

Record make(const KeyedFile& f, const std::string& name, const std::string& kind, int count)
{
    Record r = f.newRecord();
    r.setText(Name, name);
    r.setText(Kind, kind);
    r.setNumber(Count, count);
    return r;
}

std::vector<std::string> names(KeyedFile& f, bool forward = true)
{
    std::vector<std::string> out;
    Record r = f.newRecord();
    while ((forward ? f.next(r) : f.previous(r)).ok())
        out.push_back(r.text(Name));
    return out;
}

void sql(const fs::path& file, const std::string& statement)
{
    EXPECT_EQ(kestrix::runtime::testing::runForeignSql(file, statement), "");
}

class KeyedFileTest : public ::testing::Test
{
protected:
    kestrix::runtime::testing::TempDir dir;
    KeyedFile file{"PEOPLE", layout()};

    void SetUp() override
    {
        ASSERT_EQ(file.open().code, ErrorCode::FileNotFound);
        ASSERT_TRUE(file.create().ok());
        ASSERT_TRUE(file.open().ok());
    }
    void fill()
    {
        for (auto [n, k, c] : {std::tuple{"delta", "B", 4},
                               {"Alpha", "A", 2},
                               {"charlie", "", 0},
                               {"BRAVO", "A", 1},
                               {"", "C", 9},
                               {"alpha", "A", 3}}) {
            Record r = make(file, n, k, c);
            ASSERT_TRUE(file.add(r).ok());
        }
    }
};

} // namespace

TEST(DataFileNames, DefaultExtensionAndTablesInsideAFile)
{
    EXPECT_EQ(splitDataFileName("MESSAGE").fileName, "MESSAGE.tps");
    EXPECT_EQ(splitDataFileName("HelpLis5.TPS").fileName, "HelpLis5.TPS");
    const DataFileName pop = splitDataFileName("Config\\!PopData");
    EXPECT_EQ(pop.fileName, "Config.tps");
    EXPECT_EQ(pop.table, "PopData");
    EXPECT_EQ(splitDataFileName("C:\\dir.x\\CodeStor\\!CodeType").fileName, "C:\\dir.x\\CodeStor.tps");
}

TEST_F(KeyedFileTest, KeyOrderIgnoresCaseAndLeavesBlankValuesOut)
{
    fill();
    EXPECT_EQ(file.records(), 6);
    file.setOrder(ByName);
    EXPECT_EQ(names(file), (std::vector<std::string>{"Alpha", "alpha", "BRAVO", "charlie", "delta"}));
    file.setOrder(ByKindCount);
    EXPECT_EQ(names(file), (std::vector<std::string>{"BRAVO", "Alpha", "alpha", "delta", ""}));
    file.setOrder(ById); // blanks kept in this key
    EXPECT_EQ(names(file).size(), 6u);
    file.setOrder(KeyedFile::FileOrder);
    EXPECT_EQ(names(file).front(), "delta");
}

TEST_F(KeyedFileTest, ReadingStartsAtAValueAndGoesEitherWay)
{
    fill();
    Record start = file.newRecord();
    start.setText(Name, "B");
    file.setFrom(ByName, start);
    EXPECT_EQ(names(file), (std::vector<std::string>{"BRAVO", "charlie", "delta"}));
    file.setFrom(ByName, start);
    EXPECT_EQ(names(file, false), (std::vector<std::string>{"alpha", "Alpha"}));
    file.setOrder(ByName);
    EXPECT_EQ(names(file, false), (std::vector<std::string>{"delta", "charlie", "BRAVO", "alpha", "Alpha"}));
    // Past the end reports record not available, and stays there.
    file.setOrder(ByName);
    EXPECT_EQ(names(file).size(), 5u);
    Record r = file.newRecord();
    EXPECT_EQ(file.next(r).code, ErrorCode::RecordNotAvailable);
    EXPECT_TRUE(file.previous(r).ok());
    EXPECT_EQ(r.text(Name), "delta");
}

TEST_F(KeyedFileTest, GetFindsByKeyAndByPosition)
{
    fill();
    Record r = file.newRecord();
    r.setText(Name, "CHARLIE  ");
    ASSERT_TRUE(file.get(ByName, r).ok());
    EXPECT_EQ(r.text(Name), "charlie");
    const auto position = r.position();
    Record again = file.newRecord();
    ASSERT_TRUE(file.fetch(position, again).ok());
    EXPECT_TRUE(again.sameValues(r));
    r.clear();
    EXPECT_EQ(file.get(ByName, r).code, ErrorCode::RecordNotFound); // blank is not in the key
    EXPECT_EQ(file.fetch(9999, r).code, ErrorCode::RecordNotFound);
}

TEST_F(KeyedFileTest, PutAndDeleteNoticeAChangeByAnotherProgram)
{
    fill();
    KeyedFile other("people", layout());
    ASSERT_TRUE(other.open().ok());
    Record mine = make(file, "BRAVO", "", 0);
    ASSERT_TRUE(file.get(ByName, mine).ok());
    Record theirs = other.newRecord();
    ASSERT_TRUE(other.fetch(mine.position(), theirs).ok());

    theirs.setNumber(Count, 77);
    ASSERT_TRUE(other.put(theirs).ok());
    mine.setNumber(Count, 55);
    EXPECT_EQ(file.put(mine).code, ErrorCode::RecordChanged);
    EXPECT_EQ(file.remove(mine).code, ErrorCode::RecordChanged);
    ASSERT_TRUE(file.reget(mine).ok());
    EXPECT_EQ(mine.number(Count), 77);
    mine.setNumber(Count, 55);
    EXPECT_TRUE(file.put(mine).ok());
    EXPECT_TRUE(file.put(mine).ok()); // a record may be written twice in a row
    EXPECT_TRUE(file.remove(mine).ok());
    EXPECT_EQ(other.put(theirs).code, ErrorCode::RecordNotAvailable);
    Record unread = file.newRecord();
    EXPECT_EQ(file.put(unread).code, ErrorCode::RecordNotAvailable);
}

TEST(KeyedFile, UniqueKeysRefuseDuplicatesButNotBlanks)
{
    kestrix::runtime::testing::TempDir dir;
    KeyedFile file("U", layout(true));
    ASSERT_TRUE(file.create().ok());
    ASSERT_TRUE(file.open().ok());
    Record a = make(file, "Same", "", 1), b = make(file, "SAME", "", 2);
    Record blank1 = make(file, "", "", 3), blank2 = make(file, "", "", 4);
    EXPECT_TRUE(file.add(a).ok());
    EXPECT_EQ(file.add(b).code, ErrorCode::DuplicateKey);
    EXPECT_EQ(file.lastError().describe(), "Creates Duplicate Key (40)");
    EXPECT_TRUE(file.add(blank1).ok());
    EXPECT_TRUE(file.add(blank2).ok());
    EXPECT_EQ(file.records(), 3);
}

TEST(KeyedFile, TablesOfOneFileAreIndependent)
{
    kestrix::runtime::testing::TempDir dir;
    KeyedFile first("Config\\!PopData", layout()), second("CONFIG\\!Other", layout());
    ASSERT_TRUE(first.create().ok());
    EXPECT_EQ(second.open().code, ErrorCode::FileNotFound); // the file exists, the table does not
    ASSERT_TRUE(second.create().ok());
    ASSERT_TRUE(first.open().ok());
    ASSERT_TRUE(second.open().ok());
    Record r = make(first, "x", "", 1);
    EXPECT_TRUE(first.add(r).ok());
    EXPECT_EQ(first.records(), 1);
    EXPECT_EQ(second.records(), 0);
    EXPECT_TRUE(fs::exists("Config.tps"));
    EXPECT_EQ(first.open().code, ErrorCode::FileAlreadyOpen);
}

TEST(KeyedFile, TransactionsAndStreamMode)
{
    kestrix::runtime::testing::TempDir dir;
    KeyedFile file("T", layout());
    ASSERT_TRUE(file.create().ok());
    ASSERT_TRUE(file.open().ok());
    ASSERT_TRUE(file.beginTransaction(std::chrono::milliseconds(100)).ok());
    EXPECT_EQ(file.beginTransaction(std::chrono::milliseconds(100)).code, ErrorCode::TransactionActive);
    Record r = make(file, "gone", "", 1);
    EXPECT_TRUE(file.add(r).ok());
    ASSERT_TRUE(file.rollback().ok());
    EXPECT_EQ(file.records(), 0);

    ASSERT_TRUE(file.stream().ok());
    for (int i = 0; i < 500; ++i) {
        Record row = make(file, "n" + std::to_string(i), "k", i);
        ASSERT_TRUE(file.add(row).ok());
    }
    ASSERT_TRUE(file.flush().ok());
    KeyedFile reader("T", layout());
    ASSERT_TRUE(reader.open().ok());
    EXPECT_EQ(reader.records(), 500);
}

TEST(KeyedFile, FilesThatAreNotWhatTheProgramExpects)
{
    kestrix::runtime::testing::TempDir dir;
    std::ofstream("NOTDB.tps") << "this is a plain text file, not a data file at all........................";
    KeyedFile notDb("NOTDB", layout());
    const FileError error = notDb.open();
    EXPECT_TRUE(error.isDamaged());
    EXPECT_EQ(error.describe(), "Invalid Data File (36)");
    EXPECT_EQ(error.fileErrorText(), "The file or directory is corrupted and unreadable.");

    KeyedFile good("OTHER", layout());
    ASSERT_TRUE(good.create().ok());
    auto changed = std::make_shared<RecordLayout>("T");
    changed->addString("NAME", 10);
    KeyedFile wrongLayout("OTHER", changed);
    EXPECT_EQ(wrongLayout.open().code, ErrorCode::InvalidRecordDeclaration);

    sql("OTHER.tps", "DROP INDEX \"Records_BYKINDCOUNT\"");
    EXPECT_EQ(good.open().code, ErrorCode::BadKeyFile);
    ASSERT_TRUE(good.rebuildKeys().ok());
    EXPECT_TRUE(good.open().ok());
}

TEST(KeyedFile, ARebuildThatMeetsDuplicatesFails)
{
    kestrix::runtime::testing::TempDir dir;
    KeyedFile loose("D", layout(false));
    ASSERT_TRUE(loose.create().ok());
    ASSERT_TRUE(loose.open().ok());
    Record a = make(loose, "dup", "", 1), b = make(loose, "DUP", "", 2);
    EXPECT_TRUE(loose.add(a).ok());
    EXPECT_TRUE(loose.add(b).ok());
    loose.close();
    KeyedFile strict("D", layout(true));
    EXPECT_EQ(strict.open().code, ErrorCode::BadKeyFile);
    EXPECT_EQ(strict.rebuildKeys().code, ErrorCode::DuplicateKey);
    KeyedFile again("D", layout(false));
    EXPECT_TRUE(again.open().ok()); // the failed rebuild changed nothing
}

TEST(KeyedFile, LockedFilesAndFilesThatMayNotBeWritten)
{
    kestrix::runtime::testing::TempDir dir;
    KeyedFile file("L", layout());
    ASSERT_TRUE(file.create().ok());

    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open("L.tps", &holder), SQLITE_OK);
    sqlite3_exec(holder,
                 "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; INSERT INTO Records(NAME) VALUES('x');",
                 nullptr, nullptr, nullptr);
    EXPECT_EQ(file.open().code, ErrorCode::FileLocked);
    EXPECT_EQ(file.recover(std::chrono::milliseconds(50)).code, ErrorCode::FileLocked);
    sqlite3_exec(holder, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
    EXPECT_TRUE(file.recover(std::chrono::milliseconds(50)).ok());
    EXPECT_TRUE(file.open().ok());
    file.close();

    if (!kestrix::runtime::testing::writesCanBeDenied())
        GTEST_SKIP() << "no account here is denied what the test's own account created";
    EXPECT_EQ(kestrix::runtime::testing::runUnprivileged([&] { return file.open().code; }),
              ErrorCode::AccessDenied);
    EXPECT_EQ(kestrix::runtime::testing::runUnprivileged([] {
                  KeyedFile created("NEW", layout());
                  return created.create().code;
              }),
              ErrorCode::AccessDenied)
        << "a folder that may not be written";
}

TEST(KeyedFile, ACaseSensitiveKeyKeepsCasesApart)
{
    kestrix::runtime::testing::TempDir dir;
    auto l = std::make_shared<RecordLayout>("C");
    l->addString("NAME", 10);
    l->addKey("EXACT", {0}, true, false);
    KeyedFile file("C", l);
    ASSERT_TRUE(file.create().ok());
    ASSERT_TRUE(file.open().ok());
    for (const char* n : {"b", "B", "a", "A"}) {
        Record r = file.newRecord();
        r.setText(0, n);
        ASSERT_TRUE(file.add(r).ok()) << n; // unique, yet "b" and "B" differ
    }
    file.setOrder(0);
    std::vector<std::string> order;
    Record r = file.newRecord();
    while (file.next(r).ok())
        order.push_back(r.text(0));
    EXPECT_EQ(order, (std::vector<std::string>{"A", "B", "a", "b"}));
    r.clear();
    r.setText(0, "a");
    ASSERT_TRUE(file.get(0, r).ok());
    EXPECT_EQ(r.text(0), "a");
}

TEST_F(KeyedFileTest, NextAndPreviousNeedASetAndAGetPositionsNothing)
{
    fill();
    Record r = file.newRecord();
    EXPECT_EQ(file.next(r).code, ErrorCode::NoSequence) << "no SET since the file was opened";
    EXPECT_EQ(file.previous(r).code, ErrorCode::NoSequence);
    EXPECT_EQ(r.position(), 0) << "nothing was read";

    file.setOrder(ByName);
    ASSERT_TRUE(file.next(r).ok());
    EXPECT_EQ(r.text(Name), "Alpha");
    // A GET in the middle of a walk ends it: reading on would start from an old position.
    Record wanted = file.newRecord();
    wanted.setText(Name, "delta");
    ASSERT_TRUE(file.get(ByName, wanted).ok());
    EXPECT_EQ(file.next(r).code, ErrorCode::NoSequence);
    EXPECT_EQ(file.lastError().text(), "No SET Before NEXT or PREVIOUS");

    file.setOrder(ByName);
    ASSERT_TRUE(file.next(r).ok());
    ASSERT_TRUE(file.fetch(r.position(), wanted).ok());
    EXPECT_EQ(file.previous(r).code, ErrorCode::NoSequence) << "a GET by position positions nothing either";

    file.setFrom(ByName, wanted);
    ASSERT_TRUE(file.next(r).ok());
    EXPECT_EQ(r.text(Name), "Alpha");
    file.close();
    ASSERT_TRUE(file.open().ok());
    EXPECT_EQ(file.next(r).code, ErrorCode::NoSequence) << "a walk does not outlive the open";
}

TEST(KeyedFile, CreateIfMissingNeverDropsWhatAnotherProgramMade)
{
    kestrix::runtime::testing::TempDir dir;
    KeyedFile late("SHARED", layout(true));
    EXPECT_EQ(late.open().code, ErrorCode::FileNotFound);

    // Another program creates the file and writes to it between our open and our create.
    KeyedFile early("SHARED", layout(true));
    ASSERT_TRUE(early.createIfMissing().ok());
    ASSERT_TRUE(early.open().ok());
    Record theirs = make(early, "theirs", "", 1);
    ASSERT_TRUE(early.add(theirs).ok());

    ASSERT_TRUE(late.createIfMissing().ok());
    ASSERT_TRUE(late.open().ok());
    EXPECT_EQ(late.records(), 1);
    Record found = make(late, "THEIRS", "", 0);
    EXPECT_TRUE(late.get(ByName, found).ok());
}

TEST(KeyedFile, InitialRecordsAreAddedOnlyWhileMissing)
{
    kestrix::runtime::testing::TempDir dir;
    KeyedFile file("INIT", layout());
    const Record templ = make(file, "ZZ-DEFAULT", "T", 0);
    for (int round = 0; round < 3; ++round)
        ASSERT_TRUE(file.createIfMissing({templ}, ByName).ok());
    ASSERT_TRUE(file.open().ok());
    EXPECT_EQ(file.records(), 1) << "one template, however often it was asked for";
    // Called on the open file after the template was deleted: it comes back, once.
    Record found = make(file, "zz-default", "", 0);
    ASSERT_TRUE(file.get(ByName, found).ok());
    ASSERT_TRUE(file.remove(found).ok());
    ASSERT_TRUE(file.createIfMissing({templ, templ}, ByName).ok());
    EXPECT_EQ(file.records(), 1);
    EXPECT_TRUE(file.isOpen()) << "left open as it was";

    // In file order: added only into a file that holds no record at all.
    KeyedFile single("SINGLE", layout());
    const Record first = make(single, "first", "", 1);
    ASSERT_TRUE(single.createIfMissing({first}).ok());
    ASSERT_TRUE(single.createIfMissing({make(single, "second", "", 2)}).ok());
    ASSERT_TRUE(single.open().ok());
    EXPECT_EQ(single.readAll(KeyedFile::FileOrder).size(), 1u);
}

TEST(KeyedFile, ALockedFileReturnsTheLockErrorWithinTheWaitGiven)
{
    kestrix::runtime::testing::TempDir dir;
    KeyedFile file("L", layout());
    ASSERT_TRUE(file.create().ok());
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open("L.tps", &holder), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(holder,
                     "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; INSERT INTO Records(NAME) VALUES('x');",
                     nullptr, nullptr, nullptr),
        SQLITE_OK);
    file.setBusyTimeout(std::chrono::milliseconds(60000)); // the open's own wait decides, not this
    int waits = 0;
    file.onLockWait([&] { ++waits; });

    // Only a guard against the old hang of many seconds: the wait asked for is 50 ms.
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(file.open(std::chrono::milliseconds(50)).code, ErrorCode::FileLocked);
    EXPECT_EQ(file.recover(std::chrono::milliseconds(50)).code, ErrorCode::FileLocked);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_FALSE(file.isOpen());
    EXPECT_GE(waits, 2) << "each of them waited for the lock";

    // Released while the next open waits: that open goes through.
    file.onLockWait([&] {
        sqlite3_exec(holder, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(holder);
        holder = nullptr;
    });
    EXPECT_TRUE(file.open(std::chrono::milliseconds(60000)).ok());
    EXPECT_EQ(file.records(), 1);
    if (holder)
        sqlite3_close(holder);
}

TEST(KeyedFile, ABriefUseTakesAFileNobodyHasAndSharesOneInUse)
{
    kestrix::runtime::testing::TempDir dir;
    {
        KeyedFile made("L", layout());
        ASSERT_TRUE(made.create().ok());
        ASSERT_TRUE(made.open().ok());
        Record r = make(made, "first", "A", 1);
        ASSERT_TRUE(made.add(r).ok());
    }
    std::error_code ec;
    fs::remove("L.tps-shm", ec);

    // Nobody else has it: the brief use holds it alone, with the log's index in its own memory.
    KeyedFile brief("L", layout());
    brief.setSharing(Sharing::BriefWhenAlone);
    ASSERT_TRUE(brief.open().ok());
    EXPECT_FALSE(fs::exists("L.tps-shm")) << "no shared index for a use nobody shares";
    Record saved = make(brief, "second", "A", 2);
    ASSERT_TRUE(brief.add(saved).ok());

    // Another program's open waits for the brief use to end, and then reads what it saved.
    KeyedFile other("L", layout());
    other.setBusyTimeout(std::chrono::milliseconds(60000));
    EXPECT_EQ(other.open(std::chrono::milliseconds(0)).code, ErrorCode::FileLocked);
    int otherWaits = 0;
    other.onLockWait([&] {
        ++otherWaits;
        brief.close();
    });
    ASSERT_TRUE(other.open(std::chrono::milliseconds(60000)).ok());
    EXPECT_EQ(otherWaits, 1);
    EXPECT_EQ(other.records(), 2);

    // The file in use: a brief use shares it at once, without waiting for the other to let go.
    KeyedFile second("L", layout());
    second.setSharing(Sharing::BriefWhenAlone);
    second.setBusyTimeout(std::chrono::milliseconds(60000));
    int secondWaits = 0;
    second.onLockWait([&] { ++secondWaits; });
    ASSERT_TRUE(second.open(std::chrono::milliseconds(60000)).ok());
    EXPECT_EQ(secondWaits, 0);
    Record third = make(second, "third", "B", 3);
    ASSERT_TRUE(second.add(third).ok());
    EXPECT_EQ(other.records(), 3) << "the other program reads the shared use's save while both have it open";
    Record found = other.newRecord();
    found.setText(Name, "second");
    EXPECT_TRUE(other.get(ByName, found).ok());
    EXPECT_EQ(found.number(Count), 2);
}

TEST(KeyedFile, WhatIsInPlaceOfTheFileIsReportedAsWhatItIs)
{
    kestrix::runtime::testing::TempDir dir;
    fs::create_directory("FOLDER.tps");
    KeyedFile folder("FOLDER", layout());
    for (const FileError& error : {folder.open(), folder.create(), folder.createIfMissing()}) {
        EXPECT_EQ(error.code, ErrorCode::FileSystemError);
        EXPECT_EQ(error.describe(), "An operation is not supported on a directory. (336)");
    }

    KeyedFile tooLong(std::string(300, 'n'), layout());
    for (const FileError& error : {tooLong.open(), tooLong.create()})
        EXPECT_EQ(error.describe(), "The filename or extension is too long. (206)");

    KeyedFile noFolder("missing\\NEW", layout());
    EXPECT_EQ(noFolder.create().code, ErrorCode::PathNotFound);

    // SQLite's own result codes are never passed off as the system's error numbers.
    const FileError full = sqliteFileError(SQLITE_FULL, nullptr, "x.tps");
    EXPECT_EQ(full.describe(), "There is not enough space on the disk. (112)");
    EXPECT_EQ(sqliteFileError(SQLITE_IOERR, nullptr, "x.tps").systemCode, SystemError::IoDevice);
    EXPECT_EQ(sqliteFileError(SQLITE_BUSY, nullptr, "x.tps").code, ErrorCode::FileLocked);
}

TEST(KeyedFile, AQuickLookTellsAKeyedFileFromWhatStandsInItsPlace)
{
    kestrix::runtime::testing::TempDir dir;
    KeyedFile made("MADE", layout());
    ASSERT_TRUE(made.create().ok());
    EXPECT_TRUE(looksLikeKeyedFile(made.path()));
    EXPECT_FALSE(looksLikeKeyedFile("MISSING.tps"));
    std::ofstream("EMPTY.tps").flush();
    EXPECT_FALSE(looksLikeKeyedFile("EMPTY.tps"));
    std::ofstream("TEXT.tps") << "SQLite format 2 and then some more text";
    EXPECT_FALSE(looksLikeKeyedFile("TEXT.tps"));
    std::ofstream("SHORT.tps") << "SQLite format 3"; // cut before its sixteenth byte
    EXPECT_FALSE(looksLikeKeyedFile("SHORT.tps"));
    fs::create_directory("FOLDER.tps");
    EXPECT_FALSE(looksLikeKeyedFile("FOLDER.tps"));
}

TEST(KeyedFile, AFileCutShortIsDamagedNotAKeyToRebuild)
{
    kestrix::runtime::testing::TempDir dir;
    {
        KeyedFile file("CUT", layout());
        ASSERT_TRUE(file.create().ok());
        ASSERT_TRUE(file.open().ok());
        ASSERT_TRUE(file.stream().ok());
        for (int i = 0; i < 3000; ++i) {
            Record r = make(file, "name" + std::to_string(i), "kind", i);
            ASSERT_TRUE(file.add(r).ok());
        }
        ASSERT_TRUE(file.flush().ok());
    }
    ASSERT_EQ(fs::exists("CUT.tps-wal") ? fs::file_size("CUT.tps-wal") : 0u, 0u)
        << "the log was written back at close";
    fs::resize_file("CUT.tps", fs::file_size("CUT.tps") / 2);
    KeyedFile cut("CUT", layout());
    const FileError error = cut.open();
    EXPECT_TRUE(error.isDamaged()) << error.describe();
    EXPECT_NE(error.code, ErrorCode::BadKeyFile);
    EXPECT_EQ(error.fileErrorText(), "The file or directory is corrupted and unreadable.");
}

TEST(KeyedFile, AnOlderLayoutIsToldByTheStampNotByTheSchemaText)
{
    kestrix::runtime::testing::TempDir dir;
    KeyedFile file("V", layout());
    ASSERT_TRUE(file.create().ok());
    // A string made longer keeps its column: the file opens as it is.
    auto wider = std::make_shared<RecordLayout>("T");
    wider->addString("NAME", 260);
    wider->addString("KIND", 6);
    wider->addNumber("COUNT", FieldType::Long);
    wider->addKey("BYNAME", {Name});
    wider->addKey("BYKINDCOUNT", {Kind, Count});
    wider->addKey("BYID", {Count}, false, true, false);
    KeyedFile widened("V", wider);
    EXPECT_TRUE(widened.open().ok());
    widened.close();
    // Another key declaration on the same columns: the keys must be rebuilt, and then it opens.
    KeyedFile unique("V", layout(true));
    EXPECT_EQ(unique.open().code, ErrorCode::BadKeyFile);
    ASSERT_TRUE(unique.rebuildKeys().ok());
    EXPECT_TRUE(unique.open().ok());
    unique.close();
    EXPECT_EQ(file.open().code, ErrorCode::BadKeyFile) << "the stamp follows the rebuild";

    // A file from before the stamp: its columns are compared, and with its keys all there it opens.
    sql("V.tps", "PRAGMA user_version = 0");
    KeyedFile legacy("V", layout(true));
    EXPECT_TRUE(legacy.open().ok()) << legacy.lastError().describe();
}

namespace {

// The table is there in the schema's own layout, with its keys.
bool inCurrentLayout(const KeyedSchema& schema, KeyedConnection& connection)
{
    const LayoutCheck found = schema.inspect(connection);
    return found.error.ok() && !found.olderLayout;
}

int cacheSize(KeyedConnection& connection)
{
    sqlite3_stmt* stmt = nullptr;
    int size = 0;
    if (sqlite3_prepare_v2(connection.handle(), "PRAGMA cache_size", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        size = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    return size;
}

} // namespace

TEST(KeyedFile, ARebuildGivesTheConnectionItsCacheSettingBack)
{
    kestrix::runtime::testing::TempDir dir;
    KeyedFile loose("C", layout(false));
    ASSERT_TRUE(loose.create().ok());
    ASSERT_TRUE(loose.open().ok());
    for (int i = 0; i < 50; ++i) {
        Record r = make(loose, "n" + std::to_string(i % 10), "k", i);
        ASSERT_TRUE(loose.add(r).ok());
    }
    loose.close();

    KeyedConnection connection;
    ASSERT_TRUE(connection.open("C.tps", false).ok());
    ASSERT_TRUE(connection.exec("PRAGMA cache_size=-1234").ok());
    const KeyedSchema schema("Records", layout(false));
    ASSERT_TRUE(connection.atomically([&] { return schema.rebuildKeys(connection); }).ok());
    EXPECT_EQ(cacheSize(connection), -1234);
    EXPECT_TRUE(inCurrentLayout(schema, connection));

    // A build that fails on a duplicate gives the setting back as well.
    ASSERT_TRUE(connection.exec("PRAGMA cache_size=77").ok());
    const KeyedSchema unique("Records", layout(true));
    EXPECT_EQ(connection.atomically([&] { return unique.rebuildKeys(connection); }).code,
              ErrorCode::DuplicateKey);
    EXPECT_EQ(cacheSize(connection), 77);
    EXPECT_TRUE(inCurrentLayout(schema, connection)) << "the failed rebuild changed nothing";
}

TEST_F(KeyedFileTest, ALoadersLargerCacheHoldsForThatOpenOnly)
{
    const int usual = file.pageCache();
    ASSERT_NE(usual, 0);
    const int larger = KeyRebuildSortBudgetKib * 2;
    ASSERT_NE(usual, -larger);
    ASSERT_TRUE(file.setPageCache(larger).ok());
    EXPECT_EQ(file.pageCache(), -larger);

    // A rebuild within the larger cache leaves it as the loader asked, and the keys are whole.
    ASSERT_TRUE(file.stream().ok());
    fill();
    ASSERT_TRUE(file.dropKeys().ok());
    ASSERT_TRUE(file.rebuildKeys().ok());
    ASSERT_TRUE(file.flush().ok());
    EXPECT_EQ(file.pageCache(), -larger);
    file.setOrder(ByName);
    EXPECT_EQ(names(file), (std::vector<std::string>{"Alpha", "alpha", "BRAVO", "charlie", "delta"}));

    // The next open, of this file or of another in the same container, has the usual cache again.
    KeyedFile other("PEOPLE", layout());
    ASSERT_TRUE(other.open().ok());
    EXPECT_EQ(other.pageCache(), usual);
    file.close();
    EXPECT_EQ(file.setPageCache(larger).code, ErrorCode::FileNotOpen);
    EXPECT_EQ(file.pageCache(), 0);
    ASSERT_TRUE(file.open().ok());
    EXPECT_EQ(file.pageCache(), usual);
}

TEST(KeyedFile, ColumnsInAnotherOrderAreAnotherLayout)
{
    kestrix::runtime::testing::TempDir dir;
    // The same columns and keys as the layout, made by another program in another order: records are
    // read by column position, so the file is refused rather than read with its fields swapped.
    sql("SWAP.tps",
        "CREATE TABLE Records (_ver INTEGER NOT NULL DEFAULT 0, KIND TEXT COLLATE NOCASE NOT NULL "
        "DEFAULT '', NAME TEXT COLLATE NOCASE NOT NULL DEFAULT '', COUNT INTEGER NOT NULL DEFAULT 0);"
        "CREATE INDEX a ON Records (NAME); CREATE INDEX b ON Records (KIND, COUNT);"
        "CREATE INDEX c ON Records (COUNT);"
        "INSERT INTO Records (KIND, NAME, COUNT) VALUES ('kind', 'name', 5)");
    KeyedFile swapped("SWAP", layout());
    EXPECT_EQ(swapped.open().code, ErrorCode::InvalidRecordDeclaration);

    // In the layout's order the same table opens, and every field reads from its own column.
    sql("SAME.tps",
        "CREATE TABLE Records (_ver INTEGER NOT NULL DEFAULT 0, NAME TEXT COLLATE NOCASE NOT NULL "
        "DEFAULT '', KIND TEXT COLLATE NOCASE NOT NULL DEFAULT '', COUNT INTEGER NOT NULL DEFAULT 0);"
        "CREATE INDEX a ON Records (NAME); CREATE INDEX b ON Records (KIND, COUNT);"
        "CREATE INDEX c ON Records (COUNT);"
        "INSERT INTO Records (KIND, NAME, COUNT) VALUES ('kind', 'name', 5)");
    KeyedFile same("SAME", layout());
    ASSERT_TRUE(same.open().ok()) << same.lastError().describe();
    Record r = same.newRecord();
    same.setOrder(KeyedFile::FileOrder);
    ASSERT_TRUE(same.next(r).ok());
    EXPECT_EQ(r.text(Name), "name");
    EXPECT_EQ(r.text(Kind), "kind");
    EXPECT_EQ(r.number(Count), 5);
    EXPECT_EQ(r.version(), 0);
}

TEST(KeyedFileDeletedWhileOpen, WritesSayNotFoundAndDoNotBringItBack)
{
    kestrix::runtime::testing::TempDir dir;
    KeyedFile file("GONE", layout());
    ASSERT_TRUE(file.create().ok());
    ASSERT_TRUE(file.open().ok());
    Record r = make(file, "a", "k", 1);
    ASSERT_TRUE(file.add(r).ok());
    std::error_code ec;
    if (!fs::remove(file.path(), ec))
        GTEST_SKIP() << "the system keeps an open file from being deleted";
    Record another = make(file, "b", "k", 2);
    EXPECT_EQ(file.add(another).code, ErrorCode::FileNotFound);
    r.setNumber(Count, 5);
    EXPECT_EQ(file.put(r).code, ErrorCode::FileNotFound);
    EXPECT_EQ(file.beginTransaction(std::chrono::milliseconds(50)).code, ErrorCode::FileNotFound);
    EXPECT_FALSE(fs::exists(file.path())) << "a write brought the deleted file back half-made";
}
