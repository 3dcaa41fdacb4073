#pragma once

#include "runtime/FileError.h"
#include "runtime/KeyedConnection.h"
#include "runtime/KeyedCursor.h"
#include "runtime/KeyedSchema.h"
#include "runtime/Record.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A keyed file of the application runtime, stored as one SQLite database per
// file name ("Config\!PopData" is table PopData inside Config.tps). Keys are
// indexes; reads follow a key's order from a starting value, as SET/NEXT do.
// Several windows and several processes may have the same file open.
//
// The facade over a connection (open, locks, transactions), a schema (create,
// check, rebuild) and a cursor (SET/NEXT/PREVIOUS).
namespace kestrix::runtime {

struct DataFileName final
{
    std::string fileName; // the file part, with ".tps" added when it had no extension
    std::string table;    // the table inside it
};
DataFileName splitDataFileName(const std::string& name);

class KeyedFile final
{
public:
    static constexpr int FileOrder = KeyedCursor::FileOrder;

    KeyedFile(std::string name, std::shared_ptr<const RecordLayout> layout);
    ~KeyedFile();
    KeyedFile(const KeyedFile&) = delete;
    KeyedFile& operator=(const KeyedFile&) = delete;

    // The name the program opens the file by, as NAME(File) returns it.
    const std::string& name() const { return m_name; }
    std::filesystem::path path() const;
    const RecordLayout& layout() const { return m_schema.layout(); }
    Record newRecord() const { return Record(m_schema.layoutPtr()); }

    // Opens within the busy timeout (or the wait a recover() asked for); a file
    // another program holds returns FileLocked when that time is up.
    FileError open();
    // Opens within `wait`, all of it: reading, checking and settings.
    FileError open(std::chrono::milliseconds wait);
    FileError create(); // (re)creates the table; leaves the file closed
    // Creates the file and its table when missing and adds each of `initial` that is not
    // there yet (by the key `presentBy`; with FileOrder, only into a file without records),
    // in one transaction that never drops anything: programs doing it at once end with one
    // table and one copy of each record. Leaves the file open or closed as it was.
    FileError createIfMissing(const std::vector<Record>& initial = {}, int presentBy = FileOrder);
    FileError rebuildKeys(); // BUILD: recreates every key from the records
    // For a bulk load into a new file: the keys go, and rebuildKeys() makes them at the end.
    FileError dropKeys();
    // Waits up to `wait` for another program's lock to go; the next open waits as long.
    FileError recover(std::chrono::milliseconds wait);
    void close();
    bool isOpen() const { return m_connection.isOpen(); }

    FileError add(Record& record);
    FileError put(Record& record);
    FileError remove(Record& record);
    // By position; like GET, it leaves no position for NEXT.
    FileError fetch(std::int64_t position, Record& record);
    FileError reget(Record& record) { return fetch(record.position(), record); }
    // Exact match on the key's fields, through the key's index; leaves no position for NEXT.
    FileError get(int key, Record& record);
    std::int64_t records();
    FileError empty();

    // Sequential reading: SET(file) / SET(key) / SET(key, key), then NEXT or PREVIOUS.
    // NEXT or PREVIOUS that no SET started fails with NoSequence.
    void setOrder(int key);
    // Every record in the key's order (records the key leaves out are not read).
    std::vector<Record> readAll(int key);
    void setFrom(int key, const Record& start);
    FileError next(Record& record);
    FileError previous(Record& record);

    FileError beginTransaction(std::chrono::milliseconds wait);
    FileError commit();
    FileError rollback();
    bool inTransaction() const { return m_connection.inTransaction(); }
    // Bulk mode for loaders: one transaction until flush().
    FileError stream();
    FileError flush();
    // A larger page cache (in KiB) for a loader whose rows and key sorts would outgrow the usual one: it
    // holds for this open only (the next open has the usual setting again), and a key rebuild sorts
    // within it when it is the larger. The cache takes memory only as pages are used.
    FileError setPageCache(int kib);
    // The open connection's page cache as SQLite reports it: negative KiB, or pages; 0 when closed.
    int pageCache();

    FileError lastError() const { return m_lastError; }
    // How long a read or write waits for another program's lock before it reports 32.
    void setBusyTimeout(std::chrono::milliseconds wait) { m_connection.setBusyTimeout(wait); }
    // Called whenever an operation starts to wait for another program's lock.
    void onLockWait(std::function<void()> hook) { m_connection.onLockWait(std::move(hook)); }
    // How the file is shared with other programs from the next open on.
    void setSharing(Sharing sharing) { m_sharing = sharing; }

private:
    FileError openWithin(std::chrono::milliseconds wait, bool allowCreate);
    // Runs `body` in one IMMEDIATE transaction, on the open file or on a connection opened for it alone.
    FileError atomically(bool allowCreate, const std::function<FileError()>& body);
    FileError addMissing(const std::vector<Record>& initial, int presentBy);
    FileError writeBlocker(const Record& record, bool needsPosition);
    FileError changedOrGone(std::int64_t position);
    FileError fail(FileError error);

    std::string m_name;
    DataFileName m_parts;
    KeyedSchema m_schema;
    KeyedConnection m_connection;
    KeyedCursor m_cursor;
    std::optional<std::chrono::milliseconds> m_openWait;
    Sharing m_sharing = Sharing::Shared;
    std::string m_packed; // the packed fields of the record being written
    FileError m_lastError;
};

} // namespace kestrix::runtime
