#include "bench/BareSqliteFloor.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace kestrix::bench {

Timing best(const Timing& a, const Timing& b)
{
    return {std::min(a.wall, b.wall), std::min(a.cpu, b.cpu)};
}

double seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

double cpuSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

void exec(sqlite3* db, const std::string& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", sql.c_str(), error ? error : "?");
        sqlite3_free(error);
    }
}

StoredTable readTable(sqlite3* source, const std::string& name)
{
    StoredTable t;
    t.name = name;
    sqlite3_stmt* schema = nullptr;
    sqlite3_prepare_v2(source, "SELECT type, sql FROM sqlite_master WHERE sql IS NOT NULL AND tbl_name = ?1",
                       -1, &schema, nullptr);
    sqlite3_bind_text(schema, 1, name.c_str(), -1, SQLITE_STATIC);
    while (sqlite3_step(schema) == SQLITE_ROW) {
        const std::string type = reinterpret_cast<const char*>(sqlite3_column_text(schema, 0));
        const std::string sql = reinterpret_cast<const char*>(sqlite3_column_text(schema, 1));
        if (type == "table")
            t.createSql = sql;
        else if (type == "index")
            t.indexSql.push_back(sql);
    }
    sqlite3_finalize(schema);
    sqlite3_stmt* read = nullptr;
    sqlite3_prepare_v2(source, ("SELECT * FROM \"" + name + "\"").c_str(), -1, &read, nullptr);
    t.columns = sqlite3_column_count(read);
    t.kinds.resize(static_cast<std::size_t>(t.columns));
    while (sqlite3_step(read) == SQLITE_ROW) {
        t.texts.emplace_back(t.columns);
        t.numbers.emplace_back(t.columns);
        for (int c = 0; c < t.columns; ++c) {
            const int type = sqlite3_column_type(read, c);
            int& kind = t.kinds[static_cast<std::size_t>(c)];
            kind = type == SQLITE_TEXT || type == SQLITE_BLOB ? type : SQLITE_INTEGER;
            if (kind == SQLITE_INTEGER)
                t.numbers.back()[c] = sqlite3_column_int64(read, c);
            else if (const void* bytes = sqlite3_column_blob(read, c)) // packed fields: bytes as they are
                t.texts.back()[c].assign(static_cast<const char*>(bytes),
                                         static_cast<std::size_t>(sqlite3_column_bytes(read, c)));
        }
    }
    sqlite3_finalize(read);
    return t;
}

void writeRows(sqlite3* db, const StoredTable& t)
{
    exec(db, t.createSql);
    std::string insert = "INSERT INTO \"" + t.name + "\" VALUES (";
    for (int c = 0; c < t.columns; ++c)
        insert += c == 0 ? "?" : ",?";
    insert += ")";
    sqlite3_stmt* add = nullptr;
    sqlite3_prepare_v2(db, insert.c_str(), -1, &add, nullptr);
    for (std::size_t row = 0; row < t.texts.size(); ++row) {
        for (int c = 0; c < t.columns; ++c) {
            const std::string& text = t.texts[row][c];
            switch (t.kinds[static_cast<std::size_t>(c)]) {
            case SQLITE_TEXT:
                sqlite3_bind_text(add, c + 1, text.c_str(), static_cast<int>(text.size()), SQLITE_STATIC);
                break;
            case SQLITE_BLOB:
                sqlite3_bind_blob(add, c + 1, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
                break;
            default:
                sqlite3_bind_int64(add, c + 1, t.numbers[row][c]);
            }
        }
        sqlite3_step(add);
        sqlite3_reset(add);
    }
    sqlite3_finalize(add);
}

} // namespace kestrix::bench
