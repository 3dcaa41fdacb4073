#include "runtime/KeyedSchema.h"

#include "runtime/FixedText.h"
#include "runtime/KeyedConnection.h"
#include "runtime/PackedFields.h"

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace kestrix::runtime {

namespace {

constexpr const char* kVersionColumn = "_ver";
constexpr const char* kPackedColumn = "\"_rec\"";
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

// SQL names ignore the case of ASCII letters only.
char sqlUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string columnText(sqlite3_stmt* stmt, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)))
                : std::string();
}

struct SchemaFacts
{
    int rc = SQLITE_OK;
    int format = 0;
    bool tableThere = false;
    int indexes = 0;
};

// The file's layout format, and one row per table and key declared in it: two plain reads of what
// the first read loaded, each cheaper to prepare than one query that joins them.
SchemaFacts readFacts(KeyedConnection& connection, const std::string& table)
{
    SchemaFacts facts;
    sqlite3_stmt* version =
        connection.statement(Shape::Version, [] { return std::string("PRAGMA user_version"); });
    sqlite3_stmt* stmt = connection.statement(Shape::Check, [] {
        return std::string("SELECT type, tbl_name FROM sqlite_master WHERE sql IS NOT NULL");
    });
    if (!version || !stmt) {
        facts.rc = sqlite3_errcode(connection.handle());
        return facts;
    }
    int rc = sqlite3_step(version);
    if (rc == SQLITE_ROW)
        facts.format = sqlite3_column_int(version, 0);
    sqlite3_reset(version);
    if (rc != SQLITE_ROW) {
        facts.rc = rc;
        return facts;
    }
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (!sameTextNoCase(columnText(stmt, 1), table))
            continue;
        const std::string kind = columnText(stmt, 0);
        if (kind == "table")
            facts.tableThere = true;
        else if (kind == "index")
            ++facts.indexes;
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
      // version column first, the packed fields last), so "*" reads them in the order readRow
      // expects, without naming each.
      m_selectSql("SELECT rowid, * FROM " + m_quotedTable),
      m_packed(static_cast<std::size_t>(m_layout->slotCount()), true)
{
    for (const KeyDef& key : m_layout->keys()) {
        for (const int f : key.fields) {
            const FieldDef& field = m_layout->field(f);
            for (int e = 0; e < field.dims; ++e)
                m_packed[static_cast<std::size_t>(field.firstSlot + e)] = false;
        }
    }
    m_packedColumn = packedColumnOf(m_packed);
}

// After the position, the version and the fields' own columns; read by "SELECT rowid, *".
int KeyedSchema::packedColumnOf(const Placement& placement)
{
    if (std::find(placement.begin(), placement.end(), true) == placement.end())
        return -1;
    return 2 + static_cast<int>(std::count(placement.begin(), placement.end(), false));
}

std::vector<std::string> KeyedSchema::quotedColumns() const
{
    std::vector<std::string> columns;
    columns.reserve(static_cast<std::size_t>(m_layout->slotCount()) + 1);
    for (std::size_t f = 0; f < m_layout->fields().size(); ++f) {
        const FieldDef& field = m_layout->fields()[f];
        for (int e = 1; e <= field.dims; ++e) {
            if (!m_packed[static_cast<std::size_t>(field.firstSlot + e - 1)])
                columns.push_back(sqlName(m_layout->columnName(static_cast<int>(f), e)));
        }
    }
    if (hasPacked())
        columns.emplace_back(kPackedColumn);
    return columns;
}

std::string KeyedSchema::insertSql() const
{
    return insertSql(m_quotedTable, false);
}

// With the position, a converted record keeps its place in file order and its version.
std::string KeyedSchema::insertSql(const std::string& quotedTable, bool withPosition) const
{
    std::string columns = withPosition ? std::string("rowid, ") + kVersionColumn : std::string();
    std::string params;
    int param = 1;
    for (int n = withPosition ? 2 : 0; n > 0; --n)
        params += (params.empty() ? "?" : ", ?") + std::to_string(param++);
    for (const std::string& column : quotedColumns()) {
        columns += (columns.empty() ? "" : ", ") + column;
        params += (params.empty() ? "?" : ", ?") + std::to_string(param++);
    }
    return "INSERT INTO " + quotedTable + " (" + columns + ") VALUES (" + params + ")";
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

// Names and kinds only: a string field made longer keeps its place. A packed field's kind is in
// lower case, so the signature says where each field is kept (a column for every field before packing).
std::string KeyedSchema::columnsSignature() const
{
    std::string out = upper(kVersionColumn) + ":I";
    out.reserve(out.size() + static_cast<std::size_t>(m_layout->slotCount()) * 16);
    for (std::size_t f = 0; f < m_layout->fields().size(); ++f) {
        const FieldDef& field = m_layout->fields()[f];
        for (int e = 1; e <= field.dims; ++e) {
            out += ',';
            const std::size_t name = out.size();
            m_layout->appendColumnName(out, static_cast<int>(f), e);
            for (std::size_t i = name; i < out.size(); ++i)
                out[i] = upperChar(out[i]);
            const bool packed = m_packed[static_cast<std::size_t>(field.firstSlot + e - 1)];
            out += field.type == FieldType::String ? (packed ? ":t" : ":T") : (packed ? ":i" : ":I");
        }
    }
    return out;
}

std::optional<KeyedSchema::Placement> KeyedSchema::placementOf(const std::string& signature) const
{
    std::size_t at = 0;
    // The next entry, when it names `name` with `kind` in either case; its case is where the slot is kept.
    // Read at every open, so it compares in place rather than building this layout's signature.
    auto entry = [&](std::string_view name, char kind) -> std::optional<bool> {
        if (at > signature.size())
            return std::nullopt;
        const std::size_t end = std::min(signature.find(',', at), signature.size());
        const std::string_view text(signature.data() + at, end - at);
        at = end + 1;
        if (text.size() != name.size() + 2 || text[name.size()] != ':' || sqlUpper(text.back()) != kind)
            return std::nullopt;
        for (std::size_t i = 0; i < name.size(); ++i) {
            if (sqlUpper(text[i]) != sqlUpper(name[i]))
                return std::nullopt;
        }
        return text.back() != kind;
    };
    if (entry(kVersionColumn, 'I') != false)
        return std::nullopt;
    Placement placement;
    placement.reserve(m_packed.size());
    std::string name;
    for (std::size_t f = 0; f < m_layout->fields().size(); ++f) {
        const FieldDef& field = m_layout->fields()[f];
        for (int e = 1; e <= field.dims; ++e) {
            name.clear();
            m_layout->appendColumnName(name, static_cast<int>(f), e);
            const auto packed = entry(name, field.type == FieldType::String ? 'T' : 'I');
            if (!packed)
                return std::nullopt;
            placement.push_back(*packed);
        }
    }
    if (at <= signature.size())
        return std::nullopt; // more columns than fields
    return placement;
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

// How the table on file was made: its columns signature, and its keys signature when it carries a stamp.
struct KeyedSchema::StoredLayout
{
    FileError error;
    bool tableThere = false;
    int indexes = 0;
    std::string columns;
    std::optional<std::string> keys;
};

KeyedSchema::StoredLayout KeyedSchema::readStored(KeyedConnection& connection) const
{
    StoredLayout stored;
    const SchemaFacts facts = readFacts(connection, m_table);
    if (facts.rc != SQLITE_OK) {
        stored.error = connection.error(facts.rc);
        return stored;
    }
    stored.tableThere = facts.tableThere;
    stored.indexes = facts.indexes;
    if (!stored.tableThere)
        return stored;
    if (facts.format > LayoutFormat) {
        // Made by a later version of this layer: its rows may be laid out in ways this one cannot read.
        stored.error = FileError::of(ErrorCode::InvalidRecordDeclaration);
        return stored;
    }
    if (facts.format > 0) {
        sqlite3_stmt* stmt = connection.statement(Shape::Stamp, [] {
            return "SELECT columns, keys FROM " + std::string(kLayoutTable) +
                   " WHERE tbl = ?1 COLLATE NOCASE";
        });
        if (stmt) {
            sqlite3_bind_text(stmt, 1, m_table.c_str(), -1, SQLITE_TRANSIENT);
            const int found = sqlite3_step(stmt);
            if (found == SQLITE_ROW) {
                stored.columns = columnText(stmt, 0);
                stored.keys = columnText(stmt, 1);
            }
            sqlite3_reset(stmt);
            if (found == SQLITE_ROW)
                return stored;
            if (found != SQLITE_DONE) {
                stored.error = connection.error(found);
                return stored;
            }
        }
    }
    // A table this layer did not stamp (made before stamps, or by another program): a column for
    // each field, compared one by one; its keys must all be there.
    sqlite3_stmt* stmt = connection.statement(Shape::TableInfo, [] {
        return std::string("SELECT name, type FROM pragma_table_info(?1) ORDER BY cid");
    });
    if (!stmt) {
        stored.error = connection.lastError();
        return stored;
    }
    sqlite3_bind_text(stmt, 1, m_table.c_str(), -1, SQLITE_TRANSIENT);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const std::string type = upper(columnText(stmt, 1));
        stored.columns += (stored.columns.empty() ? "" : ",") + upper(columnText(stmt, 0)) +
                          (type == "TEXT"      ? ":T"
                           : type == "INTEGER" ? ":I"
                                               : ":?");
    }
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE)
        stored.error = connection.error(rc);
    return stored;
}

LayoutCheck KeyedSchema::inspect(KeyedConnection& connection) const
{
    const StoredLayout stored = readStored(connection);
    if (stored.error)
        return {stored.error};
    if (!stored.tableThere)
        return {FileError::of(ErrorCode::FileNotFound)};
    const bool keysThere = stored.indexes == static_cast<int>(m_layout->keys().size()) &&
                           (!stored.keys || *stored.keys == storedKeysSignature());
    const std::optional<Placement> placement = placementOf(stored.columns);
    if (!placement)
        return {FileError::of(ErrorCode::InvalidRecordDeclaration)};
    if (*placement == m_packed)
        return {keysThere ? FileError::none() : FileError::of(ErrorCode::BadKeyFile)};
    // The same fields kept in other places: a rebuild of the keys converts them with the keys.
    if (!keysThere)
        return {FileError::of(ErrorCode::BadKeyFile)};
    return {FileError::none(), true};
}

FileError KeyedSchema::convert(KeyedConnection& connection) const
{
    // Read again inside the transaction: another program may have converted it meanwhile.
    const StoredLayout stored = readStored(connection);
    if (stored.error)
        return stored.error;
    if (!stored.tableThere)
        return FileError::of(ErrorCode::FileNotFound);
    const std::optional<Placement> placement = placementOf(stored.columns);
    if (!placement)
        return FileError::of(ErrorCode::InvalidRecordDeclaration);
    if (*placement == m_packed)
        return FileError::none();
    return copyInto(connection, *placement);
}

namespace {

using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

Statement prepareOnce(KeyedConnection& connection, const std::string& sql, int& rc)
{
    sqlite3_stmt* stmt = nullptr;
    rc = sqlite3_prepare_v2(connection.handle(), sql.c_str(), -1, &stmt, nullptr);
    return Statement(stmt, &sqlite3_finalize);
}

} // namespace

// Every record into a new table of this layout, which then takes the old one's name and gets the keys.
FileError KeyedSchema::copyInto(KeyedConnection& connection, const Placement& stored) const
{
    const std::string building = sqlName(m_table + "_converting");
    if (FileError error = connection.exec("DROP TABLE IF EXISTS " + building))
        return error;
    if (FileError error = connection.exec(createTableSql(building)))
        return error;
    {
        int rc = SQLITE_OK;
        const Statement read = prepareOnce(connection, m_selectSql, rc);
        if (rc != SQLITE_OK)
            return connection.error(rc);
        const Statement write = prepareOnce(connection, insertSql(building, true), rc);
        if (rc != SQLITE_OK)
            return connection.error(rc);
        Record record(m_layout);
        std::string packed;
        const int storedPackedColumn = packedColumnOf(stored);
        while ((rc = sqlite3_step(read.get())) == SQLITE_ROW) {
            if (!readRow(read.get(), record, stored, storedPackedColumn))
                return FileError::damaged();
            sqlite3_bind_int64(write.get(), 1, record.position());
            sqlite3_bind_int64(write.get(), 2, record.version());
            bindFields(write.get(), record, packed, 3);
            const int written = sqlite3_step(write.get());
            sqlite3_reset(write.get());
            if (written != SQLITE_DONE)
                return connection.error(written);
        }
        if (rc != SQLITE_DONE)
            return connection.error(rc);
    }
    if (FileError error = connection.exec("DROP TABLE " + m_quotedTable))
        return error;
    if (FileError error = connection.exec("ALTER TABLE " + building + " RENAME TO " + m_quotedTable))
        return error;
    if (FileError error = createKeys(connection))
        return error;
    return stamp(connection);
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

std::string KeyedSchema::createTableSql(const std::string& quotedTable) const
{
    std::string sql = "CREATE TABLE " + quotedTable + " (" + kVersionColumn + " INTEGER NOT NULL DEFAULT 0";
    for (std::size_t f = 0; f < m_layout->fields().size(); ++f) {
        const FieldDef& field = m_layout->fields()[f];
        for (int e = 1; e <= field.dims; ++e) {
            if (m_packed[static_cast<std::size_t>(field.firstSlot + e - 1)])
                continue;
            sql += ", " + sqlName(m_layout->columnName(static_cast<int>(f), e));
            sql += field.type == FieldType::String ? " TEXT COLLATE NOCASE NOT NULL DEFAULT ''"
                                                   : " INTEGER NOT NULL DEFAULT 0";
        }
    }
    if (hasPacked())
        sql += ", " + std::string(kPackedColumn) + " BLOB NOT NULL DEFAULT x''";
    return sql + ")";
}

FileError KeyedSchema::create(KeyedConnection& connection, bool replace) const
{
    if (!replace && exists(connection))
        return FileError::none();
    if (replace) {
        if (FileError error = connection.exec("DROP TABLE IF EXISTS " + m_quotedTable))
            return error;
    }
    if (FileError error = connection.exec(createTableSql(m_quotedTable)))
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

FileError KeyedSchema::createKeys(KeyedConnection& connection) const
{
    SortBudget budget(connection);
    if (!budget.ready())
        return connection.lastError();
    for (const std::string& index : createIndexSql(false)) {
        if (FileError error = connection.exec(index))
            return error;
    }
    return budget.restore();
}

FileError KeyedSchema::rebuildKeys(KeyedConnection& connection) const
{
    const StoredLayout stored = readStored(connection);
    if (stored.error)
        return stored.error;
    if (stored.tableThere) {
        const std::optional<Placement> placement = placementOf(stored.columns);
        if (placement && *placement != m_packed)
            return copyInto(connection, *placement);
    }
    if (FileError error = dropKeys(connection))
        return error;
    if (FileError error = createKeys(connection))
        return error;
    return stamp(connection);
}

bool KeyedSchema::readRow(sqlite3_stmt* stmt, Record& record, const Placement& placement,
                          int packedColumn) const
{
    record.setPosition(sqlite3_column_int64(stmt, 0), sqlite3_column_int64(stmt, 1));
    int column = 2;
    const bool anyPacked = packedColumn >= 0;
    const void* bytes = anyPacked ? sqlite3_column_blob(stmt, packedColumn) : nullptr;
    const auto size = anyPacked ? static_cast<std::size_t>(sqlite3_column_bytes(stmt, packedColumn)) : 0;
    // An empty value is every packed field blank: a row another program added with the column's default.
    PackedReader packed(bytes, size);
    const bool blank = size == 0;
    for (std::size_t f = 0; f < m_layout->fields().size(); ++f) {
        const FieldDef& field = m_layout->fields()[f];
        const bool isText = field.type == FieldType::String;
        for (int e = 1; e <= field.dims; ++e) {
            const int index = static_cast<int>(f);
            if (!placement[static_cast<std::size_t>(field.firstSlot + e - 1)]) {
                if (isText) {
                    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
                    const int length = sqlite3_column_bytes(stmt, column);
                    record.setText(
                        index,
                        std::string_view(text ? text : "", text ? static_cast<std::size_t>(length) : 0), e);
                } else {
                    record.setNumber(index, sqlite3_column_int64(stmt, column), e);
                }
                ++column;
                continue;
            }
            if (isText) {
                std::string_view text;
                if (!blank && !packed.text(text))
                    return false;
                record.setText(index, text, e);
            } else {
                std::int64_t number = 0;
                if (!blank && !packed.number(number))
                    return false;
                record.setNumber(index, number, e);
            }
        }
    }
    return blank || packed.atEnd();
}

int KeyedSchema::bindFields(sqlite3_stmt* stmt, const Record& record, std::string& packed, int first) const
{
    int param = first;
    packed.clear();
    for (int slot = 0; slot < m_layout->slotCount(); ++slot) {
        const Record::Value& value = record.slot(slot);
        const auto* s = std::get_if<std::string>(&value);
        if (m_packed[static_cast<std::size_t>(slot)]) {
            if (s)
                packText(packed, *s);
            else
                packNumber(packed, std::get<std::int64_t>(value));
            continue;
        }
        if (s)
            sqlite3_bind_text(stmt, param++, s->data(), static_cast<int>(s->size()),
                              SQLITE_STATIC); // the record outlives the step
        else
            sqlite3_bind_int64(stmt, param++, std::get<std::int64_t>(value));
    }
    if (hasPacked())
        sqlite3_bind_blob(stmt, param++, packed.data(), static_cast<int>(packed.size()), SQLITE_STATIC);
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
