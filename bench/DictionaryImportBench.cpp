// The dictionary import against its storage floor: a synthetic text dictionary of
// 2,000 and 4,000 files of 40 fields (keys, an INDEX, a GROUP, LIKE fields, picture
// lines), an alias per ten files and a relation per pair of neighbours, imported
// with ktx's importer; and, for comparison, the same DicFiles and DicTree rows
// bulk-inserted by bare SQLite into a container with the same tables, indexes and
// pragmas, in the same run. Each is measured in turns (three rounds unless the one
// argument says how many) and the best counts, by the wall clock and by processor
// time. Peak memory is the process's high-water mark right after the first import.
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

double seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// Processor time of this process: the machine is shared, and the wall clock counts the others' turns too.
double cpuSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

struct Timing
{
    double wall = 0;
    double cpu = 0;
};

// The import writes its tree with a larger page cache, and a keyed file's rebuild sorts each key within
// the larger of that and its own budget (KeyedSchema::rebuildKeys); the floor gets the same.
const std::string ImportCache = "PRAGMA cache_size=-" + std::to_string(dictionary::ImportPageCacheKib);
const std::string SortBudget =
    "PRAGMA cache_size=-" +
    std::to_string(std::max(dictionary::ImportPageCacheKib, kestrix::runtime::KeyRebuildSortBudgetKib));

void exec(sqlite3* db, const std::string& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", sql.c_str(), error ? error : "?");
        sqlite3_free(error);
    }
}

// The floor: the store's DicFiles and DicTree rows, read back first, inserted by bare SQLite into a new
// container with the same tables and indexes (their SQL taken from the store) and the keyed files' pragmas.
Timing bareFloor(const std::string& store)
{
    sqlite3* source = nullptr;
    sqlite3_open(store.c_str(), &source);
    struct Table
    {
        std::string name, sql;
        std::vector<std::string> indexes;
        int columns = 0;
        std::vector<std::vector<std::string>> texts;
        std::vector<std::vector<sqlite3_int64>> numbers;
        std::vector<int> kinds;
    };
    std::vector<Table> tables;
    for (const char* name : {"DicFiles", "DicTree"}) {
        Table t;
        t.name = name;
        sqlite3_stmt* schema = nullptr;
        sqlite3_prepare_v2(source,
                           "SELECT type, sql FROM sqlite_master WHERE sql IS NOT NULL AND tbl_name = ?1", -1,
                           &schema, nullptr);
        sqlite3_bind_text(schema, 1, name, -1, SQLITE_STATIC);
        while (sqlite3_step(schema) == SQLITE_ROW) {
            const std::string type = reinterpret_cast<const char*>(sqlite3_column_text(schema, 0));
            const std::string sql = reinterpret_cast<const char*>(sqlite3_column_text(schema, 1));
            if (type == "table")
                t.sql = sql;
            else
                t.indexes.push_back(sql);
        }
        sqlite3_finalize(schema);
        sqlite3_stmt* read = nullptr;
        sqlite3_prepare_v2(source, ("SELECT * FROM \"" + t.name + "\"").c_str(), -1, &read, nullptr);
        t.columns = sqlite3_column_count(read);
        t.kinds.resize(t.columns);
        while (sqlite3_step(read) == SQLITE_ROW) {
            t.texts.emplace_back(t.columns);
            t.numbers.emplace_back(t.columns);
            for (int c = 0; c < t.columns; ++c) {
                const int type = sqlite3_column_type(read, c);
                t.kinds[c] = type == SQLITE_TEXT || type == SQLITE_BLOB ? type : SQLITE_INTEGER;
                if (t.kinds[c] == SQLITE_INTEGER)
                    t.numbers.back()[c] = sqlite3_column_int64(read, c);
                else if (const void* bytes = sqlite3_column_blob(read, c)) // packed fields: bytes as they are
                    t.texts.back()[c].assign(static_cast<const char*>(bytes),
                                             static_cast<std::size_t>(sqlite3_column_bytes(read, c)));
            }
        }
        sqlite3_finalize(read);
        tables.push_back(std::move(t));
    }
    sqlite3_close(source);

    std::remove("Floor.dic");
    std::remove("Floor.dic-wal");
    std::remove("Floor.dic-shm");
    const auto started = std::chrono::steady_clock::now();
    const double cpuStarted = cpuSeconds();
    sqlite3* db = nullptr;
    sqlite3_open("Floor.dic", &db);
    exec(db, "PRAGMA journal_mode=WAL");
    for (const std::string& pragma : runtime::KeyedConnection::settings())
        exec(db, pragma);
    exec(db, ImportCache);
    exec(db, "BEGIN IMMEDIATE");
    for (const Table& t : tables) {
        exec(db, t.sql);
        std::string insert = "INSERT INTO \"" + t.name + "\" VALUES (";
        for (int c = 0; c < t.columns; ++c)
            insert += c == 0 ? "?" : ",?";
        insert += ")";
        sqlite3_stmt* add = nullptr;
        sqlite3_prepare_v2(db, insert.c_str(), -1, &add, nullptr);
        for (std::size_t row = 0; row < t.texts.size(); ++row) {
            for (int c = 0; c < t.columns; ++c) {
                if (t.kinds[c] == SQLITE_TEXT)
                    sqlite3_bind_text(add, c + 1, t.texts[row][c].c_str(),
                                      static_cast<int>(t.texts[row][c].size()), SQLITE_STATIC);
                else if (t.kinds[c] == SQLITE_BLOB)
                    sqlite3_bind_blob(add, c + 1, t.texts[row][c].data(),
                                      static_cast<int>(t.texts[row][c].size()), SQLITE_STATIC);
                else
                    sqlite3_bind_int64(add, c + 1, t.numbers[row][c]);
            }
            sqlite3_step(add);
            sqlite3_reset(add);
        }
        sqlite3_finalize(add);
        exec(db, SortBudget);
        for (const std::string& sql : t.indexes)
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
        if (round == 0 || import.wall < figures.import.wall)
            figures.import.wall = import.wall;
        if (round == 0 || import.cpu < figures.import.cpu)
            figures.import.cpu = import.cpu;
        if (round == 0 || floor.wall < figures.floor.wall)
            figures.floor.wall = floor.wall;
        if (round == 0 || floor.cpu < figures.floor.cpu)
            figures.floor.cpu = floor.cpu;
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
