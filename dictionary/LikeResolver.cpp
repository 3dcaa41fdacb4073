#include "dictionary/LikeResolver.h"

#include "dictionary/ImportRun.h"
#include "runtime/FixedText.h"

#include <algorithm>

namespace kestrix::dictionary {

namespace {

constexpr int ChainLimit = 64;
constexpr std::size_t PrefixReach = 15; // a prefix ends at a ":" before this place

} // namespace

const FieldTarget* LikeResolver::target(const std::string& reference, bool firstColonOnly) const
{
    for (std::size_t colon = 1; colon < std::min(reference.size(), PrefixReach); ++colon) {
        if (reference[colon] != ':')
            continue;
        const auto prefix = m_run.prefixes.find(runtime::upper(reference.substr(0, colon)));
        if (prefix != m_run.prefixes.end()) {
            if (const FieldTarget* found = m_run.findField(prefix->second, reference.substr(colon + 1)))
                return found;
        }
        if (firstColonOnly)
            return nullptr;
    }
    return nullptr;
}

// The names read so far only ever gain entries, and the first entry of a name stays: when the first ":"
// already finds a field that is no waiting LIKE, the end finds the same one. The row itself is not among
// the targets yet, so a row naming itself always waits (and stays as written).
std::optional<std::string> LikeResolver::resolvedNow(std::string_view notes) const
{
    const std::string reference = likeReference(notes);
    if (reference.empty())
        return std::nullopt;
    const FieldTarget* found = target(reference, true);
    if (!found || found->like >= 0)
        return std::nullopt;
    return resolvedLikeNotes(notes, found->type);
}

void LikeResolver::resolveAll()
{
    for (std::size_t entry = 0; entry < m_run.likes.size() && !m_run.stopped; ++entry)
        resolve(entry, 0);
}

bool LikeResolver::resolve(std::size_t entry, int depth)
{
    LikeRow& like = m_run.likes[entry];
    if (like.resolved)
        return true;
    const std::string notes = like.row.text(Dtr::Notes);
    const FieldTarget* found = target(likeReference(notes), false);
    if (!found)
        return false;
    const FieldTarget& target = *found;
    if (target.position == like.row.position())
        return false; // a field cannot take its type from itself
    std::string type = target.type;
    if (target.like >= 0) {
        const auto other = static_cast<std::size_t>(target.like);
        if (m_run.likes[other].visiting || depth >= ChainLimit)
            return false;
        like.visiting = true;
        const bool done = resolve(other, depth + 1);
        like.visiting = false;
        if (!done)
            return false;
        type = declarationType(m_run.likes[other].row.text(Dtr::Notes));
    }
    m_run.line = like.line;
    m_run.setText(like.row, Dtr::Notes, resolvedLikeNotes(notes, type));
    like.resolved = true;
    if (const runtime::FileError error = m_run.store.tree().put(like.row))
        m_run.stopFor(error, "An error occured while writing a row of the Dictionary Tree",
                      m_run.store.tree());
    return true;
}

} // namespace kestrix::dictionary
