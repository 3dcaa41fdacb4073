#include "app/FindAnything.h"

namespace kestrix::app {

const char* findKindName(FindKind kind)
{
    switch (kind) {
    case FindKind::Tool:
        return "TOOL";
    case FindKind::Equate:
        return "EQUATE";
    case FindKind::Message:
        return "MESSAGE";
    case FindKind::Snippet:
        return "SNIPPET";
    case FindKind::Error:
        return "ERROR";
    case FindKind::Keycode:
        return "KEYCODE";
    }
    return "";
}

const char* findGroupTitle(FindKind kind)
{
    switch (kind) {
    case FindKind::Tool:
        return "Tools";
    case FindKind::Equate:
        return "Equates";
    case FindKind::Message:
        return "Saved Messages";
    case FindKind::Snippet:
        return "Code Snippets";
    case FindKind::Error:
        return "Errors";
    case FindKind::Keycode:
        return "Keycodes";
    }
    return "";
}

void FindAnything::load(FindSource& source)
{
    std::vector<Indexed>& into = m_entries[static_cast<std::size_t>(source.kind())];
    for (FindEntry& entry : source.entries()) {
        std::string folded;
        for (const std::string& text : entry.searched) {
            if (!folded.empty())
                folded += runtime::FilterCellBreak;
            folded += runtime::foldForFilter(text);
        }
        into.push_back({std::move(entry), std::move(folded)});
    }
}

std::size_t FindAnything::entryCount() const
{
    std::size_t count = 0;
    for (const auto& entries : m_entries)
        count += entries.size();
    return count;
}

std::vector<FindGroup> FindAnything::search(std::string_view typed) const
{
    std::vector<FindGroup> groups;
    const runtime::TextFilter filter(typed);
    if (filter.empty())
        return groups;
    for (const FindKind kind : FindKinds) {
        FindGroup group{kind, {}, 0};
        for (const Indexed& indexed : m_entries[static_cast<std::size_t>(kind)]) {
            if (!filter.matchesFolded(indexed.folded))
                continue;
            if (group.hits.size() < m_limit)
                group.hits.push_back({kind, indexed.entry.label, indexed.entry.target});
            ++group.total;
        }
        if (group.total > 0)
            groups.push_back(std::move(group));
    }
    return groups;
}

} // namespace kestrix::app
