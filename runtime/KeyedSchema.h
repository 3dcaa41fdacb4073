#pragma once

#include "runtime/FileError.h"
#include "runtime/Record.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3_stmt;

// The table of one keyed file and its keys: the SQL that creates, checks and
// rebuilds them, and the reading and binding of record values.
//
// A file made by this layer carries its layout format in PRAGMA user_version and
// each table's column and key declaration in a small layout table, so that the
// check at open is two short reads instead of a comparison of the whole schema.
//
// The fields a key reads are columns, for the key's index; every other field is packed
// into the one column `_rec`. A table of an earlier layout (a column for every field) is
// converted when it is opened.
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
constexpr int Version = 10;
constexpr int Get = 100;     // + key
constexpr int Cursor = 1000; // + (key + 1) * 8 + direction and start flags
} // namespace Shape

// What the check at open found: an error, or a table of an earlier layout that convert() brings up to date.
struct LayoutCheck final
{
    FileError error;
    bool olderLayout = false;
};

class KeyedSchema final
{
public:
    static constexpr int FileOrder = -1;
    // Raised when the way this layer lays out tables and keys changes.
    static constexpr int LayoutFormat = 2;

    KeyedSchema(std::string table, std::shared_ptr<const RecordLayout> layout);

    const std::string& table() const { return m_table; }
    const std::string& quotedTable() const { return m_quotedTable; }
    const RecordLayout& layout() const { return *m_layout; }
    const std::shared_ptr<const RecordLayout>& layoutPtr() const { return m_layout; }

    // FileNotFound when the table is missing, InvalidRecordDeclaration for other
    // fields, BadKeyFile for other or missing keys.
    LayoutCheck inspect(KeyedConnection& connection) const;
    // Each runs inside the caller's transaction.
    FileError create(KeyedConnection& connection, bool replace) const; // replace: drop what is there first
    // Rewrites a table of an earlier layout of the same fields, with its keys; nothing to do when it is
    // current.
    FileError convert(KeyedConnection& connection) const;
    // Also converts a table whose columns follow an earlier declaration of the keys.
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

    // False when the row's packed fields cannot be read: the file is damaged.
    bool readRow(sqlite3_stmt* stmt, Record& record) const
    {
        return readRow(stmt, record, m_packed, m_packedColumn);
    }
    // Binds every field of the record from parameter `first` on; returns the next parameter. The packed
    // fields are bound from `packed`, which like the record must stay unchanged until the step is done:
    // a loader's buffer serves every record, where a new one for each would cost an allocation and a copy.
    int bindFields(sqlite3_stmt* stmt, const Record& record, std::string& packed, int first = 1) const;
    std::vector<Record::Value> keyValues(int key, const Record& record) const;
    // True when the record's values for the key are all blank or zero.
    bool blankInKey(int key, const Record& record) const;

private:
    struct StoredLayout;
    // A slot's place: true when it is packed into `_rec`, false when it has a column of its own.
    using Placement = std::vector<bool>;

    StoredLayout readStored(KeyedConnection& connection) const;
    // The placement a stored columns signature describes, when it holds exactly this layout's fields.
    std::optional<Placement> placementOf(const std::string& signature) const;
    // `packedColumn`: the result column of `_rec`, -1 when the placement packs nothing.
    bool readRow(sqlite3_stmt* stmt, Record& record, const Placement& placement, int packedColumn) const;
    static int packedColumnOf(const Placement& placement);
    bool hasPacked() const { return m_packedColumn >= 0; }
    std::string createTableSql(const std::string& quotedTable) const;
    std::string insertSql(const std::string& quotedTable, bool withPosition) const;
    FileError copyInto(KeyedConnection& connection, const Placement& stored) const;
    FileError createKeys(KeyedConnection& connection) const;
    std::string indexName(const KeyDef& key) const;
    std::vector<std::string> createIndexSql(bool ifMissing) const;
    std::string columnsSignature() const;
    std::string keysSignature() const;
    // The names of the fields' own columns in table order, quoted, `_rec` last when fields are packed;
    // and the signatures, each made on first use.
    std::vector<std::string> quotedColumns() const;
    const std::string& storedColumnsSignature() const;
    const std::string& storedKeysSignature() const;
    FileError stamp(KeyedConnection& connection) const;

    std::string m_table;
    std::shared_ptr<const RecordLayout> m_layout;
    std::string m_quotedTable;
    std::string m_selectSql;
    Placement m_packed;
    int m_packedColumn = -1; // the result column of `_rec`; -1 when no field is packed
    mutable std::string m_columnsSignature;
    mutable std::string m_keysSignature;
};

void bindValues(sqlite3_stmt* stmt, const std::vector<Record::Value>& values, int firstParam);

} // namespace kestrix::runtime
