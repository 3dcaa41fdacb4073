#pragma once

// While a FailingWrites object lives, every write, sync and truncate of a keyed file (its journal and
// write-ahead log too) fails as on a full disk, so the real error path of a failed write runs on every
// system: deleting the open file, which Linux allows, is refused by Windows.
// Linking this seam puts a pass-through layer under SQLite at program start, so files opened before
// the object exists fail as well.
namespace kestrix::runtime::testing {

class FailingWrites final
{
public:
    FailingWrites();
    ~FailingWrites();
    FailingWrites(const FailingWrites&) = delete;
    FailingWrites& operator=(const FailingWrites&) = delete;

    // How many writes, syncs and truncates were refused while this object lived.
    int refused() const;

private:
    int m_refusedBefore;
};

} // namespace kestrix::runtime::testing
