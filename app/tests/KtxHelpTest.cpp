#include "KtxRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using kestrix::testing::KtxRun;
using kestrix::testing::SampleClarionRoot;

namespace {

// The shared workspace over the sample installation.
struct HelpWorkspace : kestrix::testing::KtxWorkspace
{
    HelpWorkspace() { clarionRoot = SampleClarionRoot; }
};

} // namespace

TEST(KtxHelp, TheSampleInstallationScansAndListsByTab)
{
    HelpWorkspace w;
    const KtxRun scan = w.run({"help", "scan"});
    ASSERT_EQ(scan.code, 0) << scan.err;
    EXPECT_EQ(scan.err, "");
    // From the list: 2 help, 1 text, 6 source, 1 class; the walk finds nothing new outside EXAMPLES.
    EXPECT_EQ(scan.out,
              "10 files found and added to list.\n\n1 Bak/Sav/Old/$$$/Backup Directories were omited.\n");

    const KtxRun help = w.run({"help", "list", "--tab", "H"});
    EXPECT_EQ(help.out, "H\tLanguage Reference\tCWLANG.HLP\t" + SampleClarionRoot + "\\BIN\n" +
                            "H\tLibrary Reference\tCWLIB.HLP\t" + SampleClarionRoot + "\\BIN\n");
    const KtxRun classes = w.run({"help", "list", "--tab", "class"});
    EXPECT_EQ(classes.out, "C\tABC Error Class\tABERRORS.INC\t" + SampleClarionRoot + "\\LIBSRC\n");

    // A second scan adds nothing; with the examples it adds their help file only.
    EXPECT_EQ(w.run({"help", "scan"}).out.rfind("0 files found", 0), 0u);
    EXPECT_EQ(w.run({"help", "scan", "--examples", "yes"}).out.rfind("1 files found", 0), 0u);
    // Clearing the help files takes the entries whose name holds ".HLP": the walk's, not the list's.
    const KtxRun cleared = w.run({"help", "scan", "--clear", "hlp", "--examples", "yes"});
    EXPECT_EQ(cleared.out.rfind("1 files found", 0), 0u) << cleared.out;
    const KtxRun all = w.run({"help", "list"});
    EXPECT_EQ(std::count(all.out.begin(), all.out.end(), '\n'), 11);
}

TEST(KtxHelp, AddAndDeleteRefuseWhatDoesNotFit)
{
    HelpWorkspace w;
    const std::string path = "C:\\" + std::string(240, 'p');
    ASSERT_EQ(w.run({"help", "add", "X", "Notes", "NOTES-WITH-A-LONG-NAME.TXT", path + "\\"}).code, 0);
    EXPECT_EQ(w.run({"help", "list"}).out, "X\tNotes\tNOTES-WITH-A-LONG-NAME.TXT\t" + path + "\n");

    const KtxRun tooLong = w.run({"help", "add", "X", "Notes", "N.TXT", path + std::string(30, 'q')});
    EXPECT_EQ(tooLong.code, 2);
    EXPECT_NE(tooLong.err.find("HLP:PATH"), std::string::npos) << tooLong.err;
    EXPECT_NE(tooLong.err.find("260"), std::string::npos) << tooLong.err;

    const KtxRun badTab = w.run({"help", "add", "Q", "Notes", "N.TXT", "C:\\"});
    EXPECT_EQ(badTab.code, 2);
    EXPECT_NE(badTab.err.find("Unknown tab Q"), std::string::npos);

    EXPECT_EQ(w.run({"help", "delete", "H", "Notes"}).code, 1); // on another tab
    EXPECT_EQ(w.run({"help", "delete", "Text", "notes"}).code, 0);
    EXPECT_EQ(w.run({"help", "list"}).out, "");
}

TEST(KtxHelp, AScanWithoutTheListStillWalks)
{
    HelpWorkspace w;
    const KtxRun first = w.run({"help", "list"}); // sets the data directory up
    ASSERT_EQ(first.code, 0) << first.err;
    // Set up again when missing, so a folder of its name stands in for a list that cannot be read.
    std::filesystem::remove(std::filesystem::path(w.data) / "HelpLis5.TXT");
    std::filesystem::create_directory(std::filesystem::path(w.data) / "HelpLis5.TXT");
    const KtxRun scan = w.run({"help", "scan"});
    EXPECT_EQ(scan.code, 0);
    EXPECT_NE(scan.err.find("Unable to open HelpLis5.TXT"), std::string::npos) << scan.err;
    EXPECT_EQ(scan.out.rfind("3 files found", 0), 0u) << scan.out; // CWLANG, CWLIB, GUIDE
}
