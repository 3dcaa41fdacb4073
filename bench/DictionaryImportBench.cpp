// The dictionary import against its storage floor: a synthetic text dictionary of
// 2,000 and 4,000 files of 40 fields (keys, an INDEX, a GROUP, LIKE fields, picture
// lines), an alias per ten files and a relation per pair of neighbours, imported
// with ktx's importer; and, for comparison, the same DicFiles and DicTree rows
// bulk-inserted by bare SQLite into a container with the same tables, indexes and
// pragmas, in the same run. Each is measured in turns (three rounds unless the one
// argument says how many) and the best counts, by the wall clock and by processor
// time. Peak memory is the process's high-water mark right after the first import.
#include "bench/BareSqliteFloor.h"
#include "bench/BenchMemory.h"
#include "dictionary/DictionaryImport.h"
#include "dictionary/DictionaryStore.h"
#include "runtime/DdeClient.h"
#include "runtime/IniFile.h"
#include "runtime/KeyedConnection.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sqlite3.h>
#include <string>
#include <vector>

using namespace kestrix;
using namespace kestrix::bench;

namespace {

constexpr int FieldsPerFile = 40;

void writeDictionary(const std::string& path, int files)
{
    std::ofstream out(path, std::ios::binary);
    out << "[DICTIONARY]\nVERSION 1\n\n[FILES]\n";
    for (int f = 0; f < files; ++f) {
        const std::string pre = "P" + std::to_string(f);
        out << "[USEROPTION]\n!EXPORT=Yes\n";
        out << "File" << f << " FILE,DRIVER('TOPSPEED'),PRE(" << pre
            << "),CREATE,BINDABLE,THREAD  !File number " << f << "\n";
        out << "KeyId KEY(" << pre << ":Id),NOCASE,OPT,PRIMARY\n";
        out << "KeyName KEY(" << pre << ":Name,-" << pre << ":F3),DUP,NOCASE\n";
        out << "ByCode INDEX(" << pre << ":F4)\n";
        out << "Record RECORD,PRE()\nId LONG\n!!> PICTURE(@n_7)\nName STRING(30)\n!!> PICTURE(@s30)\n";
        out << "Address GROUP\n";
        for (int i = 3; i <= FieldsPerFile; ++i) {
            if (i == 10)
                out << "  END\n";
            if (f > 0 && i % 8 == 0)
                out << "F" << i << " LIKE(P" << f - 1 << ":Name)\n";
            else if (i % 5 == 0)
                out << "F" << i << " DECIMAL(9,2)\n!!> PICTURE(@n12.2),VALID(INRANGE(" << pre << ":F" << i
                    << ",0,1000))\n";
            else
                out << "F" << i << " STRING(" << 10 + i << ")   !Field " << i << "\n";
        }
        out << "  END\n  END\n\n";
    }
    out << "[ALIASES]\n";
    for (int f = 0; f < files; f += 10)
        out << "Alias" << f << " ALIAS(File" << f << "),PRE(A" << f << ")\n";
    out << "\n[RELATIONS]\n";
    for (int f = 1; f < files; ++f) {
        out << "  RELATION,ONE:MANY,RESTRICT\nFile" << f - 1 << " FILE(KeyId)\nFile" << f
            << " RELATED_FILE(KeyName)\n  FILE_TO_RELATED_KEY\n    FIELD(P" << f - 1 << ":Id,P" << f
            << ":Id)\n  END\n  RELATED_FILE_TO_KEY\n    FIELD(P" << f << ":Id,P" << f - 1
            << ":Id)\n  END\n  END\n";
    }
}

// The import writes its tree with a larger page cache, and a keyed file's rebuild sorts each key within
// the larger of that and its own budget (KeyedSchema::rebuildKeys); the floor gets the same.
const std::string ImportCache = "PRAGMA cache_size=-" + std::to_string(dictionary::ImportPageCacheKib);
const std::string SortBudget =
    "PRAGMA cache_size=-" +
    std::to_string(std::max(dictionary::ImportPageCacheKib, kestrix::runtime::KeyRebuildSortBudgetKib));

// The floor: the store's DicFiles and DicTree rows, read back first, inserted by bare SQLite into a new
// container with the same tables and indexes (their SQL taken from the store) and the keyed files' pragmas.
Timing bareFloor(const std::string& store)
{
    sqlite3* source = nullptr;
    sqlite3_open(store.c_str(), &source);
    std::vector<StoredTable> tables;
    for (const char* name : {"DicFiles", "DicTree"})
        tables.push_back(readTable(source, name));
    sqlite3_close(source);

    std::remove("Floor.dic");
    std::remove("Floor.dic-wal");
    std::remove("Floor.dic-shm");
    startCold();
    const auto started = std::chrono::steady_clock::now();
    const double cpuStarted = cpuSeconds();
    sqlite3* db = nullptr;
    sqlite3_open("Floor.dic", &db);
    exec(db, "PRAGMA journal_mode=WAL");
    for (const std::string& pragma : runtime::KeyedConnection::settings())
        exec(db, pragma);
    exec(db, ImportCache);
    exec(db, "BEGIN IMMEDIATE");
    for (const StoredTable& t : tables) {
        writeRows(db, t);
        exec(db, SortBudget);
        for (const std::string& sql : t.indexSql)
            exec(db, sql);
        exec(db, ImportCache); // as a rebuild gives it back
    }
    exec(db, "COMMIT");
    sqlite3_close(db);
    return {seconds(std::chrono::steady_clock::now() - started), cpuSeconds() - cpuStarted};
}

// The process's peak resident memory in MB, where the system reports it.
double peakMegabytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    }
    return -1;
}

struct Figures
{
    Timing import;
    Timing floor;
    std::int64_t rows = 0;
    double peak = 0;
};

// The import and its floor in turns, `rounds` times; the best of each counts, as the others' load
// on the machine only ever adds time.
Figures measure(int files, int rounds)
{
    runtime::testing::TempDir dir;
    writeDictionary("SYN.TXD", files);
    Figures figures;
    for (int round = 0; round < rounds; ++round) {
        runtime::testing::ScriptedDialogs dialogs;
        dictionary::DictionaryImporter importer(dialogs, runtime::IniFile("KTX4.INI"),
                                                runtime::systemDdeClient);
        startCold();
        const auto started = std::chrono::steady_clock::now();
        const double cpuStarted = cpuSeconds();
        const dictionary::ImportResult result = importer.importFrom((dir.path() / "SYN.TXD").string());
        const Timing import{seconds(std::chrono::steady_clock::now() - started), cpuSeconds() - cpuStarted};
        if (round == 0)
            figures.peak = peakMegabytes();
        if (!result.completed || !dialogs.shown.empty()) {
            std::fprintf(stderr, "the import did not complete: %s\n",
                         dialogs.shown.empty() ? "" : dialogs.shown.front().text.c_str());
            std::exit(1);
        }
        figures.rows = result.treeRows + result.files + result.aliases;
        const Timing floor = bareFloor(result.store);
        figures.import = round == 0 ? import : best(figures.import, import);
        figures.floor = round == 0 ? floor : best(figures.floor, floor);
    }
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 &&
        std::string(argv[1]) == "--write") { // only the text dictionary, for ktx and /usr/bin/time
        writeDictionary(argv[2], std::stoi(argv[3]));
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--once") { // one import and one floor, for a profiler
        const Figures once = measure(std::stoi(argv[2]), 1);
        std::printf("import %.3f s (%.3f s); floor %.3f s (%.3f s); peak %.1f MB\n", once.import.wall,
                    once.import.cpu, once.floor.wall, once.floor.cpu, once.peak);
        return 0;
    }
    const int rounds = argc == 2 ? std::max(1, std::atoi(argv[1])) : 3;
    const Figures one = measure(2000, rounds);
    const Figures two = measure(4000, rounds);
    std::printf("best of %d rounds; wall clock (processor time)\n", rounds);
    std::printf("dictionary import, 2,000 files (%lld rows): %.3f s (%.3f s) (target < 2 s)\n",
                static_cast<long long>(one.rows), one.import.wall, one.import.cpu);
    std::printf("storage floor, same rows: %.3f s (%.3f s); import / floor %.2f (%.2f) (target <= 1.5)\n",
                one.floor.wall, one.floor.cpu, one.import.wall / one.floor.wall,
                one.import.cpu / one.floor.cpu);
    std::printf("dictionary import, 4,000 files (%lld rows): %.3f s (%.3f s); 2x input / 1x time %.2f (%.2f) "
                "(target <= 2.2)\n",
                static_cast<long long>(two.rows), two.import.wall, two.import.cpu,
                two.import.wall / one.import.wall, two.import.cpu / one.import.cpu);
    std::printf("peak memory after the 2,000-file import: %.1f MB (target < 80 MB)\n", one.peak);
    return 0;
}
