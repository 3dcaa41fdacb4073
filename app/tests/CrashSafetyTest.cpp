// A load killed part-way, and two programs writing the configuration at once:
// nothing damaged, nothing lost, and the next start repairs what is missing.
#include "app/StartupSequence.h"
#include "config/ConfigRecord.h"
#include "config/ConfigurationForm.h"
#include "data/DataFileNames.h"
#include "equates/EquateLoader.h"
#include "equates/EquateRecord.h"
#include "equates/PopupLoader.h"
#include "equates/PopupRecord.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#ifndef _WIN32
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

using namespace kestrix;
namespace fs = std::filesystem;

#ifndef _WIN32
namespace {

std::string integrity(const std::string& file)
{
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_stmt* stmt = nullptr;
    std::string result = "no answer";
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
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
            popups << "Entry " << e << std::string(29 - 6 - std::to_string(e).size(), ' ') << "Template " << e << "\n";
    }
}

// Runs `load` in a child process and kills it after `after`; true when it was still running then.
template <class Load> bool killedPartWay(Load load, std::chrono::milliseconds after)
{
    const pid_t child = fork();
    if (child == 0) {
        load();
        _exit(0);
    }
    std::this_thread::sleep_for(after);
    const bool running = waitpid(child, nullptr, WNOHANG) == 0;
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return running;
}

} // namespace

TEST(CrashSafety, AnEquateLoadKilledPartWayIsLoadedAgainFromScratch)
{
    runtime::testing::TempDir dir;
    writeBigInstallation();
    runtime::IniFile ini("KTX4.INI");
    ini.setValue("EquateLoad", "Version", "4"); // as after an earlier complete load
    const bool running = killedPartWay(
        [&] {
            runtime::testing::ScriptedDialogs dialogs;
            runtime::KeyedFile file("Equates5.tps", equates::equateLayout());
            equates::EquateLoader(file, "cw", dialogs).run(ini);
        },
        std::chrono::milliseconds(400));
    ASSERT_TRUE(running) << "the load ended before it could be killed";
    EXPECT_EQ(integrity("Equates5.tps"), "ok");
    EXPECT_NE(ini.value("EquateLoad", "Version"), "4");

    // The next start: the file opens (its keys rebuilt on the user's Yes) and the loader is due.
    runtime::testing::ScriptedDialogs dialogs;
    config::Session session(dialogs);
    app::StartupSequence startup(session);
    ASSERT_TRUE(startup.openSharedFiles());
    EXPECT_TRUE(startup.equatesNeedLoading());
    runtime::KeyedFile* equates = session.files().file(data::FileName::Equates);
    const equates::EquateLoadResult result = equates::EquateLoader(*equates, "cw", dialogs).run(session.programIni());
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.records, 100000 + 2); // every equate and the markers of Color and Color Win (values 8, 80 ...)
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
        popups.create();
    }
    const bool running = killedPartWay(
        [&] {
            runtime::testing::ScriptedDialogs dialogs;
            runtime::KeyedFile popups("Config\\!PopData", equates::popupLayout());
            popups.open();
            equates::PopupLoader(popups, dialogs).run(ini);
        },
        std::chrono::milliseconds(300));
    ASSERT_TRUE(running);
    EXPECT_EQ(integrity("Config.tps"), "ok");
    EXPECT_NE(ini.value("PopupLoad", "Version"), "4");
    runtime::testing::ScriptedDialogs dialogs;
    runtime::KeyedFile popups("Config\\!PopData", equates::popupLayout());
    ASSERT_TRUE(popups.open().ok());
    EXPECT_EQ(equates::PopupLoader(popups, dialogs).run(ini), 4000 * 21);
    EXPECT_EQ(ini.value("PopupLoad", "Version"), "4");
}

TEST(CrashSafety, TwoProgramsWritingTheConfigurationLoseNothing)
{
    runtime::testing::TempDir dir;
    {
        runtime::testing::ScriptedDialogs dialogs;
        runtime::KeyedFile file("config5.tps", config::configLayout());
        file.create();
        file.open();
        config::ConfigurationForm(file).save(dialogs);
    }
    int toChild[2], toParent[2];
    ASSERT_EQ(pipe(toChild), 0);
    ASSERT_EQ(pipe(toParent), 0);
    const pid_t child = fork();
    if (child == 0) {
        runtime::testing::ScriptedDialogs dialogs;
        runtime::KeyedFile file("config5.tps", config::configLayout());
        file.open();
        config::ConfigurationForm form(file); // reads the record
        char go = 0;
        (void)!write(toParent[1], "r", 1);
        (void)!read(toChild[0], &go, 1); // the parent writes meanwhile
        form.acceptNumber(config::Cfg::NestIndent, 2);
        const bool refused = !form.save(dialogs);
        const bool told = dialogs.captions() == std::vector<std::string>{"Record Was Not Updated"};
        const bool shown = form.record().number(config::Cfg::Indent) == 7; // the parent's value
        form.acceptNumber(config::Cfg::NestIndent, 2);
        const bool savedAfter = form.save(dialogs);
        _exit(refused && told && shown && savedAfter ? 0 : 1);
    }
    char ready = 0;
    ASSERT_EQ(read(toParent[0], &ready, 1), 1);
    {
        runtime::testing::ScriptedDialogs dialogs;
        runtime::KeyedFile file("config5.tps", config::configLayout());
        file.open();
        config::ConfigurationForm form(file);
        form.acceptNumber(config::Cfg::Indent, 7);
        ASSERT_TRUE(form.save(dialogs));
    }
    ASSERT_EQ(write(toChild[1], "g", 1), 1);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    runtime::KeyedFile file("config5.tps", config::configLayout());
    file.open();
    const auto stored = config::readConfiguration(file);
    EXPECT_EQ(stored->number(config::Cfg::Indent), 7);
    EXPECT_EQ(stored->number(config::Cfg::NestIndent), 2);
}
#endif
