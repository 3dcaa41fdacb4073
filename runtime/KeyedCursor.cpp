#include "runtime/KeyedCursor.h"

#include "runtime/KeyedConnection.h"
#include "runtime/KeyedSchema.h"

#include <sqlite3.h>

namespace kestrix::runtime {

namespace {

// The statement for one walk: its key, direction and whether it starts after a record or at a value.
std::string walkSql(const KeyedSchema& schema, int key, bool forward, bool started, bool hasStart)
{
    std::string sql = schema.selectSql();
    const bool bounded = started || hasStart;
    const char* op = forward ? (started ? ">" : ">=") : (started ? "<" : "<=");
    if (key == KeyedCursor::FileOrder) {
        if (bounded)
            sql += std::string(" WHERE rowid ") + op + " ?1";
        return sql + " ORDER BY rowid" + (forward ? "" : " DESC") + " LIMIT 1";
    }
    std::vector<std::string> conditions;
    if (std::string filter = schema.keyFilter(key); !filter.empty())
        conditions.push_back(std::move(filter));
    if (bounded) {
        const std::size_t count =
            schema.layout().keys().at(static_cast<std::size_t>(key)).fields.size() + (started ? 1 : 0);
        std::string params;
        for (std::size_t i = 1; i <= count; ++i)
            params += (i > 1 ? ", ?" : "?") + std::to_string(i);
        std::string lhs = schema.keyColumns(key, false);
        if (started)
            lhs += ", rowid";
        conditions.push_back("(" + lhs + ") " + op + " (" + params + ")");
    }
    for (std::size_t i = 0; i < conditions.size(); ++i)
        sql += (i == 0 ? " WHERE " : " AND ") + conditions[i];
    return sql + " ORDER BY " + schema.keyColumns(key, !forward) + ", rowid" + (forward ? "" : " DESC") +
           " LIMIT 1";
}

} // namespace

void KeyedCursor::setOrder(int key)
{
    *this = {};
    m_key = key;
    m_set = true;
}

void KeyedCursor::setFrom(const KeyedSchema& schema, int key, const Record& start)
{
    setOrder(key);
    if (key == FileOrder) {
        m_rowid = start.position();
        m_hasStart = start.position() != 0;
        return;
    }
    m_hasStart = true;
    m_keyValues = schema.keyValues(key, start);
}

FileError KeyedCursor::step(KeyedConnection& connection, const KeyedSchema& schema, bool forward,
                            Record& record)
{
    if (!connection.isOpen())
        return FileError::of(ErrorCode::FileNotOpen);
    if (!m_set)
        return FileError::of(ErrorCode::NoSequence);
    const int direction = forward ? 1 : -1;
    if (m_beyond == direction)
        return FileError::of(ErrorCode::RecordNotAvailable);
    if (m_beyond == -direction) {
        // Coming back from past one end: start again from that end.
        m_started = false;
        m_hasStart = false;
        m_beyond = 0;
    }
    const bool bounded = m_started || m_hasStart;
    const int shape =
        Shape::Cursor + (m_key + 1) * 8 + (forward ? 1 : 0) + (m_started ? 2 : 0) + (m_hasStart ? 4 : 0);
    sqlite3_stmt* stmt =
        connection.statement(shape, [&] { return walkSql(schema, m_key, forward, m_started, m_hasStart); });
    if (!stmt)
        return connection.lastError();
    if (bounded) {
        if (m_key == FileOrder) {
            sqlite3_bind_int64(stmt, 1, m_rowid);
        } else {
            bindValues(stmt, m_keyValues, 1);
            if (m_started)
                sqlite3_bind_int64(stmt, static_cast<int>(m_keyValues.size()) + 1, m_rowid);
        }
    }
    const int rc = sqlite3_step(stmt);
    const bool read = rc == SQLITE_ROW && schema.readRow(stmt, record);
    sqlite3_reset(stmt);
    if (rc == SQLITE_ROW && !read)
        return FileError::damaged();
    if (rc == SQLITE_DONE) {
        m_beyond = direction;
        return FileError::of(ErrorCode::RecordNotAvailable);
    }
    if (rc != SQLITE_ROW)
        return connection.error(rc);
    m_started = true;
    m_rowid = record.position();
    if (m_key != FileOrder)
        m_keyValues = schema.keyValues(m_key, record);
    return FileError::none();
}

} // namespace kestrix::runtime
