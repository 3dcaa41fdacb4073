#include "runtime/KeyedFile.h"

#include "runtime/FixedText.h"
#include "runtime/WinPath.h"

#include <sqlite3.h>

#include <cerrno>
#include <system_error>

namespace kestrix::runtime {
namespace {

constexpr const char* kDefaultTable = "Records";
constexpr const char* kVersionColumn = "_ver";

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

bool hasExtension(const std::string& fileName)
{
    const auto slash = fileName.find_last_of("\\/");
    const auto dot = fileName.find_last_of('.');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

} // namespace

DataFileName splitDataFileName(const std::string& name)
{
    DataFileName parts;
    const auto bang = name.find("\\!");
    parts.fileName = bang == std::string::npos ? name : name.substr(0, bang);
    parts.table = bang == std::string::npos ? kDefaultTable : name.substr(bang + 2);
    if (parts.table.empty())
        parts.table = kDefaultTable;
    if (!hasExtension(parts.fileName))
        parts.fileName += ".tps";
    return parts;
}

KeyedFile::KeyedFile(std::string name, std::shared_ptr<const RecordLayout> layout)
    : m_name(std::move(name)), m_parts(splitDataFileName(m_name)), m_layout(std::move(layout))
{
    std::string columns;
    std::string params;
    int param = 1;
    for (std::size_t f = 0; f < m_layout->fields().size(); ++f) {
        for (int e = 1; e <= m_layout->fields()[f].dims; ++e) {
            columns += (columns.empty() ? "" : ", ") + sqlName(m_layout->columnName(static_cast<int>(f), e));
            params += (params.empty() ? "?" : ", ?") + std::to_string(param++);
        }
    }
    m_insertSql = "INSERT INTO " + sqlName(m_parts.table) + " (" + columns + ") VALUES (" + params + ")";
    m_selectSql = "SELECT " + selectColumns() + " FROM " + sqlName(m_parts.table);
}

KeyedFile::~KeyedFile()
{
    close();
}

std::filesystem::path KeyedFile::path() const
{
    return resolveWinPath(m_parts.fileName);
}

FileError KeyedFile::fail(FileError error)
{
    m_lastError = error;
    return error;
}

FileError KeyedFile::mapError(int rc) const
{
    const int primary = rc & 0xFF;
    switch (primary) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE: return FileError::none();
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return FileError::of(ErrorCode::FileLocked);
    case SQLITE_CONSTRAINT: return FileError::of(ErrorCode::DuplicateKey);
    case SQLITE_CORRUPT: return FileError::of(ErrorCode::BadKeyFile);
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH: return FileError::of(ErrorCode::AccessDenied);
    default: break;
    }
    // The file or its folder may not be opened or written by this user.
    if (primary == SQLITE_CANTOPEN)
        return FileError::of(ErrorCode::AccessDenied);
    const int sysErr = m_db ? sqlite3_system_errno(m_db) : 0;
    if (sysErr != 0 && primary != SQLITE_NOTADB)
        return FileError::system(std::system_category().message(sysErr), sysErr);
    return FileError::system(sqlite3_errstr(rc), primary);
}

FileError KeyedFile::exec(const std::string& sql)
{
    const int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr);
    return rc == SQLITE_OK ? FileError::none() : mapError(rc);
}

sqlite3_stmt* KeyedFile::statement(const std::string& sql)
{
    auto it = m_statements.find(sql);
    if (it != m_statements.end()) {
        sqlite3_reset(it->second);
        sqlite3_clear_bindings(it->second);
        return it->second;
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return nullptr;
    }
    m_statements.emplace(sql, stmt);
    return stmt;
}

void KeyedFile::finalizeStatements()
{
    for (auto& [sql, stmt] : m_statements)
        sqlite3_finalize(stmt);
    m_statements.clear();
}

FileError KeyedFile::openConnection(bool allowCreate)
{
    if (m_db)
        return FileError::of(ErrorCode::FileAlreadyOpen);
    const auto file = path();
    std::error_code ec;
    if (!allowCreate && !std::filesystem::exists(file, ec))
        return FileError::of(ErrorCode::FileNotFound);
    const auto folder = file.parent_path();
    if (allowCreate && !folder.empty() && !std::filesystem::is_directory(folder, ec))
        return FileError::of(ErrorCode::PathNotFound);
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX;
    if (allowCreate)
        flags |= SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(file.string().c_str(), &m_db, flags, nullptr);
    m_openedPath = std::filesystem::absolute(file, ec);
    if (rc != SQLITE_OK) {
        FileError error = mapError(rc);
        if (error.ok())
            error = FileError::of(ErrorCode::AccessDenied);
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        return error;
    }
    if (sqlite3_db_readonly(m_db, "main") == 1) {
        close();
        return FileError::of(ErrorCode::AccessDenied);
    }
    const auto wait = std::max(m_busyTimeout, m_openWait);
    sqlite3_busy_timeout(m_db, static_cast<int>(wait.count()));
    // Room for a loader's keys: with the default cache a bulk load keeps re-reading index pages.
    sqlite3_exec(m_db, "PRAGMA cache_size=-32768", nullptr, nullptr, nullptr);
    // In WAL mode NORMAL keeps the file consistent through a crash; only the last commit may be lost on power failure.
    sqlite3_exec(m_db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    sqlite3_exec(m_db, "PRAGMA temp_store=MEMORY", nullptr, nullptr, nullptr); // key builds sort in memory
    return FileError::none();
}

FileError KeyedFile::open()
{
    if (m_db)
        return fail(FileError::of(ErrorCode::FileAlreadyOpen));
    if (FileError error = openConnection(false)) {
        return fail(error);
    }
    // The first read of the schema is where a locked or foreign file shows.
    sqlite3_stmt* stmt = statement("SELECT count(*) FROM sqlite_master WHERE type='table' AND name=?1");
    if (!stmt) {
        FileError error = mapError(sqlite3_errcode(m_db));
        close();
        return fail(error);
    }
    sqlite3_bind_text(stmt, 1, m_parts.table.c_str(), -1, SQLITE_TRANSIENT);
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_ROW) {
        FileError error = mapError(rc);
        close();
        return fail(error);
    }
    const bool tableExists = sqlite3_column_int(stmt, 0) > 0;
    sqlite3_reset(stmt);
    m_openWait = std::chrono::milliseconds{0};
    sqlite3_busy_timeout(m_db, static_cast<int>(m_busyTimeout.count()));
    FileError error = tableExists ? checkLayout() : FileError::of(ErrorCode::FileNotFound);
    if (error.ok())
        error = checkKeys();
    if (error) {
        close();
        return fail(error);
    }
    m_cursor = {};
    return fail(FileError::none());
}

FileError KeyedFile::create()
{
    std::vector<std::string> statements = {"PRAGMA journal_mode=WAL", "DROP TABLE IF EXISTS " + sqlName(m_parts.table),
                                           createTableSql()};
    for (std::string& sql : createIndexSql())
        statements.push_back(std::move(sql));
    return runOnConnection(true, statements);
}

FileError KeyedFile::rebuildKeys()
{
    std::vector<std::string> statements;
    for (const KeyDef& key : m_layout->keys())
        statements.push_back("DROP INDEX IF EXISTS " + sqlName(m_parts.table + "_" + key.name));
    for (std::string& sql : createIndexSql())
        statements.push_back(std::move(sql));
    return runOnConnection(false, statements);
}

// Runs the statements on the open file, or on a connection opened for them alone.
// A leading PRAGMA runs outside the transaction (journal modes cannot change inside one).
FileError KeyedFile::runOnConnection(bool allowCreate, std::vector<std::string> statements)
{
    const bool wasOpen = m_db != nullptr;
    if (!wasOpen) {
        if (FileError error = openConnection(allowCreate))
            return fail(error);
    }
    if (!statements.empty() && statements.front().starts_with("PRAGMA")) {
        exec(statements.front());
        statements.erase(statements.begin());
    }
    const FileError error = execAtomically(statements);
    if (!wasOpen)
        close();
    return fail(error);
}

// All or nothing: another program never sees a table without its keys.
FileError KeyedFile::execAtomically(const std::vector<std::string>& statements)
{
    FileError error = exec("BEGIN IMMEDIATE");
    if (error)
        return error;
    for (const std::string& sql : statements) {
        error = exec(sql);
        if (error) {
            exec("ROLLBACK");
            return error;
        }
    }
    return exec("COMMIT");
}

FileError KeyedFile::dropKeys()
{
    if (!m_db)
        return fail(FileError::of(ErrorCode::FileNotOpen));
    FileError error;
    for (const KeyDef& key : m_layout->keys()) {
        if (error.ok())
            error = exec("DROP INDEX IF EXISTS " + sqlName(m_parts.table + "_" + key.name));
    }
    return fail(error);
}

FileError KeyedFile::recover(std::chrono::milliseconds wait)
{
    m_openWait = wait;
    if (m_db)
        return FileError::none();
    if (FileError error = openConnection(false))
        return fail(error);
    // Waits (through the busy timeout) until the other program lets go.
    FileError error = exec("SELECT count(*) FROM sqlite_master");
    close();
    return fail(error);
}

void KeyedFile::close()
{
    if (!m_db)
        return;
    if (m_inTransaction)
        exec("ROLLBACK");
    m_inTransaction = false;
    finalizeStatements();
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

std::string KeyedFile::createTableSql() const
{
    std::string sql = "CREATE TABLE " + sqlName(m_parts.table) + " (" + kVersionColumn + " INTEGER NOT NULL DEFAULT 0";
    for (std::size_t f = 0; f < m_layout->fields().size(); ++f) {
        const FieldDef& field = m_layout->fields()[f];
        for (int e = 1; e <= field.dims; ++e) {
            sql += ", " + sqlName(m_layout->columnName(static_cast<int>(f), e));
            sql += field.type == FieldType::String ? " TEXT COLLATE NOCASE NOT NULL DEFAULT ''"
                                                   : " INTEGER NOT NULL DEFAULT 0";
        }
    }
    return sql + ")";
}

std::string KeyedFile::keyColumns(int key, bool withCollation, bool descending) const
{
    const KeyDef& def = m_layout->keys().at(key);
    std::string out;
    for (const int f : def.fields) {
        if (!out.empty())
            out += ", ";
        out += sqlName(m_layout->columnName(f));
        // Text columns ignore case by declaration, so that keys' range reads can seek their index.
        if (withCollation && !def.noCase && m_layout->field(f).type == FieldType::String)
            out += " COLLATE BINARY";
        if (descending)
            out += " DESC";
    }
    return out;
}

std::string KeyedFile::keyFilter(int key) const
{
    const KeyDef& def = m_layout->keys().at(key);
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

std::vector<std::string> KeyedFile::createIndexSql() const
{
    std::vector<std::string> out;
    for (std::size_t k = 0; k < m_layout->keys().size(); ++k) {
        const KeyDef& def = m_layout->keys()[k];
        std::string sql = def.unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ";
        sql += sqlName(m_parts.table + "_" + def.name) + " ON " + sqlName(m_parts.table) + " (" +
               keyColumns(static_cast<int>(k), true, false) + ")";
        const std::string filter = keyFilter(static_cast<int>(k));
        if (!filter.empty())
            sql += " WHERE " + filter;
        out.push_back(sql);
    }
    return out;
}

FileError KeyedFile::checkLayout()
{
    sqlite3_stmt* stmt = statement("SELECT name, type FROM pragma_table_info(?1) ORDER BY cid");
    if (!stmt)
        return mapError(sqlite3_errcode(m_db));
    sqlite3_bind_text(stmt, 1, m_parts.table.c_str(), -1, SQLITE_TRANSIENT);
    std::vector<std::pair<std::string, std::string>> expected{{kVersionColumn, "INTEGER"}};
    for (std::size_t f = 0; f < m_layout->fields().size(); ++f) {
        const FieldDef& field = m_layout->fields()[f];
        for (int e = 1; e <= field.dims; ++e)
            expected.emplace_back(m_layout->columnName(static_cast<int>(f), e),
                                  field.type == FieldType::String ? "TEXT" : "INTEGER");
    }
    std::size_t i = 0;
    bool same = true;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
        if (i >= expected.size() || !sameTextNoCase(name ? name : "", expected[i].first) ||
            !sameTextNoCase(type ? type : "", expected[i].second))
            same = false;
        ++i;
    }
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE)
        return mapError(rc);
    if (!same || i != expected.size())
        return FileError::of(ErrorCode::InvalidRecordDeclaration);
    return FileError::none();
}

FileError KeyedFile::checkKeys()
{
    sqlite3_stmt* stmt = statement("SELECT sql FROM sqlite_master WHERE type='index' AND name=?1");
    if (!stmt)
        return mapError(sqlite3_errcode(m_db));
    const auto expected = createIndexSql();
    for (std::size_t k = 0; k < m_layout->keys().size(); ++k) {
        sqlite3_reset(stmt);
        const std::string indexName = m_parts.table + "_" + m_layout->keys()[k].name;
        sqlite3_bind_text(stmt, 1, indexName.c_str(), -1, SQLITE_TRANSIENT);
        const int rc = sqlite3_step(stmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            return mapError(rc);
        const auto* sql = rc == SQLITE_ROW ? reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)) : nullptr;
        const bool same = sql && expected[k] == sql;
        sqlite3_reset(stmt);
        if (!same)
            return FileError::of(ErrorCode::BadKeyFile);
    }
    return FileError::none();
}

std::string KeyedFile::selectColumns() const
{
    std::string out = "rowid, " + std::string(kVersionColumn);
    for (std::size_t f = 0; f < m_layout->fields().size(); ++f) {
        for (int e = 1; e <= m_layout->fields()[f].dims; ++e)
            out += ", " + sqlName(m_layout->columnName(static_cast<int>(f), e));
    }
    return out;
}

void KeyedFile::readRow(sqlite3_stmt* stmt, Record& record) const
{
    record.setPosition(sqlite3_column_int64(stmt, 0), sqlite3_column_int64(stmt, 1));
    int column = 2;
    for (std::size_t f = 0; f < m_layout->fields().size(); ++f) {
        const FieldDef& field = m_layout->fields()[f];
        for (int e = 1; e <= field.dims; ++e, ++column) {
            if (field.type == FieldType::String) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
                const int bytes = sqlite3_column_bytes(stmt, column);
                record.setText(static_cast<int>(f), std::string_view(text ? text : "", text ? bytes : 0), e);
            } else {
                record.setNumber(static_cast<int>(f), sqlite3_column_int64(stmt, column), e);
            }
        }
    }
}

void KeyedFile::bindFields(sqlite3_stmt* stmt, const Record& record, int firstParam) const
{
    int param = firstParam;
    for (int slot = 0; slot < m_layout->slotCount(); ++slot, ++param) {
        const Record::Value& value = record.slot(slot);
        if (const auto* s = std::get_if<std::string>(&value))
            sqlite3_bind_text(stmt, param, s->data(), static_cast<int>(s->size()), SQLITE_STATIC); // the record outlives the step
        else
            sqlite3_bind_int64(stmt, param, std::get<std::int64_t>(value));
    }
}

void KeyedFile::bindKey(sqlite3_stmt* stmt, int key, const std::vector<Record::Value>& values, int firstParam) const
{
    (void)key;
    int param = firstParam;
    for (const Record::Value& value : values) {
        if (const auto* s = std::get_if<std::string>(&value))
            sqlite3_bind_text(stmt, param++, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
        else
            sqlite3_bind_int64(stmt, param++, std::get<std::int64_t>(value));
    }
}

// A file deleted while open (other systems allow it) would take every later write
// with it when it closes; writes report it instead. Inside a transaction the
// check was made when it began.
FileError KeyedFile::checkStillThere()
{
    if (m_inTransaction)
        return FileError::none();
    std::error_code ec;
    if (!std::filesystem::exists(m_openedPath, ec))
        return FileError::of(ErrorCode::FileNotFound);
    return FileError::none();
}

// Why a write cannot start: the file is closed or gone, or the record was never read from it.
FileError KeyedFile::writeBlocker(const Record& record, bool needsPosition)
{
    if (!m_db)
        return FileError::of(ErrorCode::FileNotOpen);
    if (FileError gone = checkStillThere())
        return gone;
    if (needsPosition && record.position() == 0)
        return FileError::of(ErrorCode::RecordNotAvailable);
    return FileError::none();
}

FileError KeyedFile::add(Record& record)
{
    if (FileError blocked = writeBlocker(record, false))
        return fail(blocked);
    sqlite3_stmt* stmt = statement(m_insertSql);
    if (!stmt)
        return fail(mapError(sqlite3_errcode(m_db)));
    bindFields(stmt, record, 1);
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE)
        return fail(mapError(rc));
    record.setPosition(sqlite3_last_insert_rowid(m_db), 0);
    return fail(FileError::none());
}

FileError KeyedFile::put(Record& record)
{
    if (FileError blocked = writeBlocker(record, true))
        return fail(blocked);
    std::string sets = std::string(kVersionColumn) + " = " + kVersionColumn + " + 1";
    int param = 1;
    for (std::size_t f = 0; f < m_layout->fields().size(); ++f) {
        for (int e = 1; e <= m_layout->fields()[f].dims; ++e)
            sets += ", " + sqlName(m_layout->columnName(static_cast<int>(f), e)) + " = ?" + std::to_string(param++);
    }
    const std::string where =
        " WHERE rowid = ?" + std::to_string(param) + " AND " + kVersionColumn + " = ?" + std::to_string(param + 1);
    sqlite3_stmt* stmt = statement("UPDATE " + sqlName(m_parts.table) + " SET " + sets + where);
    if (!stmt)
        return fail(mapError(sqlite3_errcode(m_db)));
    bindFields(stmt, record, 1);
    sqlite3_bind_int64(stmt, param, record.position());
    sqlite3_bind_int64(stmt, param + 1, record.version());
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE)
        return fail(mapError(rc));
    if (sqlite3_changes(m_db) == 0) {
        Record current = newRecord();
        return fail(fetch(record.position(), current).ok() ? FileError::of(ErrorCode::RecordChanged)
                                                           : FileError::of(ErrorCode::RecordNotAvailable));
    }
    record.setPosition(record.position(), record.version() + 1);
    return fail(FileError::none());
}

FileError KeyedFile::remove(Record& record)
{
    if (FileError blocked = writeBlocker(record, true))
        return fail(blocked);
    sqlite3_stmt* stmt = statement("DELETE FROM " + sqlName(m_parts.table) + " WHERE rowid = ?1 AND " +
                                   kVersionColumn + " = ?2");
    if (!stmt)
        return fail(mapError(sqlite3_errcode(m_db)));
    sqlite3_bind_int64(stmt, 1, record.position());
    sqlite3_bind_int64(stmt, 2, record.version());
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE)
        return fail(mapError(rc));
    if (sqlite3_changes(m_db) == 0) {
        Record current = newRecord();
        return fail(fetch(record.position(), current).ok() ? FileError::of(ErrorCode::RecordChanged)
                                                           : FileError::of(ErrorCode::RecordNotAvailable));
    }
    return fail(FileError::none());
}

FileError KeyedFile::fetch(std::int64_t position, Record& record)
{
    if (!m_db)
        return fail(FileError::of(ErrorCode::FileNotOpen));
    sqlite3_stmt* stmt = statement(m_selectSql + " WHERE rowid = ?1");
    if (!stmt)
        return fail(mapError(sqlite3_errcode(m_db)));
    sqlite3_bind_int64(stmt, 1, position);
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        readRow(stmt, record);
    sqlite3_reset(stmt);
    if (rc == SQLITE_DONE)
        return fail(FileError::of(ErrorCode::RecordNotFound));
    return fail(rc == SQLITE_ROW ? FileError::none() : mapError(rc));
}

FileError KeyedFile::get(int key, Record& record)
{
    if (!m_db)
        return fail(FileError::of(ErrorCode::FileNotOpen));
    const KeyDef& def = m_layout->keys().at(key);
    std::string where;
    std::vector<Record::Value> values;
    bool allBlank = true;
    int param = 1;
    for (const int f : def.fields) {
        const FieldDef& field = m_layout->field(f);
        where += (where.empty() ? "" : " AND ") + sqlName(m_layout->columnName(f)) + " = ?" + std::to_string(param++);
        if (!def.noCase && field.type == FieldType::String)
            where += " COLLATE BINARY";
        values.push_back(record.slot(field.firstSlot));
        if (record.text(f) != "" && !(field.type != FieldType::String && record.number(f) == 0))
            allBlank = false;
    }
    if (def.excludeBlank && allBlank)
        return fail(FileError::of(ErrorCode::RecordNotFound));
    sqlite3_stmt* stmt = statement(m_selectSql + " WHERE " + where +
                                   " ORDER BY rowid LIMIT 1");
    if (!stmt)
        return fail(mapError(sqlite3_errcode(m_db)));
    bindKey(stmt, key, values, 1);
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        readRow(stmt, record);
    sqlite3_reset(stmt);
    if (rc == SQLITE_DONE)
        return fail(FileError::of(ErrorCode::RecordNotFound));
    return fail(rc == SQLITE_ROW ? FileError::none() : mapError(rc));
}

std::int64_t KeyedFile::records()
{
    if (!m_db)
        return 0;
    sqlite3_stmt* stmt = statement("SELECT count(*) FROM " + sqlName(m_parts.table));
    if (!stmt)
        return 0;
    std::int64_t count = 0;
    if (sqlite3_step(stmt) == SQLITE_ROW)
        count = sqlite3_column_int64(stmt, 0);
    sqlite3_reset(stmt);
    return count;
}

FileError KeyedFile::empty()
{
    if (!m_db)
        return fail(FileError::of(ErrorCode::FileNotOpen));
    return fail(exec("DELETE FROM " + sqlName(m_parts.table)));
}

std::vector<Record> KeyedFile::readAll(int key)
{
    std::vector<Record> rows;
    Record r = newRecord();
    setOrder(key);
    while (next(r).ok())
        rows.push_back(r);
    return rows;
}

void KeyedFile::setOrder(int key)
{
    m_cursor = {};
    m_cursor.key = key;
}

void KeyedFile::setFrom(int key, const Record& start)
{
    setOrder(key);
    if (key == FileOrder) {
        m_cursor.rowid = start.position();
        m_cursor.hasStart = start.position() != 0;
        return;
    }
    m_cursor.hasStart = true;
    for (const int f : m_layout->keys().at(key).fields)
        m_cursor.keyValues.push_back(start.slot(m_layout->field(f).firstSlot));
}

FileError KeyedFile::next(Record& record)
{
    return step(true, record);
}

FileError KeyedFile::previous(Record& record)
{
    return step(false, record);
}

FileError KeyedFile::step(bool forward, Record& record)
{
    if (!m_db)
        return fail(FileError::of(ErrorCode::FileNotOpen));
    const int direction = forward ? 1 : -1;
    if (m_cursor.beyond == direction)
        return fail(FileError::of(ErrorCode::RecordNotAvailable));
    if (m_cursor.beyond == -direction) {
        // Coming back from past one end: start again from that end.
        m_cursor.started = false;
        m_cursor.hasStart = false;
        m_cursor.beyond = 0;
    }
    std::string sql = m_selectSql;
    const int key = m_cursor.key;
    if (key == FileOrder) {
        if (m_cursor.started || m_cursor.hasStart)
            sql += std::string(" WHERE rowid ") + (forward ? (m_cursor.started ? ">" : ">=") : (m_cursor.started ? "<" : "<=")) + " ?1";
        sql += std::string(" ORDER BY rowid") + (forward ? "" : " DESC") + " LIMIT 1";
    } else {
        std::vector<std::string> conditions;
        const std::string filter = keyFilter(key);
        if (!filter.empty())
            conditions.push_back(filter);
        const std::size_t n = m_layout->keys().at(key).fields.size();
        if (m_cursor.started || m_cursor.hasStart) {
            std::string params;
            const std::size_t count = n + (m_cursor.started ? 1 : 0);
            for (std::size_t i = 1; i <= count; ++i)
                params += (i > 1 ? ", ?" : "?") + std::to_string(i);
            std::string lhs = keyColumns(key, true, false);
            if (m_cursor.started)
                lhs += ", rowid";
            const char* op = forward ? (m_cursor.started ? ">" : ">=") : (m_cursor.started ? "<" : "<=");
            conditions.push_back("(" + lhs + ") " + op + " (" + params + ")");
        }
        for (std::size_t i = 0; i < conditions.size(); ++i)
            sql += (i == 0 ? " WHERE " : " AND ") + conditions[i];
        sql += " ORDER BY " + keyColumns(key, true, !forward) + ", rowid" + (forward ? "" : " DESC") + " LIMIT 1";
    }
    sqlite3_stmt* stmt = statement(sql);
    if (!stmt)
        return fail(mapError(sqlite3_errcode(m_db)));
    if (key == FileOrder) {
        if (m_cursor.started || m_cursor.hasStart)
            sqlite3_bind_int64(stmt, 1, m_cursor.rowid);
    } else if (m_cursor.started || m_cursor.hasStart) {
        bindKey(stmt, key, m_cursor.keyValues, 1);
        if (m_cursor.started)
            sqlite3_bind_int64(stmt, static_cast<int>(m_cursor.keyValues.size()) + 1, m_cursor.rowid);
    }
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        readRow(stmt, record);
    sqlite3_reset(stmt);
    if (rc == SQLITE_DONE) {
        m_cursor.beyond = direction;
        return fail(FileError::of(ErrorCode::RecordNotAvailable));
    }
    if (rc != SQLITE_ROW)
        return fail(mapError(rc));
    m_cursor.started = true;
    m_cursor.rowid = record.position();
    if (key != FileOrder) {
        m_cursor.keyValues.clear();
        for (const int f : m_layout->keys().at(key).fields)
            m_cursor.keyValues.push_back(record.slot(m_layout->field(f).firstSlot));
    }
    return fail(FileError::none());
}

FileError KeyedFile::beginTransaction(std::chrono::milliseconds wait)
{
    if (!m_db)
        return fail(FileError::of(ErrorCode::FileNotOpen));
    if (m_inTransaction)
        return fail(FileError::of(ErrorCode::TransactionActive));
    if (FileError gone = checkStillThere())
        return fail(gone);
    sqlite3_busy_timeout(m_db, static_cast<int>(wait.count()));
    FileError error = exec("BEGIN IMMEDIATE");
    sqlite3_busy_timeout(m_db, static_cast<int>(m_busyTimeout.count()));
    m_inTransaction = error.ok();
    return fail(error);
}

FileError KeyedFile::commit()
{
    if (!m_inTransaction)
        return fail(FileError::of(ErrorCode::TransactionFailed));
    FileError error = exec("COMMIT");
    if (error)
        exec("ROLLBACK");
    m_inTransaction = false;
    return fail(error);
}

FileError KeyedFile::rollback()
{
    if (!m_inTransaction)
        return fail(FileError::of(ErrorCode::TransactionFailed));
    FileError error = exec("ROLLBACK");
    m_inTransaction = false;
    return fail(error);
}

void KeyedFile::setBusyTimeout(std::chrono::milliseconds wait)
{
    m_busyTimeout = wait;
    if (m_db)
        sqlite3_busy_timeout(m_db, static_cast<int>(wait.count()));
}

FileError KeyedFile::stream()
{
    return beginTransaction(m_busyTimeout);
}

FileError KeyedFile::flush()
{
    return commit();
}

} // namespace kestrix::runtime
