#include "organizers/HelpScan.h"
#include "organizers/HelpList.h"
#include "runtime/FixedText.h"
#include "runtime/testing/DirectoryLink.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"
#include "runtime/testing/Unprivileged.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;
using namespace kestrix;
using namespace kestrix::organizers;

using kestrix::runtime::testing::writeTestFile;

namespace {

struct Row
{
    std::string type, name, file, path;
    bool operator==(const Row&) const = default;
};

class HelpScanFixture : public ::testing::Test
{
protected:
    HelpScanFixture() : root((temp.path() / "CW").string()), file(HelpListLayoutName(), helpListLayout())
    {
        fs::create_directories(root);
        EXPECT_FALSE(file.createIfMissing());
        EXPECT_FALSE(file.open());
    }
    static std::string HelpListLayoutName() { return "HelpLis5.TPS"; }

    std::vector<Row> rows()
    {
        std::vector<Row> out;
        for (const runtime::Record& r : file.readAll(Hlp::ByName))
            out.push_back({r.text(Hlp::Type), r.text(Hlp::Name), r.text(Hlp::File), r.text(Hlp::Path)});
        return out;
    }
    void add(const Row& row)
    {
        runtime::Record r = file.newRecord();
        r.setText(Hlp::Type, row.type);
        r.setText(Hlp::Name, row.name);
        r.setText(Hlp::File, row.file);
        r.setText(Hlp::Path, row.path);
        ASSERT_FALSE(file.add(r));
    }
    void writeList(const std::string& text) { std::ofstream("HelpLis5.TXT", std::ios::binary) << text; }
    HelpScanResult scan(ClearChoice clear = ClearChoice::None)
    {
        HelpScanner scanner(file, root, dialogs);
        scanner.setStatus([this](const std::string& s) { statuses.push_back(s); });
        if (lister)
            scanner.setLister(lister);
        return scanner.run(clear);
    }

    runtime::testing::TempDir temp;
    std::string root;
    runtime::KeyedFile file;
    runtime::testing::ScriptedDialogs dialogs;
    std::vector<std::string> statuses;
    DirectoryLister lister;
};

} // namespace

TEST(HelpListText, LinesBecomeEntriesWithPathTabAndTypeRules)
{
    const std::vector<std::string> lines = {
        "! comment",
        "",
        "C5HELP.HLP         Clarion Help",
        "PATH=%cw%\\LIBSRC\\",
        "EQUATES.CLW        Equates",
        "ABERRORS.INC       Errors",
        "CW.TPL             Templates",
        "README.TXT         Read me",
        "SECRET.DAT         ~Hidden",
        "TAB=t",
        "SOMEFILE.HLP       Some file",
        "tab=Q",
        "A-VERY-LONG-FILE-NAME.TXT Long one",
        "PATH=D:\\Other",
        "X.HLP",
    };
    const HelpListText t = parseHelpListText(lines, {}, "C:\\CW ");
    ASSERT_EQ(t.entries.size(), 9u);
    const auto check = [&](std::size_t i, char type, const char* file, const char* name, const char* path) {
        SCOPED_TRACE(file);
        EXPECT_EQ(t.entries[i].type, type);
        EXPECT_EQ(t.entries[i].file, file);
        EXPECT_EQ(t.entries[i].name, name);
        EXPECT_EQ(t.entries[i].path, path);
    };
    check(0, 'H', "C5HELP.HLP", "Clarion Help", "C:\\CW\\BIN");
    check(1, 'S', "EQUATES.CLW", "Equates", "C:\\CW\\LIBSRC");
    check(2, 'S', "ABERRORS.INC", "Errors", "C:\\CW\\LIBSRC");
    check(3, 'T', "CW.TPL", "Templates", "C:\\CW\\LIBSRC");
    check(4, 'X', "README.TXT", "Read me", "C:\\CW\\LIBSRC");
    EXPECT_TRUE(t.entries[5].rememberOnly);
    check(6, 'T', "SOMEFILE.HLP", "Some file", "C:\\CW\\LIBSRC"); // the tab letter overrides the extension
    check(7, 'X', "A-VERY-LONG-FILE-NAME.TXT", "Long one", "C:\\CW\\LIBSRC"); // Q is no tab: rules again
    check(8, 'H', "X.HLP", "", "D:\\Other");
    EXPECT_TRUE(t.longLines.empty());
}

TEST(HelpListText, LinesCutByTheReaderAreNotTaken)
{
    const HelpListText t = parseHelpListText({"A.HLP              A", "B.HLP              B"}, {2}, "C:\\CW");
    ASSERT_EQ(t.entries.size(), 1u);
    EXPECT_EQ(t.entries[0].file, "A.HLP");
    EXPECT_EQ(t.longLines, std::vector<std::size_t>{2});
}

TEST(HelpScanQuestions, ClearAnswersAndReport)
{
    EXPECT_EQ(clearQuestion().buttonTexts.size(), 4u);
    EXPECT_EQ(clearChoiceFor(1), ClearChoice::None);
    EXPECT_EQ(clearChoiceFor(2), ClearChoice::HelpFiles);
    EXPECT_EQ(clearChoiceFor(3), ClearChoice::AllFiles);
    EXPECT_EQ(clearChoiceFor(4), std::nullopt);
    HelpScanResult r;
    r.added = 3;
    r.skippedDirectories = 2;
    EXPECT_EQ(scanReport(r).text,
              "3 files found and added to list.||2 Bak/Sav/Old/$$$/Backup Directories were omited.");
    r.unreadableDirectories = 1;
    r.longLines = {4, 9};
    EXPECT_EQ(scanReport(r).text,
              "3 files found and added to list.||2 Bak/Sav/Old/$$$/Backup Directories were omited."
              "||1 directories could not be read and were skipped."
              "||HelpLis5.TXT: lines longer than 512 characters were not read (lines 4, 9).");
}

TEST_F(HelpScanFixture, ScanListsHelpFilesSkipsBackupsAndAsksForExamples)
{
    writeTestFile(fs::path(root) / "BIN" / "C5HELP.HLP");
    writeTestFile(fs::path(root) / "BIN" / "notes.txt");
    writeTestFile(fs::path(root) / "BIN" / "BACKUP" / "OLD.HLP");
    writeTestFile(fs::path(root) / "LIB.SAV" / "OLD2.HLP");
    writeTestFile(fs::path(root) / "EXAMPLES" / "EX.HLP");
    writeTestFile(fs::path(root) / "LIBSRC" / "EQUATES.CLW");
    writeList("PATH=%CW%\\LIBSRC\nEQUATES.CLW        Equates\nGONE.CLW           Missing file\n");
    dialogs.answers = {runtime::Button::No};

    const HelpScanResult r = scan();
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(r.added, 2); // the missing file was added and taken out again
    EXPECT_EQ(r.skippedDirectories, 2);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "EXAMPLE FILES");
    EXPECT_EQ(dialogs.shown[0].text,
              "Load Help Files from Examples into list?||Directory: " + root + "\\EXAMPLES\\");
    EXPECT_EQ(rows(), (std::vector<Row>{{"H", "C5HELP.HLP", "C5HELP.HLP", root + "\\BIN"},
                                        {"S", "Equates", "EQUATES.CLW", root + "\\LIBSRC"}}));
    EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Check: " + root + "\\LIBSRC\\GONE.CLW"),
              statuses.end());

    // Again, with the examples: nothing known is added twice, and "No" keeps the list.
    dialogs.answers = {runtime::Button::Yes};
    const HelpScanResult again = scan(ClearChoice::None);
    EXPECT_EQ(again.added, 1);
    EXPECT_EQ(rows().size(), 3u);
}

TEST_F(HelpScanFixture, ClearingTakesHelpFilesOrEverything)
{
    writeTestFile(fs::path(root) / "A.HLP");
    writeTestFile(fs::path(root) / "B.TXT");
    add({"H", "A.HLP", "A.HLP", root});
    add({"X", "Bee", "B.TXT", root});
    add({"H", "Gone.hlp", "GONE.HLP", root});
    writeList("");
    HelpScanResult r = scan(ClearChoice::HelpFiles);
    EXPECT_EQ(r.added, 1); // A.HLP found again by the walk; GONE.HLP's name marked it a help file
    EXPECT_EQ(rows(), (std::vector<Row>{{"H", "A.HLP", "A.HLP", root}, {"X", "Bee", "B.TXT", root}}));
    EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Delete: Gone.hlp"), statuses.end());

    r = scan(ClearChoice::AllFiles);
    EXPECT_EQ(r.added, 1);
    EXPECT_EQ(rows(), (std::vector<Row>{{"H", "A.HLP", "A.HLP", root}}));
}

TEST_F(HelpScanFixture, LongPathsAndNamesAreKeptWholeThroughTheCheck)
{
    std::string deep = root;
    fs::path native = root;
    for (int i = 0; i < 5; ++i) {
        const std::string part = "directory-with-a-name-of-forty-chars-" + std::to_string(i) + "xx";
        deep += "\\" + part;
        native /= part;
    }
    const std::string longName = "a-help-file-name-far-beyond-eight-dot-three.HLP";
    writeTestFile(native / longName);
    writeList("PATH=" + deep + "\n" + longName + " The long one\n");
    const HelpScanResult r = scan();
    EXPECT_EQ(r.added, 1);
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0], (Row{"H", "The long one", longName, deep}));
    EXPECT_GT(deep.size(), 200u);
}

TEST_F(HelpScanFixture, MissingListIsReportedAndTheWalkGoesOn)
{
    writeTestFile(fs::path(root) / "BIN" / "C5HELP.HLP");
    const HelpScanResult r = scan();
    EXPECT_FALSE(r.listOpened);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Unable to open HelpLis5.TXT");
    EXPECT_EQ(r.added, 1);
}

TEST_F(HelpScanFixture, LinesOverTheLimitAreNamedNotTaken)
{
    writeTestFile(fs::path(root) / "BIN" / "A.HLP");
    writeList("A.HLP              First\n" + std::string(600, 'B') + ".HLP\n");
    const HelpScanResult r = scan();
    EXPECT_EQ(r.longLines, std::vector<std::size_t>{2});
    EXPECT_NE(scanReport(r).text.find("(line 2)"), std::string::npos);
    EXPECT_EQ(rows().size(), 1u);
}

TEST_F(HelpScanFixture, WalkEndsOnALinkLoopAndAfterTwelveLevels)
{
    fs::path deep = root;
    for (int level = 1; level <= 13; ++level) {
        writeTestFile(deep / ("L" + std::to_string(level) + ".HLP"));
        deep /= "D";
    }
    fs::create_directories(fs::path(root) / "A");
    ASSERT_TRUE(runtime::testing::makeDirectoryLink(fs::path(root), fs::path(root) / "A" / "LOOP"));
    writeList("");
    const HelpScanResult r = scan();
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(r.levels, HelpScanLevels);
    EXPECT_EQ(r.added, 12); // L1 to L12; L13 lies below the last level
    for (const Row& row : rows())
        EXPECT_NE(row.file, "L13.HLP");
}

TEST_F(HelpScanFixture, UnreadableDirectoryIsCountedAndTheWalkGoesOn)
{
    writeTestFile(fs::path(root) / "LOCKED" / "IN.HLP");
    writeTestFile(fs::path(root) / "OPEN" / "OUT.HLP");
    lister = [](const fs::path& dir, std::vector<DirectoryEntry>& entries) {
        return dir.filename() != "LOCKED" && listDirectory(dir, entries);
    };
    writeList("");
    const HelpScanResult r = scan();
    EXPECT_EQ(r.unreadableDirectories, 1);
    EXPECT_EQ(r.added, 1);
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0].file, "OUT.HLP");
}

TEST_F(HelpScanFixture, CancelStopsTheScan)
{
    writeTestFile(fs::path(root) / "A.HLP");
    writeList("");
    HelpScanner scanner(file, root, dialogs);
    scanner.setCancelCheck([] { return true; });
    EXPECT_FALSE(scanner.run(ClearChoice::None).completed);
    EXPECT_TRUE(rows().empty());
}

TEST(HelpScanListing, ADirectoryThatCannotBeReadIsReportedSo)
{
    if (!runtime::testing::writesCanBeDenied())
        GTEST_SKIP() << "no account here is denied what the test's own account created";
    runtime::testing::TempDir temp;
    writeTestFile(temp.path() / "OPEN" / "A.HLP");
    writeTestFile(temp.path() / "LOCKED" / "B.HLP");
    fs::permissions(temp.path(), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(temp.path() / "OPEN",
                    fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(temp.path() / "LOCKED", fs::perms::owner_all);
    const int outcome = runtime::testing::runUnprivileged([&] {
        std::vector<DirectoryEntry> entries;
        if (listDirectory(temp.path() / "LOCKED", entries) || !entries.empty())
            return 1; // read what it may not
        if (!listDirectory(temp.path() / "OPEN", entries) || entries.size() != 1 ||
            entries[0].name != "A.HLP")
            return 2;
        return 0;
    });
    EXPECT_EQ(outcome, 0);
}

TEST_F(HelpScanFixture, FiftyThousandFilesAreWalkedAndWrittenInBatches)
{
    // 50 directories of 1,000 files each, every fifth a help file; listed without the disk.
    lister = [](const fs::path& dir, std::vector<DirectoryEntry>& entries) {
        if (dir.filename() == "CW") {
            for (int d = 0; d < 50; ++d) {
                const std::string name = "DIR" + std::to_string(d);
                entries.push_back({name, true, dir / name});
            }
            return true;
        }
        for (int f = 0; f < 1000; ++f) {
            const std::string name = "F" + std::to_string(f) + (f % 5 == 0 ? ".HLP" : ".TXT");
            entries.push_back({name, false, dir / name});
        }
        return true;
    };
    writeList("");
    const HelpScanResult r = scan();
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(r.added, 10000);
    EXPECT_GT(r.added, HelpScanBatch);
    EXPECT_FALSE(file.inTransaction());
    // Another connection sees every record: nothing is left uncommitted.
    runtime::KeyedFile other("HelpLis5.TPS", helpListLayout());
    ASSERT_FALSE(other.open());
    EXPECT_EQ(other.records(), 10000);
}

TEST_F(HelpScanFixture, CancelKeepsWhatWasFoundUpToThen)
{
    lister = [](const fs::path& dir, std::vector<DirectoryEntry>& entries) {
        if (dir.filename() == "CW") {
            for (int d = 0; d < 40; ++d)
                entries.push_back({"DIR" + std::to_string(d), true, dir / ("DIR" + std::to_string(d))});
            return true;
        }
        for (int f = 0; f < 200; ++f)
            entries.push_back({"F" + std::to_string(f) + ".HLP", false, dir / ("F" + std::to_string(f))});
        return true;
    };
    writeList("");
    HelpScanner scanner(file, root, dialogs);
    scanner.setLister(lister);
    int found = 0;
    scanner.setStatus([&found](const std::string&) { ++found; });
    // Asked before each directory: stops once 35 directories (7,000 files, a batch and more) are in.
    scanner.setCancelCheck([&found] { return found >= 7000; });
    const HelpScanResult r = scanner.run(ClearChoice::None);
    EXPECT_FALSE(r.completed);
    EXPECT_EQ(r.added, 7000);
    EXPECT_FALSE(file.inTransaction());
    runtime::KeyedFile other("HelpLis5.TPS", helpListLayout());
    ASSERT_FALSE(other.open());
    EXPECT_EQ(other.records(), 7000);
}
