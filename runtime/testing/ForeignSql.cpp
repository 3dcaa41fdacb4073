#include "runtime/testing/ForeignSql.h"

#include <sqlite3.h>

namespace kestrix::runtime::testing {

std::string runForeignSql(const std::filesystem::path& file, const std::string& statements)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(file.string().c_str(), &db) != SQLITE_OK) {
        std::string error = db ? sqlite3_errmsg(db) : "cannot open " + file.string();
        sqlite3_close(db);
        return error;
    }
    char* message = nullptr;
    const int rc = sqlite3_exec(db, statements.c_str(), nullptr, nullptr, &message);
    std::string error = rc == SQLITE_OK ? std::string() : (message ? message : sqlite3_errstr(rc));
    sqlite3_free(message);
    sqlite3_close(db);
    return error;
}

} // namespace kestrix::runtime::testing
