#include "runtime/KeyedFile.h"

#include "runtime/KeyedFileProbe.h"
#include "runtime/WinPath.h"

#include <sqlite3.h>

#include <array>
#include <cstring>
#include <fstream>

namespace kestrix::runtime {
namespace {

constexpr const char* kDefaultTable = "Records";

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

bool looksLikeKeyedFile(const std::filesystem::path& path)
{
    static constexpr char Header[] = "SQLite format 3"; // with its terminating zero: 16 bytes
    std::array<char, sizeof Header> start{};
    std::ifstream in(path, std::ios::binary);
    return in.read(start.data(), start.size()) && std::memcmp(start.data(), Header, sizeof Header) == 0;
}

KeyedFile::KeyedFile(std::string name, std::shared_ptr<const RecordLayout> layout)
    : m_name(std::move(name)), m_parts(splitDataFileName(m_name)), m_schema(m_parts.table, std::move(layout))
{
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

FileError KeyedFile::openWithin(std::chrono::milliseconds wait, bool allowCreate)
{
    if (isOpen())
        return FileError::of(ErrorCode::FileAlreadyOpen);
    const KeyedConnection::WaitUntil limit(m_connection, KeyedConnection::Clock::now() + wait);
    if (FileError error = m_connection.open(path(), allowCreate, m_sharing))
        return error;
    LayoutCheck found = m_schema.inspect(m_connection);
    if (found.olderLayout) {
        // Converted once, in one transaction: a file that cannot be written stays as it was and is not
        // opened.
        found.error = m_connection.atomically([this] { return m_schema.convert(m_connection); });
        if (!found.error)
            found = m_schema.inspect(m_connection);
    }
    if (found.error || found.olderLayout) {
        m_connection.close();
        return found.error ? found.error : FileError::of(ErrorCode::InvalidRecordDeclaration);
    }
    m_cursor.reset();
    return FileError::none();
}

FileError KeyedFile::open()
{
    const auto wait = m_openWait.value_or(m_connection.busyTimeout());
    m_openWait.reset();
    return open(wait);
}

FileError KeyedFile::open(std::chrono::milliseconds wait)
{
    return fail(openWithin(wait, false));
}

FileError KeyedFile::recover(std::chrono::milliseconds wait)
{
    m_openWait = wait;
    if (isOpen())
        return FileError::none();
    const KeyedConnection::WaitUntil limit(m_connection, KeyedConnection::Clock::now() + wait);
    const FileError error = m_connection.open(path(), false);
    m_connection.close();
    return fail(error);
}

void KeyedFile::close()
{
    m_connection.close();
    m_cursor.reset();
}

FileError KeyedFile::atomically(bool allowCreate, const std::function<FileError()>& body)
{
    const bool wasOpen = isOpen();
    if (!wasOpen) {
        if (FileError error = m_connection.open(path(), allowCreate))
            return error;
        // A file this program creates is written ahead (WAL): readers and one writer at a time.
        // Another program holding the file keeps its journal mode; the table works either way.
        if (allowCreate) {
            const FileError wal = m_connection.exec("PRAGMA journal_mode=WAL");
            if (wal && wal.code != ErrorCode::FileLocked) {
                m_connection.close();
                return wal;
            }
        }
    }
    const FileError error = m_connection.inTransaction() ? body() : m_connection.atomically(body);
    if (!wasOpen)
        m_connection.close();
    return error;
}

FileError KeyedFile::create()
{
    return fail(atomically(true, [this] { return m_schema.create(m_connection, true); }));
}

FileError KeyedFile::createIfMissing(const std::vector<Record>& initial, int presentBy)
{
    return fail(atomically(true, [&] {
        if (FileError error = m_schema.create(m_connection, false))
            return error;
        return addMissing(initial, presentBy);
    }));
}

FileError KeyedFile::addMissing(const std::vector<Record>& initial, int presentBy)
{
    if (initial.empty() || (presentBy == FileOrder && records() > 0))
        return FileError::none();
    for (Record record : initial) {
        if (presentBy != FileOrder) {
            Record found = record;
            const FileError lookup = get(presentBy, found);
            if (lookup.ok())
                continue;
            if (lookup.code != ErrorCode::RecordNotFound)
                return lookup;
        }
        if (FileError error = add(record))
            return error;
    }
    return FileError::none();
}

FileError KeyedFile::rebuildKeys()
{
    return fail(atomically(false, [this] { return m_schema.rebuildKeys(m_connection); }));
}

FileError KeyedFile::dropKeys()
{
    if (!isOpen())
        return fail(FileError::of(ErrorCode::FileNotOpen));
    return fail(atomically(false, [this] { return m_schema.dropKeys(m_connection); }));
}

// Why a write cannot start: the file is closed or gone, or the record was never read from it.
FileError KeyedFile::writeBlocker(const Record& record, bool needsPosition)
{
    if (!isOpen())
        return FileError::of(ErrorCode::FileNotOpen);
    if (FileError gone = m_connection.checkStillThere())
        return gone;
    if (needsPosition && record.position() == 0)
        return FileError::of(ErrorCode::RecordNotAvailable);
    return FileError::none();
}

// A write that changed no row: the record was changed by another program, or deleted.
FileError KeyedFile::changedOrGone(std::int64_t position)
{
    sqlite3_stmt* stmt =
        m_connection.statement(Shape::Fetch, [this] { return m_schema.selectSql() + " WHERE rowid = ?1"; });
    if (!stmt)
        return m_connection.lastError();
    sqlite3_bind_int64(stmt, 1, position);
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc == SQLITE_ROW)
        return FileError::of(ErrorCode::RecordChanged);
    return rc == SQLITE_DONE ? FileError::of(ErrorCode::RecordNotAvailable) : m_connection.error(rc);
}

FileError KeyedFile::add(Record& record)
{
    if (FileError blocked = writeBlocker(record, false))
        return fail(blocked);
    sqlite3_stmt* stmt = m_connection.statement(Shape::Insert, [this] { return m_schema.insertSql(); });
    if (!stmt)
        return fail(m_connection.lastError());
    m_schema.bindFields(stmt, record, m_packed);
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE)
        return fail(m_connection.error(rc));
    record.setPosition(sqlite3_last_insert_rowid(m_connection.handle()), 0);
    return fail(FileError::none());
}

FileError KeyedFile::put(Record& record)
{
    if (FileError blocked = writeBlocker(record, true))
        return fail(blocked);
    sqlite3_stmt* stmt = m_connection.statement(Shape::Update, [this] { return m_schema.updateSql(); });
    if (!stmt)
        return fail(m_connection.lastError());
    const int param = m_schema.bindFields(stmt, record, m_packed);
    sqlite3_bind_int64(stmt, param, record.position());
    sqlite3_bind_int64(stmt, param + 1, record.version());
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE)
        return fail(m_connection.error(rc));
    if (sqlite3_changes(m_connection.handle()) == 0)
        return fail(changedOrGone(record.position()));
    record.setPosition(record.position(), record.version() + 1);
    return fail(FileError::none());
}

FileError KeyedFile::remove(Record& record)
{
    if (FileError blocked = writeBlocker(record, true))
        return fail(blocked);
    sqlite3_stmt* stmt = m_connection.statement(Shape::Delete, [this] { return m_schema.deleteSql(); });
    if (!stmt)
        return fail(m_connection.lastError());
    sqlite3_bind_int64(stmt, 1, record.position());
    sqlite3_bind_int64(stmt, 2, record.version());
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE)
        return fail(m_connection.error(rc));
    if (sqlite3_changes(m_connection.handle()) == 0)
        return fail(changedOrGone(record.position()));
    return fail(FileError::none());
}

FileError KeyedFile::fetch(std::int64_t position, Record& record)
{
    if (!isOpen())
        return fail(FileError::of(ErrorCode::FileNotOpen));
    m_cursor.reset();
    sqlite3_stmt* stmt =
        m_connection.statement(Shape::Fetch, [this] { return m_schema.selectSql() + " WHERE rowid = ?1"; });
    if (!stmt)
        return fail(m_connection.lastError());
    sqlite3_bind_int64(stmt, 1, position);
    const int rc = sqlite3_step(stmt);
    const bool read = rc == SQLITE_ROW && m_schema.readRow(stmt, record);
    sqlite3_reset(stmt);
    if (rc == SQLITE_ROW && !read)
        return fail(FileError::damaged());
    if (rc == SQLITE_DONE)
        return fail(FileError::of(ErrorCode::RecordNotFound));
    return fail(rc == SQLITE_ROW ? FileError::none() : m_connection.error(rc));
}

FileError KeyedFile::get(int key, Record& record)
{
    if (!isOpen())
        return fail(FileError::of(ErrorCode::FileNotOpen));
    m_cursor.reset();
    const KeyDef& def = layout().keys().at(static_cast<std::size_t>(key));
    if (def.excludeBlank && m_schema.blankInKey(key, record))
        return fail(FileError::of(ErrorCode::RecordNotFound));
    sqlite3_stmt* stmt = m_connection.statement(Shape::Get + key, [&] { return m_schema.getSql(key); });
    if (!stmt)
        return fail(m_connection.lastError());
    bindValues(stmt, m_schema.keyValues(key, record), 1);
    const int rc = sqlite3_step(stmt);
    const bool read = rc == SQLITE_ROW && m_schema.readRow(stmt, record);
    sqlite3_reset(stmt);
    if (rc == SQLITE_ROW && !read)
        return fail(FileError::damaged());
    if (rc == SQLITE_DONE)
        return fail(FileError::of(ErrorCode::RecordNotFound));
    return fail(rc == SQLITE_ROW ? FileError::none() : m_connection.error(rc));
}

std::int64_t KeyedFile::records()
{
    sqlite3_stmt* stmt = m_connection.statement(
        Shape::Count, [this] { return "SELECT count(*) FROM " + m_schema.quotedTable(); });
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
    if (!isOpen())
        return fail(FileError::of(ErrorCode::FileNotOpen));
    return fail(m_connection.exec("DELETE FROM " + m_schema.quotedTable()));
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
    m_cursor.setOrder(key);
}

void KeyedFile::setFrom(int key, const Record& start)
{
    m_cursor.setFrom(m_schema, key, start);
}

FileError KeyedFile::next(Record& record)
{
    return fail(m_cursor.step(m_connection, m_schema, true, record));
}

FileError KeyedFile::previous(Record& record)
{
    return fail(m_cursor.step(m_connection, m_schema, false, record));
}

FileError KeyedFile::beginTransaction(std::chrono::milliseconds wait)
{
    return fail(m_connection.begin(wait));
}

FileError KeyedFile::commit()
{
    return fail(m_connection.commit());
}

FileError KeyedFile::rollback()
{
    return fail(m_connection.rollback());
}

FileError KeyedFile::stream()
{
    return beginTransaction(m_connection.busyTimeout());
}

FileError KeyedFile::flush()
{
    return commit();
}

FileError KeyedFile::setPageCache(int kib)
{
    if (!isOpen())
        return fail(FileError::of(ErrorCode::FileNotOpen));
    return fail(m_connection.exec("PRAGMA cache_size=-" + std::to_string(kib)));
}

int KeyedFile::pageCache()
{
    if (!isOpen())
        return 0;
    sqlite3_stmt* stmt = nullptr;
    int size = 0;
    if (sqlite3_prepare_v2(m_connection.handle(), "PRAGMA cache_size", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        size = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    return size;
}

} // namespace kestrix::runtime
