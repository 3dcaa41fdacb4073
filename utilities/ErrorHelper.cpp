#include "utilities/ErrorHelper.h"

#include "runtime/FixedText.h"

#include <algorithm>

namespace kestrix::utilities {

namespace {

constexpr std::size_t CommentColumn = 40;
constexpr std::size_t CommentLength = 41;
constexpr int FileSystemError = 90;
constexpr const char* AllCategory = "All";

// The code padded to column 39, the comment from column 40, cut to its room.
std::string withComment(const std::string& code, const std::string& comment)
{
    std::string line = code;
    if (line.size() < CommentColumn - 1)
        line.resize(CommentColumn - 1, ' ');
    line += comment.substr(0, CommentLength);
    return runtime::clip(line);
}

bool byCode(const ErrorEntry& a, const ErrorEntry& b)
{
    return a.code < b.code;
}

} // namespace

std::vector<std::string> errorCaseCode(const std::vector<ErrorEntry>& chosen, const ErrorCaseOptions& options,
                                       bool endComment)
{
    std::vector<std::string> lines{"CASE ERRORCODE()"};
    if (options.ofNoError)
        lines.push_back(withComment("OF NoError", "!0 No Error Occured"));
    for (const ErrorEntry& e : chosen) {
        lines.push_back(withComment("OF " + e.equate, "!" + std::to_string(e.code) + " " + e.description));
        if (e.code == FileSystemError) {
            lines.emplace_back("   CASE FILEERRORCODE()");
            lines.emplace_back("   ELSE");
            lines.push_back("      STOP('File Error: '&FILEERRORCODE()&'-'&CLIP(FILEERROR()) &|\r\n" +
                            std::string(11, ' ') + "'<13,10>'&CLIP(ERRORFILE()))");
            lines.emplace_back("   END !CASE FileError");
        }
    }
    if (options.elseStop) {
        lines.emplace_back("ELSE");
        std::string stop = "   STOP('Error: '&ERRORCODE()&'-'&CLIP(ERROR())";
        if (options.errorFile)
            stop += " &|\r\n" + std::string(8, ' ') + "'<13,10>'&CLIP(ERRORFILE())";
        if (options.fileError)
            stop += " &|\r\n" + std::string(8, ' ') + "'<13,10>'&FILEERRORCODE()&'-'&CLIP(FILEERROR())";
        lines.push_back(stop + ")");
    }
    lines.emplace_back(endComment ? "END !CASE Error" : "END");
    return lines;
}

std::string errorHelpFile(const std::string& clarionRoot)
{
    std::string root(runtime::rtrim(clarionRoot));
    if (!root.empty() && root.back() != '\\')
        root += '\\';
    return root + "BIN\\C5Help.HLP";
}

ErrorHelper::ErrorHelper(std::vector<ErrorEntry> errors, std::vector<ErrorCategory> categories)
    : m_errors(std::move(errors)), m_categories(std::move(categories))
{
    std::stable_sort(m_errors.begin(), m_errors.end(), byCode);
    for (const ErrorCategory& c : m_categories)
        m_tree.push_back({c.name, c.level, c.contracted});
    m_tree.push_back({AllCategory, 1, false});
    chooseCategory(0);
}

void ErrorHelper::chooseCategory(std::size_t treeIndex)
{
    m_category = std::min(treeIndex, m_tree.size() - 1);
    m_listed.clear();
    if (m_category >= m_categories.size()) {
        m_listed = m_errors;
        return;
    }
    for (const int code : m_categories[m_category].errors) {
        if (const ErrorEntry* e = find(code))
            m_listed.push_back(*e);
    }
}

std::string ErrorHelper::heading() const
{
    return "Errors for: " + m_tree[m_category].name;
}

const ErrorEntry* ErrorHelper::find(int code) const
{
    const auto at = std::lower_bound(m_errors.begin(), m_errors.end(), ErrorEntry{code, {}, {}, {}}, byCode);
    return at != m_errors.end() && at->code == code ? &*at : nullptr;
}

std::string ErrorHelper::notes(int code) const
{
    const ErrorEntry* e = find(code);
    return e ? e->notes : std::string();
}

bool ErrorHelper::add(int code)
{
    const ErrorEntry* e = find(code);
    if (!e)
        return false;
    const auto at = std::lower_bound(m_chosen.begin(), m_chosen.end(), *e, byCode);
    if (at == m_chosen.end() || at->code != code)
        m_chosen.insert(at, *e);
    return true;
}

void ErrorHelper::addAllListed()
{
    for (const ErrorEntry& e : m_listed)
        add(e.code);
}

void ErrorHelper::remove(int code)
{
    std::erase_if(m_chosen, [code](const ErrorEntry& e) { return e.code == code; });
}

std::vector<std::string> ErrorHelper::generate(bool endComment) const
{
    return errorCaseCode(m_chosen, options, endComment);
}

} // namespace kestrix::utilities
