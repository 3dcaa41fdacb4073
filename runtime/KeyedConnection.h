#pragma once

#include "runtime/FileError.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// One program's connection to a keyed file's database: opening it within one
// deadline, its settings, transactions, waiting for other programs' locks,
// prepared statements, and turning SQLite's results into file errors.
namespace kestrix::runtime {

// SQLite sorts each new key in memory up to the connection's cache size, and through temporary
// files past it: a large table's keys are written, read back and merged once more. A rebuild sorts
// within a larger budget, and the connection gets its own setting back when the keys are made. The
// page cache may grow as far while the keys are written, so the budget stays modest: a dictionary's
// field key of 400,000 rows sorts in memory, and a large equate load keeps its footprint.
inline constexpr int KeyRebuildSortBudgetKib = 24576;

// How a connection shares its file with other programs.
enum class Sharing {
    // Other programs read and write the file while this one has it open.
    Shared,
    // For a short use, a command's few reads and perhaps one save. While no other program has the file
    // open, this connection takes it for itself and keeps the log's index in its own memory: the shared
    // index is cleared and rebuilt at every open nobody else shares, which costs more than such a use.
    // A program that opens the file meanwhile waits, as it waits for a commit. When another program
    // has the file open already, it is shared as usual.
    BriefWhenAlone,
};

class KeyedConnection final
{
public:
    using Clock = std::chrono::steady_clock;

    KeyedConnection() = default;
    ~KeyedConnection();
    KeyedConnection(const KeyedConnection&) = delete;
    KeyedConnection& operator=(const KeyedConnection&) = delete;

    // While it lives, every wait for another program's lock ends at `deadline` (or
    // at an earlier one already set): one deadline for a whole open.
    class WaitUntil final
    {
    public:
        WaitUntil(KeyedConnection& connection, Clock::time_point deadline);
        ~WaitUntil();
        WaitUntil(const WaitUntil&) = delete;
        WaitUntil& operator=(const WaitUntil&) = delete;

    private:
        KeyedConnection& m_connection;
        std::optional<Clock::time_point> m_previous;
    };

    // Opens the database: the file is read first (where another program's lock
    // shows), and only then are the settings applied.
    FileError open(const std::filesystem::path& file, bool allowCreate, Sharing sharing = Sharing::Shared);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    sqlite3* handle() const { return m_db; }

    // How long a read or write waits for another program's lock.
    void setBusyTimeout(std::chrono::milliseconds wait) { m_busyTimeout = wait; }
    std::chrono::milliseconds busyTimeout() const { return m_busyTimeout; }
    // Called whenever an operation starts to wait for another program's lock.
    void onLockWait(std::function<void()> hook) { m_lockWaitHook = std::move(hook); }

    // The settings every connection applies at open, as SQL.
    static const std::vector<std::string>& settings();

    FileError exec(const std::string& sql);
    // The statement of one shape, prepared on first use and reset for reuse; nullptr when it cannot be
    // prepared.
    sqlite3_stmt* statement(int shape, const std::function<std::string()>& sql);
    // The error that the last call on this connection left.
    FileError lastError() const;
    FileError error(int rc) const;

    FileError begin(std::chrono::milliseconds wait);
    FileError commit();
    FileError rollback();
    bool inTransaction() const { return m_inTransaction; }
    // Runs `body` inside one IMMEDIATE transaction: all of it or nothing.
    FileError atomically(const std::function<FileError()>& body);

    // A file deleted while open (other systems allow it) takes every later write
    // with it; writes report it instead. Inside a transaction the check was made when it began.
    FileError checkStillThere() const;

private:
    static int onBusy(void* self, int count);
    FileError readFirstPage();
    FileError readFirstPageAlone();
    FileError applySettings();
    void finalizeStatements();

    sqlite3* m_db = nullptr;
    std::filesystem::path m_path;
    std::unordered_map<int, sqlite3_stmt*> m_statements;
    std::chrono::milliseconds m_busyTimeout{2000};
    std::optional<Clock::time_point> m_fixedDeadline;
    Clock::time_point m_waitEnd{};
    std::function<void()> m_lockWaitHook;
    bool m_inTransaction = false;
};

// The file error for an SQLite result; `file` tells a folder or a too-long name apart.
FileError sqliteFileError(int rc, sqlite3* db, const std::filesystem::path& file);

} // namespace kestrix::runtime
