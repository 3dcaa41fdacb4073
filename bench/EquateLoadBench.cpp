// The equate loader against its storage floor: a synthetic installation of
// 100,000 and 200,000 equate lines in every form the loader reads, in a data
// directory laid out as a new user's (the three delivered list files, the main
// one naming the synthetic sources), loaded by EquateLoad and, for comparison,
// the same rows bulk-inserted by bare SQLite into the same table with the same
// indexes and pragmas. Prints one line per figure, each the best of three rounds
// (a shared machine has slow spells); every timed part starts from a heap given back.
#include "bench/BareSqliteFloor.h"
#include "bench/BenchMemory.h"
#include "equates/EquateLoader.h"
#include "equates/EquateRecord.h"
#include "resources/DeliveredFiles.h"
#include "runtime/IniFile.h"
#include "runtime/KeyedConnection.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sqlite3.h>
#include <string>
#include <vector>

using namespace kestrix;
namespace fs = std::filesystem;
using namespace kestrix::bench;

namespace {

constexpr int LinesPerFile = 5000;
constexpr int AbcLines = 2000; // the ABC library's source, named by the delivered "EQU-ABC5.TXT"

std::string line(int file, int i)
{
    char buffer[200];
    switch (i % 8) {
    case 0:
        std::snprintf(buffer, sizeof buffer, "COLOR:Shade%d_%d   EQUATE(00%06XH)  ! a colour", file, i, i);
        break;
    case 1:
        std::snprintf(buffer, sizeof buffer, "COLOR:SYS%d_%d     EQUATE(8%07XH)", file, i, i);
        break;
    case 2:
        std::snprintf(buffer, sizeof buffer, "ICON:Pic%d_%d      EQUATE('<0FFH,01H,%02XH,7FH>')", file, i,
                      i % 256);
        break;
    case 3:
        std::snprintf(buffer, sizeof buffer, "EVENT:Ev%d_%d      EQUATE(%d)", file, i, i % 700 + 1);
        break;
    case 4:
        std::snprintf(buffer, sizeof buffer, "Key%d_%d           EQUATE(%04XH)", file, i, i % 0x800);
        break;
    case 5:
        std::snprintf(buffer, sizeof buffer, "PROPLIST:P%d_%d    EQUATE(%d)  ! a property", file, i, i);
        break;
    case 6:
        std::snprintf(buffer, sizeof buffer, "Member%d_%d        EQUATE", file, i);
        break;
    default:
        std::snprintf(buffer, sizeof buffer, "Pic%d_%d           EQUATE('@N%d.2')", file, i, i % 12 + 1);
        break;
    }
    return buffer;
}

void writeInstallation(int totalLines)
{
    for (const resources::DeliveredFile& delivered : resources::deliveredFiles()) {
        std::ofstream out(delivered.name, std::ios::binary);
        out.write(delivered.content.data(), static_cast<std::streamsize>(delivered.content.size()));
    }
    fs::create_directories("cw/LIBSRC");
    {
        std::ofstream abc("cw/LIBSRC/ABERRORS.INC");
        for (int i = 0; i < AbcLines; ++i)
            abc << "Level:L" << i << "   EQUATE(" << i << ")  ! a level\n";
    }
    totalLines -= AbcLines;
    const int files = totalLines / LinesPerFile;
    std::ofstream list("EQU-LOA5.TXT");
    list << "[FILES]\nPATH=%CW%\\LIBSRC\n";
    for (int f = 0; f < files; ++f) {
        const std::string name = "SYN" + std::to_string(f) + ".CLW";
        std::string entry(30, ' ');
        entry.replace(0, name.size(), name);
        entry.replace(14, 7, "Keycode");
        list << entry << "\n";
        std::ofstream source("cw/LIBSRC/" + name);
        source << "Block" << f << " ITEMIZE(1),PRE(BLK" << f << ")\n";
        for (int i = 0; i < LinesPerFile - 2; ++i)
            source << line(f, i) << "\n";
        source << " END\n";
    }
    list << "[DUPS]\nTYPE=Again\n*COLOR:Shade0_\n";
}

struct Figures
{
    Timing load;
    Timing floor;
    std::int64_t records = 0;
};

// The keyed files' rebuild sorts each key within this cache (KeyedSchema::rebuildKeys); the floor's
// index build gets the same.
const std::string SortBudget =
    "PRAGMA cache_size=-" + std::to_string(kestrix::runtime::KeyRebuildSortBudgetKib);

// The floor: the loaded rows, read back first, inserted by bare SQLite into a new file
// with the table and indexes the loader's file has (their SQL taken from it) and the
// pragmas the keyed files use; the indexes built after the rows, as a bulk load does.
Timing bareFloor(const std::string& loaded)
{
    sqlite3* source = nullptr;
    sqlite3_open(loaded.c_str(), &source);
    // The records' table, not the keyed file layer's own layout table.
    std::string name;
    sqlite3_stmt* table = nullptr;
    sqlite3_prepare_v2(
        source, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE '\\_%' ESCAPE '\\'",
        -1, &table, nullptr);
    if (sqlite3_step(table) == SQLITE_ROW)
        name = reinterpret_cast<const char*>(sqlite3_column_text(table, 0));
    sqlite3_finalize(table);
    const StoredTable rows = readTable(source, name);
    sqlite3_close(source);

    startCold();
    const auto started = std::chrono::steady_clock::now();
    const double cpuStarted = cpuSeconds();
    sqlite3* db = nullptr;
    sqlite3_open("Floor.tps", &db);
    exec(db, "PRAGMA journal_mode=WAL");
    for (const std::string& pragma : runtime::KeyedConnection::settings())
        exec(db, pragma);
    exec(db, "BEGIN IMMEDIATE");
    writeRows(db, rows);
    exec(db, SortBudget);
    for (const std::string& sql : rows.indexSql)
        exec(db, sql);
    exec(db, "COMMIT");
    sqlite3_close(db);
    return {seconds(std::chrono::steady_clock::now() - started), cpuSeconds() - cpuStarted};
}

// One load into a new user's data directory, and its floor.
Figures measureOnce(int totalLines)
{
    runtime::testing::TempDir dir;
    writeInstallation(totalLines);
    runtime::testing::ScriptedDialogs dialogs;
    runtime::KeyedFile file("Equates5.tps", equates::equateLayout());
    equates::EquateLoader loader(file, "cw", dialogs);
    startCold();
    const auto started = std::chrono::steady_clock::now();
    const double cpuStarted = cpuSeconds();
    const equates::EquateLoadResult result = loader.run(runtime::IniFile("KTX4.INI"));
    Figures figures;
    figures.load = {seconds(std::chrono::steady_clock::now() - started), cpuSeconds() - cpuStarted};
    figures.records = result.records;

    file.close();
    figures.floor = bareFloor("Equates5.tps");
    return figures;
}

// Each round's figures where they beat the rounds' before.
void keepBest(Figures& kept, const Figures& round, bool first)
{
    kept.load = first ? round.load : best(kept.load, round.load);
    kept.floor = first ? round.floor : best(kept.floor, round.floor);
    kept.records = round.records;
}

} // namespace

// With --write DIR LINES, only writes the installation there (for ktx and /usr/bin/time); with ROUNDS,
// keeps the best of that many rounds (3 unless told).
int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--write") {
        fs::create_directories(argv[2]);
        fs::current_path(argv[2]);
        writeInstallation(std::stoi(argv[3]));
        return 0;
    }
    // The sizes take turns, so that a slow spell of the machine does not fall on one of them alone.
    const int rounds = argc == 2 ? std::max(1, std::atoi(argv[1])) : 3;
    Figures small;
    Figures large;
    for (int round = 0; round < rounds; ++round) {
        keepBest(small, measureOnce(100000), round == 0);
        keepBest(large, measureOnce(200000), round == 0);
    }
    // Wall clock, then processor time: on a shared machine the second is the steadier figure.
    const auto both = [](const char* what, Timing t, const char* target) {
        std::printf("%-46s %6.3f s (%.3f) %5s\n", what, t.wall, t.cpu, target);
    };
    const auto ratio = [](const char* what, double wall, double cpu, const char* target) {
        std::printf("%-46s %7.2f (%.2f) %7s\n", what, wall, cpu, target);
    };
    std::printf("%-46s %14s %14s\n", "measured", "wall (cpu)", "target");
    std::printf("%-46s %14d %14s\n", "rounds (the best of each figure kept)", rounds, "");
    both("EquateLoad, 100,000 lines", small.load, "< 1 s");
    both("floor: bare SQLite, same rows and indexes", small.floor, "");
    ratio("load / floor", small.load.wall / small.floor.wall, small.load.cpu / small.floor.cpu, "< 1.3");
    both("EquateLoad, 200,000 lines", large.load, "");
    ratio("200,000 / 100,000 lines", large.load.wall / small.load.wall, large.load.cpu / small.load.cpu,
          "< 2.1");
    // What the storage itself does with twice the rows: the loader's growth read against it.
    ratio("  the floor's own 200,000 / 100,000", large.floor.wall / small.floor.wall,
          large.floor.cpu / small.floor.cpu, "");
    std::printf("%-46s %14lld %14s\n", "records of the 100,000-line load",
                static_cast<long long>(small.records), "");
    return 0;
}
