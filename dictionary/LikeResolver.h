#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kestrix::dictionary {

class ImportRun;

struct FieldTarget;

// A LIKE row takes the type of the field it names (through the prefix of its
// file). Most name a field read before them: those are rewritten as they are
// added. The others wait until the whole text dictionary is read, and are then
// written back; a LIKE of a LIKE is resolved through the other one first; a row
// that names itself, a chain that comes back to where it started, or a name
// that is not there leaves the row as it was.
class LikeResolver final
{
public:
    explicit LikeResolver(ImportRun& run) : m_run(run) {}
    // The notes of a LIKE row about to be added (`notes` as the row stores them), rewritten now when
    // the reading so far settles its type: the end would find the same field. Nothing when it must wait.
    std::optional<std::string> resolvedNow(std::string_view notes) const;
    // The rows that waited, once the whole text dictionary is read.
    void resolveAll();

private:
    // The field the reference names: at the first ":" within the first places that names a file and a
    // field of it; with `firstColonOnly` only the first ":" is tried.
    const FieldTarget* target(const std::string& reference, bool firstColonOnly) const;
    // True when the row no longer starts with LIKE.
    bool resolve(std::size_t entry, int depth);
    ImportRun& m_run;
};

} // namespace kestrix::dictionary
