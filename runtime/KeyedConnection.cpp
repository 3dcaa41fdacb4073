#include "runtime/KeyedConnection.h"
#include "runtime/SystemErrorMapping.h"

#include <sqlite3.h>

#include <algorithm>
#include <mutex>
#include <system_error>
#include <thread>

namespace kestrix::runtime {

namespace fs = std::filesystem;

namespace {

// SQLite counts every allocation under a global lock unless told not to; nothing here reads the counts.
// Nor does a connection set up room for its first pages in one block: laying that out touches every
// page of it at once, where a command that reads a few records needs a few.
void configureSqliteOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0);
    });
}

// Windows reports a name past its limits under several numbers (not found, invalid name, access
// denied), so the name's own length decides there; 255 bytes per name is also the common POSIX limit.
bool nameTooLong(const fs::path& file, const std::error_code& ec)
{
    if (ec == std::errc::filename_too_long)
        return true;
    constexpr std::size_t LongestName = 255;
    for (const fs::path& part : file)
        if (part.native().size() > LongestName)
            return true;
    return false;
}

// Why the file could not be opened, from what the file system says of its path.
FileError cannotOpen(const fs::path& file)
{
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (nameTooLong(file, ec))
        return FileError::system(SystemError::FileNameTooLong);
    if (fs::is_directory(status))
        return FileError::system(SystemError::DirectoryNotSupported);
    const fs::path folder = file.parent_path();
    if (!folder.empty() && !fs::is_directory(folder, ec))
        return FileError::of(ErrorCode::PathNotFound);
    return FileError::of(ErrorCode::AccessDenied);
}

} // namespace

FileError sqliteFileError(int rc, sqlite3* db, const fs::path& file)
{
    const int primary = rc & 0xFF;
    switch (primary) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return FileError::none();
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return FileError::of(ErrorCode::FileLocked);
    case SQLITE_CONSTRAINT:
        return FileError::of(ErrorCode::DuplicateKey);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return FileError::damaged();
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return FileError::of(ErrorCode::AccessDenied);
    case SQLITE_CANTOPEN:
        return cannotOpen(file);
    case SQLITE_FULL:
        return FileError::system(SystemError::DiskFull);
    case SQLITE_ERROR:
    case SQLITE_SCHEMA:
        return FileError::of(ErrorCode::InvalidRecordDeclaration); // a table or column is not there
    default:
        break;
    }
    // SQLite's own result codes are no system error numbers: only the system's are reported.
    const int sysErr = db ? sqlite3_system_errno(db) : 0;
    if (sysErr != 0)
        return fileErrorFromSystemCategory(sysErr);
    return FileError::system(SystemError::IoDevice);
}

KeyedConnection::WaitUntil::WaitUntil(KeyedConnection& connection, Clock::time_point deadline)
    : m_connection(connection), m_previous(connection.m_fixedDeadline)
{
    m_connection.m_fixedDeadline = m_previous ? std::min(*m_previous, deadline) : deadline;
}

KeyedConnection::WaitUntil::~WaitUntil()
{
    m_connection.m_fixedDeadline = m_previous;
}

KeyedConnection::~KeyedConnection()
{
    close();
}

int KeyedConnection::onBusy(void* self, int count)
{
    auto& connection = *static_cast<KeyedConnection*>(self);
    const auto now = Clock::now();
    if (count == 0) {
        connection.m_waitEnd =
            connection.m_fixedDeadline ? *connection.m_fixedDeadline : now + connection.m_busyTimeout;
        if (connection.m_lockWaitHook)
            connection.m_lockWaitHook();
    }
    if (now >= connection.m_waitEnd)
        return 0;
    // Short naps at first (a commit takes milliseconds), longer ones for a long hold.
    const auto nap = std::chrono::milliseconds(count < 5 ? 1 << count : 25);
    std::this_thread::sleep_for(std::min<Clock::duration>(nap, connection.m_waitEnd - now));
    return 1;
}

FileError KeyedConnection::open(const fs::path& file, bool allowCreate, Sharing sharing)
{
    if (m_db)
        return FileError::of(ErrorCode::FileAlreadyOpen);
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (nameTooLong(file, ec))
        return FileError::system(SystemError::FileNameTooLong);
    if (fs::is_directory(status))
        return FileError::system(SystemError::DirectoryNotSupported);
    if (!allowCreate && !fs::exists(status))
        return FileError::of(ErrorCode::FileNotFound);
    const fs::path folder = file.parent_path();
    if (allowCreate && !folder.empty() && !fs::is_directory(folder, ec))
        return FileError::of(ErrorCode::PathNotFound);
    configureSqliteOnce();
    // A connection belongs to one keyed file, which one thread uses at a time (its statements and
    // cursor are no more shared than the handle): SQLite's lock around every call only costs.
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (allowCreate)
        flags |= SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(file.string().c_str(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        FileError error = sqliteFileError(rc, m_db, file);
        if (error.ok())
            error = FileError::of(ErrorCode::AccessDenied);
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        return error;
    }
    m_path = fs::absolute(file, ec);
    if (sqlite3_db_readonly(m_db, "main") == 1) {
        close();
        return FileError::of(ErrorCode::AccessDenied);
    }
    sqlite3_busy_handler(m_db, &KeyedConnection::onBusy, this);
    FileError error = sharing == Sharing::BriefWhenAlone ? readFirstPageAlone() : readFirstPage();
    if (error.ok())
        error = applySettings();
    if (error)
        close();
    return error;
}

// The first read is where a locked, damaged or foreign file shows; settings wait for it.
FileError KeyedConnection::readFirstPage()
{
    return exec("SELECT count(*) FROM sqlite_master");
}

// The file is taken alone only when that lock is free at once: a file another program has open is
// shared as usual, not waited for until it lets go.
FileError KeyedConnection::readFirstPageAlone()
{
    if (FileError error = exec("PRAGMA locking_mode=EXCLUSIVE"))
        return error;
    sqlite3_busy_handler(m_db, nullptr, nullptr);
    const FileError alone = readFirstPage();
    sqlite3_busy_handler(m_db, &KeyedConnection::onBusy, this);
    if (alone.code != ErrorCode::FileLocked)
        return alone;
    if (FileError error = exec("PRAGMA locking_mode=NORMAL"))
        return error;
    return readFirstPage();
}

const std::vector<std::string>& KeyedConnection::settings()
{
    // The page cache is room for a loader's keys; past it, key builds sort through temporary
    // files instead of memory, so a large load stays within a modest footprint.
    // In WAL mode NORMAL keeps the file consistent through a crash; only the last commit may be lost on power
    // failure. The log shrinks back once written into the file, and is kept (empty) at close.
    static const std::vector<std::string> pragmas = {"PRAGMA cache_size=-16384", "PRAGMA synchronous=NORMAL",
                                                     "PRAGMA journal_size_limit=4194304"};
    return pragmas;
}

FileError KeyedConnection::applySettings()
{
    for (const std::string& pragma : settings()) {
        if (FileError error = exec(pragma))
            return error;
    }
    // The log and its index stay between opens: a command that only reads creates and
    // deletes no files.
    int persist = 1;
    sqlite3_file_control(m_db, "main", SQLITE_FCNTL_PERSIST_WAL, &persist);
    return FileError::none();
}

void KeyedConnection::finalizeStatements()
{
    for (auto& [shape, stmt] : m_statements)
        sqlite3_finalize(stmt);
    m_statements.clear();
}

void KeyedConnection::close()
{
    if (!m_db)
        return;
    if (m_inTransaction)
        (void)exec("ROLLBACK"); // closing ends the transaction whatever the answer
    m_inTransaction = false;
    finalizeStatements();
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

FileError KeyedConnection::exec(const std::string& sql)
{
    if (!m_db)
        return FileError::of(ErrorCode::FileNotOpen);
    const int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr);
    return rc == SQLITE_OK ? FileError::none() : error(rc);
}

sqlite3_stmt* KeyedConnection::statement(int shape, const std::function<std::string()>& sql)
{
    if (!m_db)
        return nullptr;
    if (const auto it = m_statements.find(shape); it != m_statements.end()) {
        sqlite3_reset(it->second);
        sqlite3_clear_bindings(it->second);
        return it->second;
    }
    sqlite3_stmt* stmt = nullptr;
    const std::string text = sql();
    if (sqlite3_prepare_v3(m_db, text.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return nullptr;
    }
    m_statements.emplace(shape, stmt);
    return stmt;
}

FileError KeyedConnection::lastError() const
{
    if (!m_db)
        return FileError::of(ErrorCode::FileNotOpen);
    return error(sqlite3_errcode(m_db));
}

FileError KeyedConnection::error(int rc) const
{
    return sqliteFileError(rc, m_db, m_path);
}

FileError KeyedConnection::checkStillThere() const
{
    if (m_inTransaction)
        return FileError::none();
    std::error_code ec;
    if (!fs::exists(m_path, ec))
        return FileError::of(ErrorCode::FileNotFound);
    return FileError::none();
}

FileError KeyedConnection::begin(std::chrono::milliseconds wait)
{
    if (!m_db)
        return FileError::of(ErrorCode::FileNotOpen);
    if (m_inTransaction)
        return FileError::of(ErrorCode::TransactionActive);
    if (FileError gone = checkStillThere())
        return gone;
    const WaitUntil limit(*this, Clock::now() + wait);
    const FileError error = exec("BEGIN IMMEDIATE");
    m_inTransaction = error.ok();
    return error;
}

FileError KeyedConnection::commit()
{
    if (!m_inTransaction)
        return FileError::of(ErrorCode::TransactionFailed);
    const FileError error = exec("COMMIT");
    if (error)
        (void)exec("ROLLBACK"); // the failed commit is what the caller must hear of
    m_inTransaction = false;
    return error;
}

FileError KeyedConnection::rollback()
{
    if (!m_inTransaction)
        return FileError::of(ErrorCode::TransactionFailed);
    const FileError error = exec("ROLLBACK");
    m_inTransaction = false;
    return error;
}

FileError KeyedConnection::atomically(const std::function<FileError()>& body)
{
    if (FileError error = begin(m_busyTimeout))
        return error;
    if (FileError error = body()) {
        (void)rollback(); // the body's error is the one to report
        return error;
    }
    return commit();
}

} // namespace kestrix::runtime
