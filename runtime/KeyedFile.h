#pragma once

#include "runtime/FileError.h"
#include "runtime/Record.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// A keyed file of the application runtime, stored as one SQLite database per
// file name ("Config\!PopData" is table PopData inside Config.tps). Keys are
// indexes; reads follow a key's order from a starting value, as SET/NEXT do.
// Several windows and several processes may have the same file open.
namespace kestrix::runtime {

struct DataFileName final
{
    std::string fileName;  // the file part, with ".tps" added when it had no extension
    std::string table;     // the table inside it
};
DataFileName splitDataFileName(const std::string& name);

class KeyedFile final
{
public:
    static constexpr int FileOrder = -1;

    KeyedFile(std::string name, std::shared_ptr<const RecordLayout> layout);
    ~KeyedFile();
    KeyedFile(const KeyedFile&) = delete;
    KeyedFile& operator=(const KeyedFile&) = delete;

    // The name the program opens the file by, as NAME(File) returns it.
    const std::string& name() const { return m_name; }
    std::filesystem::path path() const;
    const RecordLayout& layout() const { return *m_layout; }
    Record newRecord() const { return Record(m_layout); }

    FileError open();
    FileError create();          // (re)creates the table; leaves the file closed
    FileError rebuildKeys();     // BUILD: recreates every key from the records
    // For a bulk load into a new file: the keys go, and rebuildKeys() makes them at the end.
    FileError dropKeys();
    // Waits up to `wait` for another program's lock to go; the next open waits as long.
    FileError recover(std::chrono::milliseconds wait);
    void close();
    bool isOpen() const { return m_db != nullptr; }

    FileError add(Record& record);
    FileError put(Record& record);
    FileError remove(Record& record);
    FileError fetch(std::int64_t position, Record& record);   // by position
    FileError reget(Record& record) { return fetch(record.position(), record); }
    FileError get(int key, Record& record);                   // exact match on the key's fields
    std::int64_t records();
    FileError empty();

    // Sequential reading: SET(file) / SET(key) / SET(key, key), then NEXT or PREVIOUS.
    void setOrder(int key);
    // Every record in the key's order (records the key leaves out are not read).
    std::vector<Record> readAll(int key);
    void setFrom(int key, const Record& start);
    FileError next(Record& record);
    FileError previous(Record& record);

    FileError beginTransaction(std::chrono::milliseconds wait);
    FileError commit();
    FileError rollback();
    bool inTransaction() const { return m_inTransaction; }
    // Bulk mode for loaders: one transaction until flush().
    FileError stream();
    FileError flush();

    FileError lastError() const { return m_lastError; }
    // How long a read or write waits for another program's lock before it reports 32.
    void setBusyTimeout(std::chrono::milliseconds wait);

private:
    FileError openConnection(bool allowCreate);
    FileError checkLayout();
    FileError checkKeys();
    FileError checkStillThere();
    FileError writeBlocker(const Record& record, bool needsPosition);
    std::string createTableSql() const;
    std::vector<std::string> createIndexSql() const;
    std::string keyColumns(int key, bool withCollation, bool descending) const;
    std::string keyFilter(int key) const;
    std::string selectColumns() const;
    sqlite3_stmt* statement(const std::string& sql);
    void readRow(sqlite3_stmt* stmt, Record& record) const;
    void bindFields(sqlite3_stmt* stmt, const Record& record, int firstParam) const;
    void bindKey(sqlite3_stmt* stmt, int key, const std::vector<Record::Value>& values, int firstParam) const;
    FileError step(bool forward, Record& record);
    FileError exec(const std::string& sql);
    FileError execAtomically(const std::vector<std::string>& statements);
    FileError runOnConnection(bool allowCreate, std::vector<std::string> statements);
    FileError mapError(int rc) const;
    FileError fail(FileError error);
    void finalizeStatements();

    std::string m_name;
    DataFileName m_parts;
    std::string m_insertSql;   // built once: adds are the loaders' hot path
    std::string m_selectSql;
    std::shared_ptr<const RecordLayout> m_layout;
    sqlite3* m_db = nullptr;
    std::filesystem::path m_openedPath;
    std::unordered_map<std::string, sqlite3_stmt*> m_statements;
    std::chrono::milliseconds m_busyTimeout{2000};
    std::chrono::milliseconds m_openWait{0};
    bool m_inTransaction = false;
    FileError m_lastError;

    struct Cursor
    {
        int key = FileOrder;
        bool started = false;       // a record was returned since SET
        bool hasStart = false;      // SET(key, key) given
        std::vector<Record::Value> keyValues;  // start, then the last record's key values
        std::int64_t rowid = 0;
        int beyond = 0;             // +1 after NEXT ran off the end, -1 after PREVIOUS ran off the start
    } m_cursor;
};

} // namespace kestrix::runtime
