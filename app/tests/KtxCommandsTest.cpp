#include "KtxRun.h"
#include "app/cli/CliContext.h"
#include "app/cli/ConfigCommands.h"
#include "config/ConfigRecord.h"
#include "config/ConfigurationForm.h"
#include "data/DataFileNames.h"
#include "runtime/testing/TempDir.h"
#include "runtime/testing/Unprivileged.h"

#include <gtest/gtest.h>

#include <fstream>
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
    EXPECT_EQ(
        run.out.rfind("CWPATH=\nINDENT=0\nNESTINDENT=3\nENDCOMMENT=1\nLOWERCASE=0\nEDITOR=Notepad\n", 0), 0u);
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
    KtxRun run = ktx({"--data-dir", data, "config", "set", "INDENT=4", "CWPATH=" + root + "\\",
                      "LOOK:FONT[6]=Fixedsys", "TABCHAR=~"});
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
    if (!runtime::testing::writesCanBeDenied())
        GTEST_SKIP() << "no account here is denied what the test's own account created";
    runtime::testing::TempDir dir;
    fs::create_directory("readonly");
    fs::permissions("readonly", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
    const fs::path data = dir.path() / "readonly";
    const int status = runtime::testing::runUnprivileged([&] {
        const KtxRun run = ktx({"--data-dir", data.string(), "config", "show"});
        const bool told =
            run.err.find("Cannot write ") == 0 &&
            run.err.find("File Creation Error: Error: (Access Denied (5)) creating config5.tps.") !=
                std::string::npos &&
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

TEST(Ktx, ExitCodesAreZeroDoneOneFailedTwoRefused)
{
    runtime::testing::TempDir dir;
    const std::string data = (dir.path() / "data").string();
    EXPECT_EQ(ktx({"--data-dir", data, "config", "show"}).code, 0);
    EXPECT_EQ(ktx({"--help"}).code, 0);
    const KtxRun unknown = ktx({"--data-dir", data, "config", "show", "--no-such-option"});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_NE(unknown.err, "");
    EXPECT_EQ(ktx({"--data-dir", data, "message", "generate", "--from", "Nothing saved"}).code, 1);
    EXPECT_EQ(ktx({"--data-dir", data, "message", "generate", "--text", "{"}).code, 2);
}

TEST(Ktx, HelpListsEveryCommandAndAValueNamingAnotherCommandIsAValue)
{
    runtime::testing::TempDir dir;
    const std::string data = (dir.path() / "data").string();
    const KtxRun help = ktx({"--help"});
    for (const char* command :
         {"config", "message", "equates", "popups", "keys", "color", "ascii", "snippets", "map", "export",
          "import", "string", "errors", "keycode", "tplcode", "dict", "help"})
        EXPECT_NE(help.out.find(std::string("\n  ") + command), std::string::npos) << command;
    const KtxRun generated = ktx({"--data-dir", data, "message", "generate", "--text", "keys", "--caption",
                                  "config", "--buttons", "Ok"});
    EXPECT_EQ(generated.code, 0) << generated.err;
    EXPECT_NE(generated.out.find("MESSAGE('keys', |"), std::string::npos) << generated.out;
    EXPECT_NE(generated.out.find("'config', , |"), std::string::npos) << generated.out;
    const KtxRun mistyped = ktx({"--data-dir", data, "mesage", "list"});
    EXPECT_EQ(mistyped.code, 2);
    EXPECT_EQ(mistyped.out, "");
}

TEST(Ktx, AFailedWriteToStandardOutputIsAFailure)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    runtime::testing::TempDir dir;
    const std::string data = (dir.path() / "data").string();
    std::ofstream((dir.path() / "window.clw").string())
        << std::ifstream(std::string(KESTRIX_SOURCE_DIR) + "/samples/windows/CustomerForm.clw").rdbuf();
    ASSERT_EQ(ktx({"--data-dir", data, "--set",
                   "CWPATH=" + std::string(KESTRIX_SOURCE_DIR) + "/samples/clarion", "equates", "load"})
                  .code,
              0);
    const std::vector<std::vector<std::string>> commands = {
        {"--version"},
        {"--data-dir", data, "config", "show"},
        {"--data-dir", data, "equates", "list"},
        {"--data-dir", data, "message", "generate", "--text", "Hello"},
        {"--data-dir", data, "message", "list"},
        {"--data-dir", data, "keys", "analyze", (dir.path() / "window.clw").string()},
    };
    const std::string errors = (dir.path() / "err.txt").string();
    for (const auto& args : commands) {
        using kestrix::runtime::testing::StandardOutput;
        EXPECT_EQ(kestrix::testing::ktxProcess(args, StandardOutput::Discarded, errors), 0) << args.back();
        EXPECT_EQ(kestrix::testing::ktxProcess(args, StandardOutput::Failing, errors), 1) << args.back();
        std::stringstream told;
        told << std::ifstream(errors).rdbuf();
        EXPECT_NE(told.str().find("Cannot write the output"), std::string::npos)
            << args.back() << ": " << told.str();
    }
}

TEST(Ktx, ConfigurationValuesThatDoNotFitAreRefusedAndShownSafely)
{
    runtime::testing::TempDir dir;
    const std::string data = (dir.path() / "data").string();
    const std::pair<std::string, std::string> refused[] = {
        {"ENDCOMMENT=256", "CFG:ENDCOMMENT takes a number from 0 to 255, not 256.\n"},
        {"ENDCOMMENT=-1", "CFG:ENDCOMMENT takes a number from 0 to 255, not -1.\n"},
        {"NOTE:FONTSIZE=2147483648",
         "CFG:NOTE:FONTSIZE takes a number from -2147483648 to 2147483647, not 2147483648.\n"},
        {"LOOK:FONT[4294967297]=x", "LOOK:FONT has elements 1 to 10\n"},
        {"BTN=" + std::string(13, 'b'), "CFG:BTN holds at most 12 characters, not 13.\n"},
        {"EDITOR=a\nCWPATH=/evil", "CFG:EDITOR cannot hold the control character 10.\n"},
    };
    for (const auto& [assignment, why] : refused) {
        const KtxRun run = ktx({"--data-dir", data, "config", "set", assignment});
        EXPECT_EQ(run.code, 2) << assignment;
        EXPECT_EQ(run.err, why);
        EXPECT_EQ(ktx({"--data-dir", data, "--set", assignment, "config", "show"}).code, 2) << assignment;
    }
    KtxRun show = ktx({"--data-dir", data, "config", "show"});
    EXPECT_NE(show.out.find("\nENDCOMMENT=1\n"), std::string::npos);
    EXPECT_NE(show.out.find("\nLOOK:FONT[1]=Default\n"), std::string::npos);

    // --set lasts for this run and shows in it.
    show = ktx({"--data-dir", data, "--set", "INDENT=7", "config", "show"});
    EXPECT_NE(show.out.find("\nINDENT=7\n"), std::string::npos);

    // A control character written by another program is shown escaped: it cannot start a line.
    ASSERT_EQ(ktx({"--data-dir", data, "config", "set", "EDITOR=vi"}).code, 0);
    {
        runtime::KeyedFile file(data + "/config5.tps", config::configLayout());
        ASSERT_TRUE(file.open().ok());
        const auto stored = config::readConfiguration(file);
        ASSERT_TRUE(stored);
        runtime::Record r = *stored;
        r.setText(config::Cfg::Editor, "a\nCWPATH=/evil");
        ASSERT_TRUE(file.put(r).ok());
    }
    show = ktx({"--data-dir", data, "config", "show"});
    EXPECT_NE(show.out.find("\nEDITOR=a<10>CWPATH=/evil\n"), std::string::npos);
    EXPECT_EQ(show.out.find("\nCWPATH=/evil"), std::string::npos);
}

TEST(Ktx, TheConfigurationIsReadOnceAndNotHeldWhileTheCommandWorks)
{
    runtime::testing::TempDir dir;
    ASSERT_EQ(ktx({"--data-dir", dir.path().string(), "config", "set", "INDENT=2"}).code, 0);
    std::ostringstream out, err;
    app::CliContext ctx(out, err, dir.path());
    ASSERT_EQ(ctx.loadConfiguration({"NESTINDENT=5"}), 0);
    EXPECT_EQ(ctx.session.files().useCount(data::FileName::Configuration), 0);
    EXPECT_EQ(ctx.session.configuration().number(config::Cfg::Indent), 2);
    EXPECT_EQ(ctx.session.configuration().number(config::Cfg::NestIndent), 5);
    // A command that writes opens the file again, and lets it go with its use.
    {
        const auto held = ctx.use(data::FileName::Configuration, config::configLayout());
        ASSERT_TRUE(held);
        EXPECT_EQ(ctx.session.files().useCount(data::FileName::Configuration), 1);
    }
    EXPECT_EQ(ctx.session.files().useCount(data::FileName::Configuration), 0);
    EXPECT_EQ(err.str(), "");
}

TEST(Ktx, ASetOverAnotherProgramsChangeIsRefusedWithoutTheWindowsWords)
{
    runtime::testing::TempDir dir;
    ASSERT_EQ(ktx({"--data-dir", dir.path().string(), "config", "set", "INDENT=2"}).code, 0);
    std::ostringstream out, err;
    app::CliContext ctx(out, err, dir.path());
    ASSERT_EQ(ctx.loadConfiguration({}), 0);
    const int code = app::setConfiguration(ctx, {"NESTINDENT=5"}, [&] {
        runtime::KeyedFile other("config5.tps", config::configLayout());
        ASSERT_TRUE(other.open().ok());
        runtime::Record theirs = *config::readConfiguration(other);
        theirs.setNumber(config::Cfg::Indent, 9);
        ASSERT_TRUE(other.put(theirs).ok());
    });
    EXPECT_EQ(code, 2);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(),
              "The configuration was changed by another program while this one set it; nothing was saved. "
              "Run the command again to set the values on the new record.\n");
    EXPECT_EQ(err.str().find("Ditto"), std::string::npos);
    const KtxRun show = ktx({"--data-dir", dir.path().string(), "config", "show"});
    EXPECT_NE(show.out.find("\nINDENT=9\nNESTINDENT=3\n"),
              std::string::npos); // theirs kept, nothing of this run
}
