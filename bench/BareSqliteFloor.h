#pragma once

#include <sqlite3.h>

#include <chrono>
#include <string>
#include <vector>

// What the loaders are measured against: the rows a load wrote, read back, then written again by bare
// SQLite with the table's own SQL and indexes. Shared by the load benchmarks, with their clocks.
namespace kestrix::bench {

struct Timing
{
    double wall = 0;
    double cpu = 0;
};

// The better of two timings, figure by figure: what the machine's other work let through the least. A
// benchmark keeps the best of a few rounds, as a single round can meet a slow spell of a shared machine.
Timing best(const Timing& a, const Timing& b);

double seconds(std::chrono::steady_clock::duration d);
// Processor time of this process: the machine is shared, and the wall clock counts the others' turns too.
double cpuSeconds();

// Runs one statement; a failure is printed, as a benchmark has nobody to ask.
void exec(sqlite3* db, const std::string& sql);

// A table as stored: the SQL that made it and its indexes, and every row's values as read.
struct StoredTable
{
    std::string name;
    std::string createSql;
    std::vector<std::string> indexSql;
    int columns = 0;
    std::vector<int> kinds; // SQLITE_TEXT, SQLITE_BLOB or SQLITE_INTEGER, per column
    std::vector<std::vector<std::string>> texts;
    std::vector<std::vector<sqlite3_int64>> numbers;
};

StoredTable readTable(sqlite3* source, const std::string& name);
// Creates the table in `db` and inserts its rows through one prepared statement; the indexes are left to
// the caller, who builds them after the rows as a bulk load does.
void writeRows(sqlite3* db, const StoredTable& table);

} // namespace kestrix::bench
