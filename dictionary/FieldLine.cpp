#include "dictionary/FieldLine.h"

#include "dictionary/ImportRun.h"
#include "dictionary/LikeResolver.h"
#include "runtime/FixedText.h"

#include <algorithm>
#include <optional>

namespace kestrix::dictionary {

namespace {

// Where a "!" starts a comment: not inside a quoted string.
std::size_t commentStart(std::string_view text)
{
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\'')
            quoted = !quoted;
        else if (!quoted && text[i] == '!')
            return i;
    }
    return std::string_view::npos;
}

bool startsWithLike(std::string_view declaration)
{
    return declaration.size() >= 5 && runtime::sameTextNoCase(declaration.substr(0, 5), "LIKE(");
}

} // namespace

void FieldLine::read(const std::string& text)
{
    const std::string label = labelOf(text);
    std::string declaration(runtime::ltrim(std::string_view(text).substr(label.size())));
    std::string comment;
    if (const std::size_t bang = commentStart(declaration); bang != std::string::npos) {
        comment = declaration.substr(bang + 1);
        declaration.erase(bang);
    }
    declaration = runtime::clip(declaration);

    if (const std::string extra = extraInformation(); !extra.empty()) {
        const std::string spaced = extra + " ";
        const std::string upperExtra = runtime::upper(spaced);
        for (const char* attribute : {"PICTURE(", "VALID("}) {
            const std::size_t at = upperExtra.find(attribute);
            if (at == std::string::npos)
                continue;
            std::size_t end = spaced.find("),", at);
            if (end == std::string::npos)
                end = spaced.find(") ", at);
            declaration += "," + (end == std::string::npos ? runtime::clip(spaced.substr(at))
                                                           : spaced.substr(at, end - at + 1));
        }
        if (!declaration.empty() && declaration[0] == ',')
            declaration.erase(0, 1);
    }
    std::string notes = declaration + "   " + comment;
    bool resolved = false;
    if (startsWithLike(declaration)) {
        // The row is written once, with its type, when the field it names is known by now.
        const runtime::RecordLayout& layout = *dicTreeLayout();
        const std::string stored =
            runtime::fitted(notes, static_cast<std::size_t>(layout.field(Dtr::Notes).size));
        if (std::optional<std::string> rewritten = LikeResolver(m_run).resolvedNow(stored)) {
            m_run.noteIfCut(layout, Dtr::Notes, notes); // as the row was written before it was rewritten
            notes = std::move(*rewritten);
            resolved = true;
        }
    }
    if (const runtime::Record* row = m_run.addRow(m_run.fileId, RowType::Field, ++m_run.items,
                                                  std::max(1, m_run.level - 1), label, notes))
        remember(*row, label, declaration, resolved);
}

std::string FieldLine::extraInformation()
{
    std::string extra;
    if (!m_run.reader.next(extra))
        return {};
    if (extra.empty() || extra[0] != '!') {
        m_run.reader.putBack();
        return {};
    }
    return extra;
}

// Only the first row of a name within a file counts: the lookup by name finds that one first.
void FieldLine::remember(const runtime::Record& row, const std::string& label, const std::string& declaration,
                         bool resolved)
{
    const bool like = startsWithLike(declaration);
    if (like && !resolved)
        m_run.likes.push_back({row, m_run.line});
    const auto nameSize = static_cast<std::size_t>(row.layout().field(Dtr::Name).size);
    const auto [target, added] = m_run.addField(m_run.fileId, std::string_view(label).substr(0, nameSize));
    if (!added)
        return;
    target->position = row.position();
    if (like && resolved && !likeReference(declaration).empty())
        target->type = declarationType(row.text(Dtr::Notes)); // what a LIKE of it takes
    else if (like && !likeReference(declaration).empty())
        target->like = static_cast<int>(m_run.likes.size() - 1);
    else
        target->type = declarationType(declaration);
}

} // namespace kestrix::dictionary
