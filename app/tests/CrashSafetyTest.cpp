// A load or a first start killed part-way, loads and writes of several programs at
// once: nothing damaged, nothing lost, and the next start repairs what is missing.
#include "KtxRun.h"
#include "app/DataDirectorySetup.h"
#include "app/StartupSequence.h"
#include "config/ConfigRecord.h"
#include "config/ConfigurationForm.h"
#include "data/DataFileNames.h"
#include "equates/EquateLoader.h"
#include "equates/EquateRecord.h"
#include "equates/PopupLoader.h"
#include "equates/PopupRecord.h"
#include "equates/TipsFile.h"
#include "keyanalysis/FrameStore.h"
#include "resources/DeliveredFiles.h"
#include "runtime/CrashPoint.h"
#include "runtime/FileLock.h"
#include "runtime/FixedText.h"
#include "runtime/TextLineFile.h"
#include "runtime/testing/ChildProcesses.h"
#include "runtime/testing/RequireOk.h"
#include "runtime/testing/RunProgram.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace kestrix;
namespace fs = std::filesystem;

namespace {

std::string integrity(const std::string& file)
{
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_stmt* stmt = nullptr;
    std::string result = "no answer";
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        result = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return result;
}

void writeBigInstallation()
{
    fs::create_directories("cw/LIBSRC");
    std::ofstream list("EQU-LOA5.TXT");
    list << "[FILES]\n";
    for (int f = 0; f < 40; ++f) {
        const std::string name = "F" + std::to_string(f) + ".CLW";
        list << name << std::string(14 - name.size(), ' ') << "Unknown\n";
        std::ofstream source("cw/LIBSRC/" + name);
        for (int i = 0; i < 2500; ++i)
            source << "COLOR:C" << f << "_" << i << " EQUATE(" << i << ") ! colour\n";
    }
    std::ofstream popups("POPUP.TXT");
    for (int t = 0; t < 4000; ++t) {
        popups << "TYPE=T" << t << "\n";
        for (int e = 0; e < 20; ++e)
            popups << "Entry " << e << std::string(29 - 6 - std::to_string(e).size(), ' ') << "Template " << e
                   << "\n";
    }
}

std::string contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(CrashSafety, AnEquateLoadKilledPartWayIsLoadedAgainFromScratch)
{
    runtime::testing::TempDir dir;
    writeBigInstallation();
    runtime::IniFile ini("KTX4.INI");
    ini.setValue("EquateLoad", "Version", "4"); // as after an earlier complete load
    ASSERT_TRUE(runtime::testing::killedAt(runtime::CrashPoint::EquateRecord, 30000, [&] {
        runtime::testing::ScriptedDialogs dialogs;
        runtime::KeyedFile file("Equates5.tps", equates::equateLayout());
        equates::EquateLoader(file, "cw", dialogs).run(ini);
    })) << "the load was to stop itself at its 30,000th equate";
    EXPECT_EQ(integrity("Equates5.tps"), "ok");
    EXPECT_NE(ini.value("EquateLoad", "Version"), "4");

    // Readers say the file is incomplete instead of showing part of it.
    const kestrix::testing::KtxRun list =
        kestrix::testing::ktx({"--data-dir", dir.path().string(), "equates", "list"});
    EXPECT_EQ(list.code, 1);
    EXPECT_EQ(list.out, "");
    EXPECT_NE(list.err.find("The equates file is incomplete"), std::string::npos) << list.err;
    for (const char* installed :
         {"EQU-USE5.TXT", "EQU-ABC5.TXT"}) // copied in by ktx: not part of this installation
        fs::remove(installed);

    // The next start: the file opens (its keys rebuilt on the user's Yes) and the loader is due.
    runtime::testing::ScriptedDialogs dialogs;
    config::Session session(dialogs);
    app::StartupSequence startup(session);
    ASSERT_TRUE(startup.openSharedFiles());
    EXPECT_TRUE(startup.equatesNeedLoading());
    runtime::KeyedFile* equates = session.files().file(data::FileName::Equates);
    const equates::EquateLoadResult result =
        equates::EquateLoader(*equates, "cw", dialogs).run(session.programIni());
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.records,
              100000 + 2); // every equate and the markers of Color and Color Win (values 8, 80 ...)
    EXPECT_FALSE(startup.equatesNeedLoading());
    startup.closeSharedFiles();
}

TEST(CrashSafety, APopupLoadKilledPartWayIsLoadedAgain)
{
    runtime::testing::TempDir dir;
    writeBigInstallation();
    runtime::IniFile ini("KTX4.INI");
    ini.setValue("PopupLoad", "Version", "4");
    {
        runtime::KeyedFile popups("Config\\!PopData", equates::popupLayout());
        ASSERT_TRUE(popups.create().ok());
    }
    ASSERT_TRUE(runtime::testing::killedAt(runtime::CrashPoint::PopupRecord, 40000, [&] {
        runtime::testing::ScriptedDialogs dialogs;
        runtime::KeyedFile popups("Config\\!PopData", equates::popupLayout());
        kestrix::runtime::testing::requireOk(popups.open(), "popups.open()");
        equates::PopupLoader(popups, dialogs).run(ini);
    })) << "the load was to stop itself at its 40,000th entry";
    EXPECT_EQ(integrity("Config.tps"), "ok");
    EXPECT_NE(ini.value("PopupLoad", "Version"), "4");
    runtime::testing::ScriptedDialogs dialogs;
    runtime::KeyedFile popups("Config\\!PopData", equates::popupLayout());
    ASSERT_TRUE(popups.open().ok());
    const equates::PopupLoadResult result = equates::PopupLoader(popups, dialogs).run(ini);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.records, 4000 * 21);
    EXPECT_EQ(ini.value("PopupLoad", "Version"), "4");
}

TEST(CrashSafety, AFirstStartKilledWhileCopyingIsRepairedByTheNext)
{
    const auto& delivered = resources::deliveredFiles();
    ASSERT_GE(delivered.size(), 3u);
    runtime::testing::TempDir dir;
    // Killed with the third delivered file written under its temporary name.
    ASSERT_TRUE(runtime::testing::killedAt(runtime::CrashPoint::BeforeRename, 3,
                                           [] { app::prepareDataDirectory(); }));
    int whole = 0;
    for (const auto& file : delivered) {
        if (!fs::exists(file.name))
            continue;
        EXPECT_EQ(contents(file.name), std::string(file.content)) << file.name << " is there but not whole";
        ++whole;
    }
    EXPECT_EQ(whole, 2);
    EXPECT_FALSE(fs::exists("Tips5.tps"));

    const app::SetupResult next = app::prepareDataDirectory();
    EXPECT_EQ(next.problem, "");
    for (const auto& file : delivered)
        EXPECT_EQ(contents(file.name), std::string(file.content)) << file.name;
    runtime::KeyedFile tips(equates::TipsFileName, equates::tipLayout());
    ASSERT_TRUE(tips.open().ok());
    EXPECT_GT(tips.records(), 10);
}

// The program itself, stopped by the setting in its environment: the hook works end to end.
TEST(CrashSafety, AKtxFirstStartStoppedByItsEnvironmentIsRepairedByTheNext)
{
    runtime::testing::TempDir dir;
    const std::string data = (dir.path() / "data").string();
    const auto runKtx = [&](std::vector<std::pair<std::string, std::string>> environment) {
        return runtime::testing::StartedProgram({KTX_BINARY,
                                                 {"--data-dir", data, "config", "show"},
                                                 runtime::testing::StandardOutput::Discarded,
                                                 dir.path() / "errors.txt",
                                                 std::move(environment)})
            .wait();
    };
    ASSERT_EQ(runKtx({{"KESTRIX_CRASH_AT", "before-rename:2"}}), runtime::testing::KilledStatus);
    int present = 0;
    for (const auto& file : resources::deliveredFiles())
        present += fs::exists(fs::path(data) / file.name);
    EXPECT_EQ(present, 1);
    EXPECT_EQ(runKtx({}), 0);
    for (const auto& file : resources::deliveredFiles())
        EXPECT_EQ(contents(fs::path(data) / file.name), std::string(file.content)) << file.name;
    EXPECT_TRUE(fs::exists(fs::path(data) / "Tips5.tps"));
}

TEST(CrashSafety, AFirstStartKilledWhileBuildingTheTipsIsRepairedByTheNext)
{
    runtime::testing::TempDir dir;
    ASSERT_TRUE(
        runtime::testing::killedAt(runtime::CrashPoint::TipRecord, 5, [] { app::prepareDataDirectory(); }));
    EXPECT_FALSE(fs::exists("Tips5.tps")) << "a half-built tips file was left in place";
    app::prepareDataDirectory();
    runtime::KeyedFile tips(equates::TipsFileName, equates::tipLayout());
    ASSERT_TRUE(tips.open().ok());
    const runtime::TextLines source = runtime::readTextLines(equates::TipsSourceName);
    long expected = 0;
    for (const std::string& line : source.lines)
        expected += runtime::sameTextNoCase(std::string(runtime::trim(line)).substr(0, 4), "TIP=");
    EXPECT_EQ(tips.records(), expected);
}

TEST(CrashSafety, BuildingTheTipsLeavesNoTemporaryFileBehind)
{
    runtime::testing::TempDir dir;
    ASSERT_EQ(app::prepareDataDirectory().problem, "");
    std::ofstream("Tips5.tps", std::ios::trunc) << "damaged"; // built a second time, over a bad file
    app::prepareDataDirectory();
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator("."))
        if (entry.path().filename().string().find(".tmp") != std::string::npos)
            left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{});
}

TEST(CrashSafety, EmptyFilesOfAnEarlierStartAreRepairedAndEditedOnesKept)
{
    runtime::testing::TempDir dir;
    std::ofstream("Tips5.tps").flush();                 // what a start killed in an earlier version left
    std::ofstream("config5.tps") << "not a keyed file"; // not the tips: left for its own opener to report
    std::ofstream("EQU-ABC5.TXT").flush();
    std::ofstream("EQU-USE5.TXT", std::ios::binary) << "[USER]\nmy own equates\n";
    const app::SetupResult setup = app::prepareDataDirectory();
    EXPECT_EQ(setup.problem, "");
    EXPECT_EQ(contents("EQU-USE5.TXT"), "[USER]\nmy own equates\n");
    for (const auto& file : resources::deliveredFiles()) {
        if (std::string(file.name) == "EQU-ABC5.TXT") {
            EXPECT_EQ(contents(file.name), std::string(file.content));
        }
    }
    runtime::KeyedFile tips(equates::TipsFileName, equates::tipLayout());
    ASSERT_TRUE(tips.open().ok());
    EXPECT_GT(tips.records(), 10);
    tips.close();
    EXPECT_EQ(contents("config5.tps"), "not a keyed file");

    // A tips file that something else overwrote is built again; a sound one is left alone.
    std::ofstream("Tips5.tps", std::ios::trunc) << "overwritten by another program";
    EXPECT_EQ(app::prepareDataDirectory().installed, std::vector<std::string>{"Tips5.tps"});
    ASSERT_TRUE(tips.open().ok());
    EXPECT_GT(tips.records(), 10);
    tips.close();
    EXPECT_TRUE(app::prepareDataDirectory().installed.empty());
}

TEST(CrashSafety, ParallelEquateLoadsLeaveTheEquatesOfOneLoad)
{
    runtime::testing::TempDir dir;
    fs::create_directories("cw/LIBSRC");
    std::ofstream("EQU-LOA5.TXT") << "[FILES]\nA.CLW         Unknown\n";
    {
        std::ofstream source("cw/LIBSRC/A.CLW");
        for (int i = 0; i < 3000; ++i)
            source << "COLOR:C" << i << " EQUATE(" << i << ")\n";
    }
    constexpr int Loaders = 4;
    const std::vector<int> statuses = runtime::testing::runTogether(Loaders, [](int) {
        runtime::testing::ScriptedDialogs dialogs;
        runtime::KeyedFile file("Equates5.tps", equates::equateLayout());
        equates::EquateLoader loader(file, "cw", dialogs);
        loader.setWhenBusy(equates::WhenBusy::Wait);
        return loader.run(runtime::IniFile("KTX4.INI")).completed ? 0 : 1;
    });
    EXPECT_EQ(statuses, std::vector<int>(Loaders, 0));
    runtime::KeyedFile file("Equates5.tps", equates::equateLayout());
    ASSERT_TRUE(file.open().ok());
    EXPECT_EQ(file.records(), 3000 + 2);
    EXPECT_EQ(runtime::IniFile("KTX4.INI").value("EquateLoad", "Version"), "4");
}

TEST(CrashSafety, PopupLoadsAndFrameSavesAtOnceKeepEverySetting)
{
    runtime::testing::TempDir dir;
    std::ofstream("POPUP.TXT") << "TYPE=X\nx                            y\n";
    std::ofstream("POPUPABC.TXT") << "; none\n";
    {
        runtime::KeyedFile popups("Config\\!PopData", equates::popupLayout());
        ASSERT_TRUE(popups.create().ok());
    }
    constexpr int Rounds = 10;
    const std::vector<int> statuses = runtime::testing::runTogether(4, [](int n) {
        bool ok = true;
        for (int round = 0; round < Rounds; ++round) {
            if (n % 2 == 0) {
                runtime::testing::ScriptedDialogs dialogs;
                runtime::KeyedFile popups("Config\\!PopData", equates::popupLayout());
                equates::PopupLoader loader(popups, dialogs);
                loader.setWhenBusy(equates::WhenBusy::Wait);
                ok = popups.open().ok() && loader.run(runtime::IniFile("KTX4.INI")).completed && ok;
            } else {
                ok = keyanalysis::FrameStore::inDataDirectory().save({"F APPLICATION('Orders')", "END"},
                                                                     "Orders") &&
                     ok;
            }
        }
        return ok ? 0 : 1;
    });
    EXPECT_EQ(statuses, std::vector<int>(4, 0));
    runtime::IniFile ini("KTX4.INI");
    EXPECT_EQ(ini.value("PopupLoad", "Version"), "4");
    EXPECT_EQ(ini.value("AltKeyAnalysis", "FrameName"), "Orders");
    EXPECT_EQ(ini.value("AltKeyAnalysis", "FrameInclude"), "1");
    EXPECT_EQ(contents("APPFrame.DAT"), "F APPLICATION('Orders')\r\nEND\r\n");
}

TEST(CrashSafety, ALoadWhileAnotherRunsIsRefusedOnTheCommandLine)
{
    runtime::testing::TempDir dir;
    const std::string data = dir.path().string();
    const runtime::FileLock equateLoad = runtime::FileLock::acquire("EquateLoad.lck");
    const runtime::FileLock popupLoad = runtime::FileLock::acquire("PopupLoad.lck");
    ASSERT_TRUE(equateLoad && popupLoad);
    const kestrix::testing::KtxRun equates = kestrix::testing::ktx({"--data-dir", data, "equates", "load"});
    EXPECT_EQ(equates.code, 1);
    EXPECT_EQ(equates.err,
              "Another program is loading the equates; this load was not started. Try again when it has "
              "finished.\n");
    const kestrix::testing::KtxRun popups = kestrix::testing::ktx({"--data-dir", data, "popups", "load"});
    EXPECT_EQ(popups.code, 1);
    EXPECT_NE(popups.err.find("Another program is loading the popups"), std::string::npos) << popups.err;
    EXPECT_NE(runtime::IniFile("KTX4.INI").value("EquateLoad", "Version"), "4");
}

TEST(CrashSafety, TwoProgramsWritingTheConfigurationLoseNothing)
{
    runtime::testing::TempDir dir;
    {
        runtime::testing::ScriptedDialogs dialogs;
        runtime::KeyedFile file("config5.tps", config::configLayout());
        kestrix::runtime::testing::requireOk(file.create(), "file.create()");
        kestrix::runtime::testing::requireOk(file.open(), "file.open()");
        config::ConfigurationForm(file).save(dialogs);
    }
    runtime::testing::Child other([] {
        runtime::testing::ScriptedDialogs dialogs;
        runtime::KeyedFile file("config5.tps", config::configLayout());
        kestrix::runtime::testing::requireOk(file.open(), "file.open()");
        config::ConfigurationForm form(file); // reads the record
        runtime::testing::tellParent("read");
        runtime::testing::waitForParent(); // the parent writes meanwhile
        form.acceptNumber(config::Cfg::NestIndent, 2);
        const bool refused = !form.save(dialogs);
        const bool told = dialogs.captions() == std::vector<std::string>{"Record Was Not Updated"};
        const bool shown = form.record().number(config::Cfg::Indent) == 7; // the parent's value
        form.acceptNumber(config::Cfg::NestIndent, 2);
        const bool savedAfter = form.save(dialogs);
        return refused && told && shown && savedAfter ? 0 : 1;
    });
    ASSERT_EQ(other.heard(), "read");
    {
        runtime::testing::ScriptedDialogs dialogs;
        runtime::KeyedFile file("config5.tps", config::configLayout());
        kestrix::runtime::testing::requireOk(file.open(), "file.open()");
        config::ConfigurationForm form(file);
        form.acceptNumber(config::Cfg::Indent, 7);
        ASSERT_TRUE(form.save(dialogs));
    }
    EXPECT_EQ(other.wait(), 0);
    runtime::KeyedFile file("config5.tps", config::configLayout());
    ASSERT_TRUE(file.open().ok());
    const auto stored = config::readConfiguration(file);
    EXPECT_EQ(stored->number(config::Cfg::Indent), 7);
    EXPECT_EQ(stored->number(config::Cfg::NestIndent), 2);
}
