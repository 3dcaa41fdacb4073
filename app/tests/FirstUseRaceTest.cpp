// Programs started together on a new data directory: each creates the files it
// needs and their first records at the same moment. Every save is either kept
// or refused with a message; no file is created twice over another's records.
#include "KtxRun.h"
#include "runtime/testing/RunProgram.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;
using kestrix::testing::ktx;

namespace {

constexpr int Programs = 8;
constexpr int Rounds = 15;

struct Finished
{
    int code = -1;
    std::string err;
    std::string startProblem; // the harness could not start it: not the program's failure
};

// Starts one ktx per command, all before waiting for any, and waits for them.
std::vector<Finished> runTogether(const std::vector<std::vector<std::string>>& commands,
                                  const fs::path& scratch)
{
    using kestrix::runtime::testing::StartedProgram;
    const auto errFile = [&](std::size_t i) { return scratch / ("err" + std::to_string(i)); };
    std::vector<std::unique_ptr<StartedProgram>> programs;
    for (std::size_t i = 0; i < commands.size(); ++i)
        programs.push_back(std::make_unique<StartedProgram>(kestrix::runtime::testing::ProgramStart{
            KTX_BINARY, commands[i], kestrix::runtime::testing::StandardOutput::Discarded, errFile(i), {}}));
    // All are started before the first wait, so they run together.
    std::vector<Finished> results(programs.size());
    for (std::size_t i = 0; i < programs.size(); ++i) {
        results[i].code = programs[i]->wait();
        results[i].startProblem = programs[i]->startProblem();
        std::ifstream in(errFile(i));
        std::stringstream text;
        text << in.rdbuf();
        results[i].err = text.str();
    }
    return results;
}

// Every program of the round ran: one the harness could not start proves nothing about ktx.
::testing::AssertionResult allStarted(const std::vector<Finished>& results)
{
    if (results.size() != static_cast<std::size_t>(Programs))
        return ::testing::AssertionFailure() << results.size() << " results for " << Programs << " programs";
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (!results[i].startProblem.empty())
            return ::testing::AssertionFailure()
                   << "program " << i << " not started: " << results[i].startProblem;
    }
    return ::testing::AssertionSuccess();
}

std::int64_t countRows(const fs::path& file, const std::string& where = "1")
{
    sqlite3* db = nullptr;
    std::int64_t count = -1;
    if (sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        const std::string sql = "SELECT count(*) FROM Records WHERE " + where;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW)
            count = sqlite3_column_int64(stmt, 0);
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return count;
}

} // namespace

TEST(FirstUseRace, SavesOnANewDataDirectoryAreKeptOrRefusedAndTheTemplateIsMadeOnce)
{
    kestrix::runtime::testing::TempDir dir;
    for (int round = 0; round < Rounds; ++round) {
        const fs::path data = dir.path() / ("m" + std::to_string(round));
        std::vector<std::vector<std::string>> commands;
        for (int i = 0; i < Programs; ++i)
            commands.push_back(
                {"--data-dir", data.string(), "message", "save", "w" + std::to_string(i), "--text", "x"});
        const std::vector<Finished> results = runTogether(commands, dir.path());
        ASSERT_TRUE(allStarted(results)) << "round " << round;

        const std::string listed = ktx({"--data-dir", data.string(), "message", "list"}).out;
        for (int i = 0; i < Programs; ++i) {
            const bool kept = listed.find("w" + std::to_string(i) + "\t") != std::string::npos;
            if (results[i].code == 0)
                EXPECT_TRUE(kept) << "round " << round << ": w" << i << " exited 0 but is not in the file";
            else
                EXPECT_FALSE(results[i].err.empty())
                    << "round " << round << ": w" << i << " failed (exit code " << results[i].code
                    << ") without a word";
        }
        EXPECT_EQ(countRows(data / "MESSAGE.tps", "DESCRIPTION = 'ZZ-DEFAULT'"), 1) << "round " << round;
        EXPECT_LE(countRows(data / "config5.tps"), 1) << "round " << round;
    }
}

TEST(FirstUseRace, FirstConfigurationSetsKeepEveryValueOrRefuseAndMakeOneRecord)
{
    kestrix::runtime::testing::TempDir dir;
    int kept = 0;
    for (int round = 0; round < Rounds; ++round) {
        const fs::path data = dir.path() / ("c" + std::to_string(round));
        std::vector<std::vector<std::string>> commands;
        for (int i = 0; i < Programs; ++i) // each program its own field, so that every kept value can be seen
            commands.push_back(
                {"--data-dir", data.string(), "config", "set", "LOOK:BOLD[" + std::to_string(i + 1) + "]=1"});
        const std::vector<Finished> results = runTogether(commands, dir.path());
        ASSERT_TRUE(allStarted(results)) << "round " << round;

        const std::string shown = ktx({"--data-dir", data.string(), "config", "show"}).out;
        for (int i = 0; i < Programs; ++i) {
            const bool set = shown.find("LOOK:BOLD[" + std::to_string(i + 1) + "]=1\n") != std::string::npos;
            if (results[i].code == 0) {
                ++kept;
                EXPECT_TRUE(set) << "round " << round << ": program " << i
                                 << " exited 0 but its value is lost";
            } else {
                EXPECT_FALSE(set) << "round " << round << ": program " << i
                                  << " was refused yet its value is there";
                EXPECT_FALSE(results[i].err.empty())
                    << "round " << round << ": program " << i << " failed (exit code " << results[i].code
                    << ") without a word";
            }
        }
        EXPECT_EQ(countRows(data / "config5.tps"), 1) << "round " << round;
    }
    EXPECT_GE(kept, Rounds) << "at least the first program of each round keeps its value";
}
