#include "runtime/KeyedSchema.h"

#include "runtime/FixedText.h"
#include "runtime/KeyedConnection.h"

#include <sqlite3.h>

#include <optional>

namespace kestrix::runtime {

namespace {

constexpr const char* kVersionColumn = "_ver";
constexpr const char* kLayoutTable = "\"_KeyedLayout\"";

std::string sqlName(const std::string& identifier)
{
    std::string out = "\"";
    for (const char c : identifier) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out + "\"";
}

std::string sqlText(const std::string& text)
{
    std::string out = "'";
    for (const char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out + "'";
}

std::string columnText(sqlite3_stmt* stmt, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)))
                : std::string();
}

// The file's layout format, then one row per table and key declared in it. Plain reads
// of the loaded schema: a query with a subquery for each count cost more to prepare than
// the rest of an open.
std::string checkSql()
{
    return "SELECT 'f', user_version, NULL FROM pragma_user_version "
           "UNION ALL SELECT type, NULL, tbl_name FROM sqlite_master WHERE sql IS NOT NULL";
}

struct SchemaFacts
{
    int rc = SQLITE_OK;
    int format = 0;
    bool tableThere = false;
    int indexes = 0;
};

SchemaFacts readFacts(KeyedConnection& connection, const std::string& table)
{
    SchemaFacts facts;
    sqlite3_stmt* stmt = connection.statement(Shape::Check, checkSql);
    if (!stmt) {
        facts.rc = sqlite3_errcode(connection.handle());
        return facts;
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const std::string kind = columnText(stmt, 0);
        if (kind == "f") {
            facts.format = sqlite3_column_int(stmt, 1);
        } else if (sameTextNoCase(columnText(stmt, 2), table)) {
            if (kind == "table")
                facts.tableThere = true;
            else if (kind == "index")
                ++facts.indexes;
        }
    }
    sqlite3_reset(stmt);
    facts.rc = rc == SQLITE_DONE ? SQLITE_OK : rc;
    return facts;
}

class SortBudget final
{
public:
    explicit SortBudget(KeyedConnection& connection) : m_connection(connection)
    {
        sqlite3_stmt* stmt = nullptr;
        const bool read =
            sqlite3_prepare_v2(connection.handle(), "PRAGMA cache_size", -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW;
        if (read)
            m_previous = sqlite3_column_int(stmt, 0);
        sqlite3_finalize(stmt);
        if (!read)
            return;
        // A loader that asked for a larger cache sorts within that one.
        if (m_previous < 0 && -m_previous >= KeyRebuildSortBudgetKib)
            m_ready = true;
        else if (!connection.exec("PRAGMA cache_size=-" + std::to_string(KeyRebuildSortBudgetKib)))
            m_ready = m_applied = true;
    }
    ~SortBudget() { (void)restore(); }
    SortBudget(const SortBudget&) = delete;
    SortBudget& operator=(const SortBudget&) = delete;

    bool ready() const { return m_ready; }
    FileError restore()
    {
        if (!m_applied)
            return FileError::none();
        m_applied = false;
        return m_connection.exec("PRAGMA cache_size=" + std::to_string(m_previous));
    }

private:
    KeyedConnection& m_connection;
    int m_previous = 0;
    bool m_ready = false;
    bool m_applied = false;
};

} // namespace

KeyedSchema::KeyedSchema(std::string table, std::shared_ptr<const RecordLayout> layout)
    : m_table(std::move(table)), m_layout(std::move(layout)), m_quotedTable(sqlName(m_table)),
      // The check at open holds the table to exactly the layout's columns, in its order (the
      // version column first), so "*" reads them in the order readRow expects, without naming each.
      m_selectSql("SELECT rowid, * FROM " + m_quotedTable)
{
}

std::vector<std::string> KeyedSchema::quotedColumns() const
{
    std::vector<std::string> columns;
    columns.reserve(static_cast<std::size_t>(m_layout->slotCount()));
    for (std::size_t f = 0; f < m_layout->fields().size(); ++f) {
        for (int e = 1; e <= m_layout->fields()[f].dims; ++e)
            columns.push_back(sqlName(m_layout->columnName(static_cast<int>(f), e)));
    }
    return columns;
}

std::string KeyedSchema::insertSql() const
{
    std::string columns;
    std::string params;
    int param = 1;
    for (const std::string& column : quotedColumns()) {
        columns += (columns.empty() ? "" : ", ") + column;
        params += (params.empty() ? "?" : ", ?") + std::to_string(param++);
    }
    return "INSERT INTO " + m_quotedTable + " (" + columns + ") VALUES (" + params + ")";
}

std::string KeyedSchema::updateSql() const
{
    std::string sets = std::string(kVersionColumn) + " = " + kVersionColumn + " + 1";
    int param = 1;
    for (const std::string& column : quotedColumns())
        sets += ", " + column + " = ?" + std::to_string(param++);
    return "UPDATE " + m_quotedTable + " SET " + sets + " WHERE rowid = ?" + std::to_string(param) + " AND " +
           kVersionColumn + " = ?" + std::to_string(param + 1);
}

std::string KeyedSchema::deleteSql() const
{
    return "DELETE FROM " + m_quotedTable + " WHERE rowid = ?1 AND " + kVersionColumn + " = ?2";
}

const std::string& KeyedSchema::storedColumnsSignature() const
{
    if (m_columnsSignature.empty())
        m_columnsSignature = columnsSignature();
    return m_columnsSignature;
}

const std::string& KeyedSchema::storedKeysSignature() const
{
    if (m_keysSignature.empty())
        m_keysSignature = keysSignature();
    return m_keysSignature;
}

// Names and kinds only: a string field made longer keeps its column.
std::string KeyedSchema::columnsSignature() const
{
    std::string out = upper(kVersionColumn) + ":I";
    out.reserve(out.size() + static_cast<std::size_t>(m_layout->slotCount()) * 16);
    for (std::size_t f = 0; f < m_layout->fields().size(); ++f) {
        const FieldDef& field = m_layout->fields()[f];
        for (int e = 1; e <= field.dims; ++e) {
            out += ',';
            for (const char c : m_layout->columnName(static_cast<int>(f), e))
                out += upperChar(c);
            out += field.type == FieldType::String ? ":T" : ":I";
        }
    }
    return out;
}

std::string KeyedSchema::keysSignature() const
{
    std::string out;
    for (const KeyDef& key : m_layout->keys()) {
        out += upper(key.name) + "(";
        for (const int f : key.fields)
            out += upper(m_layout->columnName(f)) + (f == key.fields.back() ? "" : ",");
        out += std::string(")") + (key.unique ? "U" : "") + (key.noCase ? "" : "C") +
               (key.excludeBlank ? "X" : "") + ";";
    }
    return out;
}

std::string KeyedSchema::indexName(const KeyDef& key) const
{
    return sqlName(m_table + "_" + key.name);
}

std::string KeyedSchema::keyColumns(int key, bool descending) const
{
    const KeyDef& def = m_layout->keys().at(static_cast<std::size_t>(key));
    std::string out;
    for (const int f : def.fields) {
        if (!out.empty())
            out += ", ";
        out += sqlName(m_layout->columnName(f));
        // Text columns ignore case by declaration, so that keys' range reads can seek their index.
        if (!def.noCase && m_layout->field(f).type == FieldType::String)
            out += " COLLATE BINARY";
        if (descending)
            out += " DESC";
    }
    return out;
}

std::string KeyedSchema::keyFilter(int key) const
{
    const KeyDef& def = m_layout->keys().at(static_cast<std::size_t>(key));
    if (!def.excludeBlank)
        return {};
    std::string out;
    for (const int f : def.fields) {
        if (!out.empty())
            out += " OR ";
        out += sqlName(m_layout->columnName(f));
        out += m_layout->field(f).type == FieldType::String ? " <> ''" : " <> 0";
    }
    return "(" + out + ")";
}

// The key's own filter goes into the WHERE clause: without it SQLite cannot use the partial index.
std::string KeyedSchema::getSql(int key) const
{
    const KeyDef& def = m_layout->keys().at(static_cast<std::size_t>(key));
    std::string where;
    int param = 1;
    for (const int f : def.fields) {
        where += (where.empty() ? "" : " AND ") + sqlName(m_layout->columnName(f)) + " = ?" +
                 std::to_string(param++);
        if (!def.noCase && m_layout->field(f).type == FieldType::String)
            where += " COLLATE BINARY";
    }
    const std::string filter = keyFilter(key);
    if (!filter.empty())
        where += " AND " + filter;
    return m_selectSql + " WHERE " + where + " ORDER BY rowid LIMIT 1";
}

std::vector<std::string> KeyedSchema::createIndexSql(bool ifMissing) const
{
    std::vector<std::string> out;
    for (std::size_t k = 0; k < m_layout->keys().size(); ++k) {
        const KeyDef& def = m_layout->keys()[k];
        std::string sql = def.unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ";
        if (ifMissing)
            sql += "IF NOT EXISTS ";
        sql += indexName(def) + " ON " + m_quotedTable + " (" + keyColumns(static_cast<int>(k), false) + ")";
        const std::string filter = keyFilter(static_cast<int>(k));
        if (!filter.empty())
            sql += " WHERE " + filter;
        out.push_back(sql);
    }
    return out;
}

bool KeyedSchema::exists(KeyedConnection& connection) const
{
    return readFacts(connection, m_table).tableThere;
}

FileError KeyedSchema::check(KeyedConnection& connection) const
{
    const SchemaFacts facts = readFacts(connection, m_table);
    if (facts.rc != SQLITE_OK)
        return connection.error(facts.rc);
    if (!facts.tableThere)
        return FileError::of(ErrorCode::FileNotFound);
    const int format = facts.format;
    const int indexes = facts.indexes;
    if (format != LayoutFormat)
        return checkUnstamped(connection, indexes);

    sqlite3_stmt* stmt = connection.statement(Shape::Stamp, [] {
        return "SELECT columns, keys FROM " + std::string(kLayoutTable) + " WHERE tbl = ?1 COLLATE NOCASE";
    });
    if (!stmt)
        return checkUnstamped(connection, indexes);
    sqlite3_bind_text(stmt, 1, m_table.c_str(), -1, SQLITE_TRANSIENT);
    const int found = sqlite3_step(stmt);
    const std::string columns = found == SQLITE_ROW ? columnText(stmt, 0) : std::string();
    const std::string keys = found == SQLITE_ROW ? columnText(stmt, 1) : std::string();
    sqlite3_reset(stmt);
    if (found == SQLITE_DONE)
        return checkUnstamped(connection, indexes);
    if (found != SQLITE_ROW)
        return connection.error(found);
    if (columns != storedColumnsSignature())
        return FileError::of(ErrorCode::InvalidRecordDeclaration);
    if (keys != storedKeysSignature() || indexes != static_cast<int>(m_layout->keys().size()))
        return FileError::of(ErrorCode::BadKeyFile);
    return FileError::none();
}

// A table this layer did not stamp (made before stamps, or by another program):
// its columns are compared one by one, and its keys must all be there.
FileError KeyedSchema::checkUnstamped(KeyedConnection& connection, int indexes) const
{
    sqlite3_stmt* stmt = connection.statement(Shape::TableInfo, [] {
        return std::string("SELECT name, type FROM pragma_table_info(?1) ORDER BY cid");
    });
    if (!stmt)
        return connection.lastError();
    sqlite3_bind_text(stmt, 1, m_table.c_str(), -1, SQLITE_TRANSIENT);
    std::string columns;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const std::string type = upper(columnText(stmt, 1));
        columns += (columns.empty() ? "" : ",") + upper(columnText(stmt, 0)) +
                   (type == "TEXT"      ? ":T"
                    : type == "INTEGER" ? ":I"
                                        : ":?");
    }
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE)
        return connection.error(rc);
    if (columns != storedColumnsSignature())
        return FileError::of(ErrorCode::InvalidRecordDeclaration);
    if (indexes != static_cast<int>(m_layout->keys().size()))
        return FileError::of(ErrorCode::BadKeyFile);
    return FileError::none();
}

FileError KeyedSchema::stamp(KeyedConnection& connection) const
{
    if (FileError error = connection.exec(
            "CREATE TABLE IF NOT EXISTS " + std::string(kLayoutTable) +
            " (tbl TEXT PRIMARY KEY COLLATE NOCASE, columns TEXT NOT NULL, keys TEXT NOT NULL)"))
        return error;
    if (FileError error = connection.exec(
            "INSERT OR REPLACE INTO " + std::string(kLayoutTable) + " VALUES (" + sqlText(m_table) + ", " +
            sqlText(storedColumnsSignature()) + ", " + sqlText(storedKeysSignature()) + ")"))
        return error;
    return connection.exec("PRAGMA user_version = " + std::to_string(LayoutFormat));
}

FileError KeyedSchema::create(KeyedConnection& connection, bool replace) const
{
    if (!replace && exists(connection))
        return FileError::none();
    std::string sql = "CREATE TABLE " + m_quotedTable + " (" + kVersionColumn + " INTEGER NOT NULL DEFAULT 0";
    for (std::size_t f = 0; f < m_layout->fields().size(); ++f) {
        const FieldDef& field = m_layout->fields()[f];
        for (int e = 1; e <= field.dims; ++e) {
            sql += ", " + sqlName(m_layout->columnName(static_cast<int>(f), e));
            sql += field.type == FieldType::String ? " TEXT COLLATE NOCASE NOT NULL DEFAULT ''"
                                                   : " INTEGER NOT NULL DEFAULT 0";
        }
    }
    sql += ")";
    if (replace) {
        if (FileError error = connection.exec("DROP TABLE IF EXISTS " + m_quotedTable))
            return error;
    }
    if (FileError error = connection.exec(sql))
        return error;
    for (const std::string& index : createIndexSql(false)) {
        if (FileError error = connection.exec(index))
            return error;
    }
    return stamp(connection);
}

FileError KeyedSchema::dropKeys(KeyedConnection& connection) const
{
    // Every index of the table, also those of an older declaration of its keys.
    std::vector<std::string> names;
    sqlite3_stmt* stmt = connection.statement(Shape::IndexNames, [] {
        return std::string(
            "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ?1 COLLATE NOCASE "
            "AND sql IS NOT NULL");
    });
    if (!stmt)
        return connection.lastError();
    sqlite3_bind_text(stmt, 1, m_table.c_str(), -1, SQLITE_TRANSIENT);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        names.push_back(columnText(stmt, 0));
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE)
        return connection.error(rc);
    for (const std::string& name : names) {
        if (FileError error = connection.exec("DROP INDEX IF EXISTS " + sqlName(name)))
            return error;
    }
    return FileError::none();
}

FileError KeyedSchema::rebuildKeys(KeyedConnection& connection) const
{
    if (FileError error = dropKeys(connection))
        return error;
    SortBudget budget(connection);
    if (!budget.ready())
        return connection.lastError();
    for (const std::string& index : createIndexSql(false)) {
        if (FileError error = connection.exec(index))
            return error;
    }
    if (FileError error = budget.restore())
        return error;
    return stamp(connection);
}

void KeyedSchema::readRow(sqlite3_stmt* stmt, Record& record) const
{
    record.setPosition(sqlite3_column_int64(stmt, 0), sqlite3_column_int64(stmt, 1));
    int column = 2;
    for (std::size_t f = 0; f < m_layout->fields().size(); ++f) {
        const FieldDef& field = m_layout->fields()[f];
        for (int e = 1; e <= field.dims; ++e, ++column) {
            if (field.type == FieldType::String) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
                const int bytes = sqlite3_column_bytes(stmt, column);
                record.setText(static_cast<int>(f),
                               std::string_view(text ? text : "", text ? static_cast<std::size_t>(bytes) : 0),
                               e);
            } else {
                record.setNumber(static_cast<int>(f), sqlite3_column_int64(stmt, column), e);
            }
        }
    }
}

int KeyedSchema::bindFields(sqlite3_stmt* stmt, const Record& record) const
{
    int param = 1;
    for (int slot = 0; slot < m_layout->slotCount(); ++slot, ++param) {
        const Record::Value& value = record.slot(slot);
        if (const auto* s = std::get_if<std::string>(&value))
            sqlite3_bind_text(stmt, param, s->data(), static_cast<int>(s->size()),
                              SQLITE_STATIC); // the record outlives the step
        else
            sqlite3_bind_int64(stmt, param, std::get<std::int64_t>(value));
    }
    return param;
}

std::vector<Record::Value> KeyedSchema::keyValues(int key, const Record& record) const
{
    std::vector<Record::Value> values;
    for (const int f : m_layout->keys().at(static_cast<std::size_t>(key)).fields)
        values.push_back(record.slot(m_layout->field(f).firstSlot));
    return values;
}

bool KeyedSchema::blankInKey(int key, const Record& record) const
{
    for (const int f : m_layout->keys().at(static_cast<std::size_t>(key)).fields) {
        const bool blank =
            m_layout->field(f).type == FieldType::String ? isBlank(record.text(f)) : record.number(f) == 0;
        if (!blank)
            return false;
    }
    return true;
}

void bindValues(sqlite3_stmt* stmt, const std::vector<Record::Value>& values, int firstParam)
{
    int param = firstParam;
    for (const Record::Value& value : values) {
        if (const auto* s = std::get_if<std::string>(&value))
            sqlite3_bind_text(stmt, param++, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
        else
            sqlite3_bind_int64(stmt, param++, std::get<std::int64_t>(value));
    }
}

} // namespace kestrix::runtime
