#pragma once

#include <cstddef>

namespace kestrix::dictionary {

class ImportRun;

// After the whole text dictionary is read: each LIKE row takes the type of the
// field it names (through the prefix of its file), and is written back. A LIKE
// of a LIKE is resolved through the other one first; a row that names itself,
// a chain that comes back to where it started, or a name that is not there
// leaves the row as it was.
class LikeResolver final
{
public:
    explicit LikeResolver(ImportRun& run) : m_run(run) {}
    void resolveAll();

private:
    // True when the row no longer starts with LIKE.
    bool resolve(std::size_t entry, int depth);
    ImportRun& m_run;
};

} // namespace kestrix::dictionary
