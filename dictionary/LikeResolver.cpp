#include "dictionary/LikeResolver.h"

#include "dictionary/ImportRun.h"
#include "runtime/FixedText.h"

#include <algorithm>

namespace kestrix::dictionary {

namespace {

constexpr int ChainLimit = 64;

} // namespace

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
    const std::string reference = likeReference(notes);
    // Each ":" within the first places may end the prefix: the first that names a field wins.
    for (std::size_t colon = 1; colon < std::min<std::size_t>(reference.size(), 15); ++colon) {
        if (reference[colon] != ':')
            continue;
        const auto prefix = m_run.prefixes.find(runtime::upper(reference.substr(0, colon)));
        if (prefix == m_run.prefixes.end())
            continue;
        const auto found =
            m_run.fieldTargets.find(ImportRun::fieldKey(prefix->second, reference.substr(colon + 1)));
        if (found == m_run.fieldTargets.end())
            continue;
        const FieldTarget& target = found->second;
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
    return false;
}

} // namespace kestrix::dictionary
