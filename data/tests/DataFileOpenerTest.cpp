#include "data/DataFileOpener.h"
#include "data/DataFileNames.h"
#include "data/DataFileRegistry.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"
#include "runtime/testing/Unprivileged.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>

using namespace kestrix::data;
using namespace kestrix::runtime;
using kestrix::runtime::testing::ScriptedDialogs;
using kestrix::runtime::testing::TempDir;
namespace fs = std::filesystem;

namespace {

std::shared_ptr<RecordLayout> layout()
{
    auto l = std::make_shared<RecordLayout>("MI");
    l->addString("NAME", 20);
    l->addKey("KEY", {0});
    return l;
}

const OpenOptions quick{true, std::chrono::milliseconds(50)};

} // namespace

TEST(OpenDataFile, AMissingFileIsCreatedSilently)
{
    TempDir dir;
    ScriptedDialogs dialogs;
    KeyedFile file("MSGINSER", layout());
    EXPECT_EQ(openDataFile(file, dialogs, quick), OpenOutcome::Opened);
    EXPECT_TRUE(file.isOpen());
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(fs::exists("MSGINSER.tps"));
}

TEST(OpenDataFile, WithoutCreationAMissingFileStopsTheProgram)
{
    TempDir dir;
    ScriptedDialogs dialogs;
    KeyedFile file("MSGINSER", layout());
    EXPECT_EQ(openDataFile(file, dialogs, {false, std::chrono::milliseconds(50)}), OpenOutcome::Halt);
    EXPECT_EQ(dialogs.captions(), std::vector<std::string>{"File Access Error"});
    EXPECT_FALSE(fs::exists("MSGINSER.tps"));
}

TEST(OpenDataFile, ADamagedKeyIsRebuiltOnYesAndLeftAloneOnNo)
{
    TempDir dir;
    {
        KeyedFile file("MSGINSER", layout());
        ASSERT_TRUE(file.create().ok());
        ASSERT_TRUE(file.open().ok());
        Record r = file.newRecord();
        r.setText(0, "kept");
        ASSERT_TRUE(file.add(r).ok());
    }
    sqlite3* db = nullptr;
    sqlite3_open("MSGINSER.tps", &db);
    sqlite3_exec(db, "DROP INDEX \"Records_KEY\"", nullptr, nullptr, nullptr);
    sqlite3_close(db);

    ScriptedDialogs no;
    no.answers = {Button::No};
    KeyedFile refused("MSGINSER", layout());
    EXPECT_EQ(openDataFile(refused, no, quick), OpenOutcome::Halt);
    EXPECT_EQ(no.captions(), (std::vector<std::string>{"Invalid Key", "File Access Error"}));
    EXPECT_EQ(no.shown[1].text,
              "File (MSGINSER) could not be opened.  Error: Key File Must Be Rebuilt (46).");
    EXPECT_FALSE(refused.isOpen());

    ScriptedDialogs yes;
    yes.answers = {Button::Yes};
    KeyedFile rebuilt("MSGINSER", layout());
    EXPECT_EQ(openDataFile(rebuilt, yes, quick), OpenOutcome::Opened);
    EXPECT_EQ(yes.captions(), std::vector<std::string>{"Invalid Key"});
    EXPECT_EQ(rebuilt.records(), 1); // nothing lost
}

TEST(OpenDataFile, AFileOfAnotherLayoutOrNoDatabaseAtAllIsReportedAndKept)
{
    TempDir dir;
    {
        auto other = std::make_shared<RecordLayout>("X");
        other->addNumber("N", FieldType::Long);
        KeyedFile file("MSGINSER", other);
        ASSERT_TRUE(file.create().ok());
    }
    const auto sizeBefore = fs::file_size("MSGINSER.tps");
    ScriptedDialogs dialogs;
    KeyedFile file("MSGINSER", layout());
    EXPECT_EQ(openDataFile(file, dialogs, quick), OpenOutcome::Halt);
    EXPECT_EQ(dialogs.captions(), (std::vector<std::string>{"Invalid File", "File Access Error"}));
    EXPECT_EQ(
        dialogs.shown[0].text,
        "Error: (Invalid Record Declaration (47)) accessing MSGINSER.  Press OK to end this application.");
    EXPECT_EQ(fs::file_size("MSGINSER.tps"), sizeBefore);

    std::ofstream("CODESTOR.tps") << std::string(200, 'x');
    ScriptedDialogs junk;
    KeyedFile notDb("CODESTOR", layout());
    EXPECT_EQ(openDataFile(notDb, junk, quick), OpenOutcome::Halt);
    EXPECT_EQ(junk.captions(), (std::vector<std::string>{"Damaged File", "File Access Error"}));
    EXPECT_EQ(junk.shown[0].text,
              "The file CODESTOR is damaged and cannot be read.  Error: Invalid Data File (36).");
    EXPECT_EQ(junk.shown.back().text, "File (CODESTOR) could not be opened.  Error: Invalid Data File (36).");
    EXPECT_EQ(fs::file_size("CODESTOR.tps"), 200u);
}

TEST(OpenDataFile, ALockedFileIsRecoveredWhenTheOtherProgramLetsGo)
{
    TempDir dir;
    KeyedFile file("MSGINSER", layout());
    ASSERT_TRUE(file.create().ok());
    sqlite3* holder = nullptr;
    sqlite3_open("MSGINSER.tps", &holder);
    sqlite3_exec(holder,
                 "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; INSERT INTO Records(NAME) VALUES('x');",
                 nullptr, nullptr, nullptr);
    ScriptedDialogs stillLocked;
    file.setBusyTimeout(std::chrono::milliseconds(60000)); // the open's own wait decides, not this
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(openDataFile(file, stillLocked, quick), OpenOutcome::Halt);
    // Only a guard against the old wait of a minute: the whole open was given 50 ms.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_EQ(stillLocked.shown.back().text,
              "File (MSGINSER) could not be opened.  Error: File Is Already Locked (32).");

    // The other program commits while we wait in the recovery.
    file.onLockWait([&] {
        if (!holder)
            return;
        sqlite3_exec(holder, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(holder);
        holder = nullptr;
    });
    ScriptedDialogs dialogs;
    EXPECT_EQ(openDataFile(file, dialogs, {true, std::chrono::milliseconds(60000)}), OpenOutcome::Opened);
    EXPECT_EQ(holder, nullptr);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(file.records(), 1);
}

TEST(OpenDataFile, AFolderThatCannotBeWrittenGivesTheCreationMessages)
{
    if (!kestrix::runtime::testing::writesCanBeDenied())
        GTEST_SKIP() << "no account here is denied what the test's own account created";
    TempDir dir;
    fs::create_directory("locked");
    fs::permissions("locked", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                  fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    const int captionsSeen = kestrix::runtime::testing::runUnprivileged([] {
        ScriptedDialogs dialogs;
        KeyedFile file("locked\\config5.tps", layout());
        if (openDataFile(file, dialogs, quick) != OpenOutcome::Halt)
            return 1;
        const std::vector<std::string> expected{"File Creation Error", "File Creation Error",
                                                "File Access Error"};
        if (dialogs.captions() != expected)
            return 2;
        if (dialogs.shown[0].text !=
            "Error: (Access Denied (5)) creating locked\\config5.tps.  Press OK to end this application.")
            return 3;
        return 0;
    });
    EXPECT_EQ(captionsSeen, 0);
    EXPECT_FALSE(fs::exists("locked/config5.tps"));
}

TEST(DataFileRegistry, TheFirstUserOpensAndTheLastClosesTheFile)
{
    TempDir dir;
    ScriptedDialogs dialogs;
    DataFileRegistry registry(dialogs, quick);
    {
        DataFileUse first(registry, "MSGINSER", layout());
        ASSERT_TRUE(first);
        {
            DataFileUse second(registry, "msginser", layout());
            EXPECT_EQ(second.file(), first.file());
            EXPECT_EQ(registry.useCount("MSGINSER"), 2);
        }
        EXPECT_EQ(registry.useCount("MSGINSER"), 1);
        EXPECT_TRUE(first.file()->isOpen());
    }
    EXPECT_EQ(registry.useCount("MSGINSER"), 0);
    EXPECT_EQ(registry.file("MSGINSER"), nullptr);
    fs::remove("MSGINSER.tps");
    DataFileUse again(registry, "MSGINSER", layout()); // deleted meanwhile: created again, silently
    EXPECT_TRUE(again);
    EXPECT_TRUE(dialogs.shown.empty());
}

namespace {

void writeDamaged(const std::string& file)
{
    std::ofstream(file) << std::string(600, 'x');
}

} // namespace

TEST(OpenDataFile, ADamagedFileWithASourceIsSetAsideAndRecreatedOnYes)
{
    TempDir dir;
    writeDamaged("Equates5.tps");
    ScriptedDialogs no; // the default answer
    KeyedFile refused(FileName::Equates, layout());
    EXPECT_EQ(openDataFile(refused, no, quick), OpenOutcome::Halt);
    ASSERT_EQ(no.captions(), (std::vector<std::string>{"Damaged File", "File Access Error"}));
    EXPECT_EQ(no.shown[0].text,
              "The file Equates5.tps is damaged and cannot be read.  Do you want to set it aside and "
              "rebuild it from the Clarion equate files?");
    EXPECT_EQ(fs::file_size("Equates5.tps"), 600u) << "No leaves the file as it was";

    ScriptedDialogs yes;
    yes.answers = {Button::Yes};
    KeyedFile rebuilt(FileName::Equates, layout());
    EXPECT_EQ(openDataFile(rebuilt, yes, quick), OpenOutcome::Recreated);
    EXPECT_EQ(yes.captions(), std::vector<std::string>{"Damaged File"});
    EXPECT_TRUE(rebuilt.isOpen());
    EXPECT_EQ(rebuilt.records(), 0) << "empty: the caller fills it again from its source";
    EXPECT_EQ(fs::file_size("Equates5.tps.damaged"), 600u) << "nothing of the damaged file is lost";

    DataFileRegistry registry(yes, quick);
    writeDamaged("Tips5.tps");
    yes.answers = {Button::Yes};
    EXPECT_NE(registry.acquire(FileName::Tips, layout()), nullptr) << "a recreated file is one to use";
}

TEST(OpenDataFile, ADamagedFileOfTheUsersOwnRecordsIsNamedAndKept)
{
    TempDir dir;
    writeDamaged("MESSAGE.tps");
    ScriptedDialogs dialogs;
    KeyedFile file(FileName::Messages, layout());
    EXPECT_EQ(openDataFile(file, dialogs, quick), OpenOutcome::Halt);
    EXPECT_EQ(dialogs.captions(), (std::vector<std::string>{"Damaged File", "File Access Error"}));
    EXPECT_EQ(dialogs.shown[0].text,
              "The file MESSAGE is damaged and cannot be read.  Error: Invalid Data File (36).");
    EXPECT_EQ(fs::file_size("MESSAGE.tps"), 600u);
    EXPECT_FALSE(fs::exists("MESSAGE.tps.damaged"));
}

TEST(OpenDataFile, AFolderInPlaceOfTheFileOrANameTooLongIsSaidSo)
{
    TempDir dir;
    fs::create_directory("MSGINSER.tps");
    ScriptedDialogs folder;
    KeyedFile file("MSGINSER", layout());
    EXPECT_EQ(openDataFile(file, folder, quick), OpenOutcome::Halt);
    EXPECT_EQ(
        folder.shown.back().text,
        "File (MSGINSER) could not be opened.  Error: An operation is not supported on a directory. (336).");
    EXPECT_TRUE(fs::is_directory("MSGINSER.tps"));

    ScriptedDialogs tooLong;
    KeyedFile longName(std::string(300, 'n'), layout());
    EXPECT_EQ(openDataFile(longName, tooLong, quick), OpenOutcome::Halt);
    ASSERT_FALSE(tooLong.shown.empty());
    EXPECT_NE(tooLong.shown[0].text.find("The filename or extension is too long. (206)"), std::string::npos)
        << tooLong.shown[0].text;
    for (const auto& box : tooLong.shown)
        EXPECT_EQ(box.text.find("Access Denied"), std::string::npos) << box.text;
}
