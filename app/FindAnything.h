#pragma once

#include "runtime/TextFilter.h"
#include "runtime/ToolRegistry.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// The search behind the frame's "find anything" box and `ktx find`: one text
// looked for in the equates, saved messages, snippets, errors, keycodes and the
// tools' names, the hits grouped by kind in a fixed order. Each kind's entries
// come from a source read once; every keystroke then searches memory only.
namespace kestrix::app {

// In the order the groups are shown.
enum class FindKind { Tool, Equate, Message, Snippet, Error, Keycode };
inline constexpr std::array<FindKind, 6> FindKinds = {FindKind::Tool,    FindKind::Equate, FindKind::Message,
                                                      FindKind::Snippet, FindKind::Error,  FindKind::Keycode};
// "TOOL", "EQUATE", ... as `ktx find` prints the kind.
const char* findKindName(FindKind kind);
// "Tools", "Equates", ... as the window heads a group.
const char* findGroupTitle(FindKind kind);

// Where a hit opens: the tool's procedure and what to ask it to show.
struct FindTarget final
{
    std::string tool;
    runtime::ShowRequest request;
};

struct FindEntry final
{
    std::string label;                 // the hit as it is listed
    std::vector<std::string> searched; // the texts the typed text is looked for in, each on its own
    FindTarget target;
};

// Gives the entries of one kind. Tests feed their own; the program reads its data files.
class FindSource
{
public:
    virtual ~FindSource() = default;
    virtual FindKind kind() const = 0;
    virtual std::vector<FindEntry> entries() = 0;
};

struct FindHit final
{
    FindKind kind = FindKind::Tool;
    std::string label;
    FindTarget target;
};

struct FindGroup final
{
    FindKind kind = FindKind::Tool;
    std::vector<FindHit> hits; // at most the limit per group, in the source's order
    std::size_t total = 0;     // every entry of the kind that holds the text
};

class FindAnything final
{
public:
    // Groups list up to `hitsPerGroup` hits and count the rest.
    explicit FindAnything(std::size_t hitsPerGroup = 50) : m_limit(hitsPerGroup) {}

    // Adds the source's entries to those of its kind.
    void load(FindSource& source);
    std::size_t entryCount() const;

    // The groups with at least one hit, in the order of `FindKinds`; none for blank text.
    std::vector<FindGroup> search(std::string_view typed) const;

private:
    struct Indexed
    {
        FindEntry entry;
        std::string folded; // every searched text folded, with cell breaks between them
    };
    std::size_t m_limit;
    std::array<std::vector<Indexed>, FindKinds.size()> m_entries;
};

} // namespace kestrix::app
