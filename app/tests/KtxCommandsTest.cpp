#include "KtxRun.h"
#include "runtime/testing/TempDir.h"
#include "runtime/testing/Unprivileged.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace kestrix;
namespace fs = std::filesystem;

using kestrix::testing::ktx;
using kestrix::testing::KtxRun;


TEST(Ktx, PrintsItsVersion)
{
    const KtxRun run = ktx({"--version"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, std::string("ktx ") + KESTRIX_VERSION + "\n");
}

TEST(Ktx, ShowsTheDefaultsOfAFreshDataDirectory)
{
    runtime::testing::TempDir dir;
    const KtxRun run = ktx({"--data-dir", (dir.path() / "data").string(), "config", "show"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out.rfind("CWPATH=\nINDENT=0\nNESTINDENT=3\nENDCOMMENT=1\nLOWERCASE=0\nEDITOR=Notepad\n", 0), 0u);
    EXPECT_NE(run.out.find("\nBTN=Btn#\n"), std::string::npos);
    EXPECT_NE(run.out.find("\nLOOK:FONT[1]=Default\n"), std::string::npos);
    EXPECT_TRUE(run.out.ends_with("\nTABCHAR=`\n"));
    EXPECT_TRUE(fs::exists(dir.path() / "data" / "config5.tps"));
}

TEST(Ktx, SetChecksLikeTheWindowAndKeepsTheRecordWhenRefused)
{
    runtime::testing::TempDir dir;
    const std::string data = (dir.path() / "data").string();
    fs::create_directories(dir.path() / "clarion" / "LIBSRC");
    const std::string root = (dir.path() / "clarion").string();
    KtxRun run = ktx({"--data-dir", data, "config", "set", "INDENT=4", "CWPATH=" + root + "\\", "LOOK:FONT[6]=Fixedsys",
                   "TABCHAR=~"});
    ASSERT_EQ(run.code, 0) << run.err;
    run = ktx({"--data-dir", data, "config", "show"});
    EXPECT_NE(run.out.find("\nINDENT=4\n"), std::string::npos);
    EXPECT_NE(run.out.find("CWPATH=" + root + "\n"), std::string::npos);
    EXPECT_NE(run.out.find("\nLOOK:FONT[6]=Fixedsys\n"), std::string::npos);
    EXPECT_NE(run.out.find("\nTABCHAR=~\n"), std::string::npos);

    run = ktx({"--data-dir", data, "config", "set", "NESTINDENT=5", "INDENT=31"});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "Range Error: The value of Initial Indent must be between 0 and 30.\n");
    run = ktx({"--data-dir", data, "config", "set", "TABCHAR=q", "CWPATH=" + root + "\\nowhere"});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("Clarion Path is invalid: "), std::string::npos);
    run = ktx({"--data-dir", data, "config", "set", "NOSUCH=1"});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "Unknown configuration field: NOSUCH\n");

    run = ktx({"--data-dir", data, "config", "show"});
    EXPECT_NE(run.out.find("\nNESTINDENT=3\n"), std::string::npos); // nothing of the refused sets stuck
    EXPECT_NE(run.out.find("\nTABCHAR=~\n"), std::string::npos);
}

TEST(Ktx, ADataDirectoryThatCannotBeWrittenIsReportedNotCrashedOn)
{
    runtime::testing::TempDir dir;
    fs::create_directory("readonly");
    fs::permissions("readonly", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
    const fs::path data = dir.path() / "readonly";
    const int status = runtime::testing::runUnprivileged([&] {
        const KtxRun run = ktx({"--data-dir", data.string(), "config", "show"});
        const bool told = run.err.find("Cannot write ") == 0 &&
                          run.err.find("File Creation Error: Error: (Access Denied (5)) creating config5.tps.") != std::string::npos &&
                          run.err.find("File Access Error: File (config5.tps) could not be opened.") != std::string::npos &&
                          run.err.ends_with("Disk Error\n");
        return run.code == 1 && told ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    const int blocked = runtime::testing::runUnprivileged([&] {
        const KtxRun run = ktx({"--data-dir", (data / "sub").string(), "config", "show"});
        return run.code == 1 && run.err.find("Cannot create the data directory") == 0 ? 0 : 1;
    });
    EXPECT_EQ(blocked, 0);
}
