#pragma once

#include "runtime/FileError.h"
#include "runtime/Record.h"

#include <memory>
#include <string>
#include <vector>

struct sqlite3_stmt;

// The table of one keyed file and its keys: the SQL that creates, checks and
// rebuilds them, and the reading and binding of record values.
//
// A file made by this layer carries its layout format in PRAGMA user_version and
// each table's column and key declaration in a small layout table, so that the
// check at open is two short reads instead of a comparison of the whole schema.
namespace kestrix::runtime {

class KeyedConnection;

// The shapes of statement a keyed file prepares, one statement each per connection.
namespace Shape {
constexpr int Check = 1;
constexpr int Stamp = 2;
constexpr int Insert = 3;
constexpr int Update = 4;
constexpr int Delete = 5;
constexpr int Fetch = 6;
constexpr int Count = 7;
constexpr int TableInfo = 8;
constexpr int IndexNames = 9;
constexpr int Get = 100;     // + key
constexpr int Cursor = 1000; // + (key + 1) * 8 + direction and start flags
} // namespace Shape

class KeyedSchema final
{
public:
    static constexpr int FileOrder = -1;
    // Raised when the way this layer lays out tables and keys changes.
    static constexpr int LayoutFormat = 1;

    KeyedSchema(std::string table, std::shared_ptr<const RecordLayout> layout);

    const std::string& table() const { return m_table; }
    const std::string& quotedTable() const { return m_quotedTable; }
    const RecordLayout& layout() const { return *m_layout; }
    const std::shared_ptr<const RecordLayout>& layoutPtr() const { return m_layout; }

    // FileNotFound when the table is missing, InvalidRecordDeclaration for other
    // fields, BadKeyFile for other or missing keys.
    FileError check(KeyedConnection& connection) const;
    // Each runs inside the caller's transaction.
    FileError create(KeyedConnection& connection, bool replace) const; // replace: drop what is there first
    FileError rebuildKeys(KeyedConnection& connection) const;
    FileError dropKeys(KeyedConnection& connection) const;
    bool exists(KeyedConnection& connection) const;

    // Statement texts, built when a connection first prepares them: a command that only reads
    // never pays for the writes' texts of a wide record.
    const std::string& selectSql() const { return m_selectSql; }
    std::string insertSql() const;
    std::string updateSql() const;
    std::string deleteSql() const;
    std::string getSql(int key) const;
    std::string keyColumns(int key, bool descending) const;
    // The key's partial-index condition, empty when the key holds every record.
    std::string keyFilter(int key) const;

    void readRow(sqlite3_stmt* stmt, Record& record) const;
    // Binds every field of the record from parameter 1 on; returns the next parameter.
    int bindFields(sqlite3_stmt* stmt, const Record& record) const;
    std::vector<Record::Value> keyValues(int key, const Record& record) const;
    // True when the record's values for the key are all blank or zero.
    bool blankInKey(int key, const Record& record) const;

private:
    std::string indexName(const KeyDef& key) const;
    std::vector<std::string> createIndexSql(bool ifMissing) const;
    std::string columnsSignature() const;
    std::string keysSignature() const;
    // The column names in table order, quoted; and the signatures, each made on first use.
    std::vector<std::string> quotedColumns() const;
    const std::string& storedColumnsSignature() const;
    const std::string& storedKeysSignature() const;
    FileError checkUnstamped(KeyedConnection& connection, int indexes) const;
    FileError stamp(KeyedConnection& connection) const;

    std::string m_table;
    std::shared_ptr<const RecordLayout> m_layout;
    std::string m_quotedTable;
    std::string m_selectSql;
    mutable std::string m_columnsSignature;
    mutable std::string m_keysSignature;
};

void bindValues(sqlite3_stmt* stmt, const std::vector<Record::Value>& values, int firstParam);

} // namespace kestrix::runtime
