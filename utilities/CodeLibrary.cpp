#include "utilities/CodeLibrary.h"

#include "data/RecordWriter.h"
#include "runtime/FieldFit.h"
#include "runtime/FixedText.h"
#include "utilities/CodeStoreRecord.h"

namespace kestrix::utilities {

using data::WriteOperation;

CodeLibrary::CodeLibrary(runtime::KeyedFile& snippets, runtime::KeyedFile& types,
                         runtime::DialogService& dialogs)
    : m_snippets(snippets), m_types(types), m_dialogs(dialogs)
{
}

Snippet snippetOf(const runtime::Record& record)
{
    return {record.text(Cds::Type), record.text(Cds::Name), record.text(Cds::Code)};
}

std::vector<std::string> CodeLibrary::types()
{
    std::vector<std::string> names;
    for (const runtime::Record& r : m_types.readAll(Cdt::Key))
        names.push_back(r.text(Cdt::Type));
    return names;
}

bool CodeLibrary::typeExists(const std::string& type)
{
    runtime::Record r = m_types.newRecord();
    r.setText(Cdt::Type, type);
    return m_types.get(Cdt::Key, r).ok();
}

std::vector<runtime::Record> CodeLibrary::snippetRecords(const std::string& type)
{
    std::vector<runtime::Record> rows;
    runtime::Record r = m_snippets.newRecord();
    r.setText(Cds::Type, type);
    m_snippets.setFrom(Cds::ByName, r);
    while (m_snippets.next(r).ok() && runtime::sameTextNoCase(r.text(Cds::Type), type))
        rows.push_back(r);
    return rows;
}

std::vector<Snippet> CodeLibrary::snippets(const std::string& type)
{
    std::vector<Snippet> out;
    for (const runtime::Record& r : snippetRecords(type))
        out.push_back(snippetOf(r));
    return out;
}

std::vector<Snippet> CodeLibrary::allSnippets()
{
    std::vector<Snippet> out;
    for (const runtime::Record& r : m_snippets.readAll(Cds::ByName))
        out.push_back(snippetOf(r));
    return out;
}

std::optional<runtime::Record> CodeLibrary::findSnippet(const std::string& type, const std::string& name)
{
    for (runtime::Record& r : snippetRecords(type)) {
        if (runtime::sameTextNoCase(r.text(Cds::Name), name))
            return r;
    }
    return std::nullopt;
}

Refusal CodeLibrary::checkType(const std::string& type)
{
    if (runtime::isBlank(type))
        return std::string("The code type must not be blank.");
    return runtime::textDoesNotFit(*codeTypeLayout(), Cdt::Type, type);
}

Refusal CodeLibrary::checkSnippet(const Snippet& snippet)
{
    if (Refusal refusal = checkType(snippet.type))
        return refusal;
    const runtime::RecordLayout& layout = *snippetLayout();
    if (Refusal refusal = runtime::textDoesNotFit(layout, Cds::Name, snippet.name))
        return refusal;
    return runtime::textDoesNotFit(layout, Cds::Code, snippet.code);
}

bool CodeLibrary::addType(const std::string& type)
{
    runtime::Record r = m_types.newRecord();
    r.setText(Cdt::Type, type);
    return data::writeRecord(m_types, r, WriteOperation::Add, m_dialogs);
}

bool CodeLibrary::changeType(const std::string& from, const std::string& to)
{
    runtime::Record r = m_types.newRecord();
    r.setText(Cdt::Type, from);
    if (m_types.get(Cdt::Key, r))
        return false;
    r.setText(Cdt::Type, to);
    if (!data::writeRecord(m_types, r, WriteOperation::Update, m_dialogs))
        return false;
    for (runtime::Record& snippet : snippetRecords(from)) {
        snippet.setText(Cds::Type, to);
        if (!data::writeRecord(m_snippets, snippet, WriteOperation::Update, m_dialogs))
            return false;
    }
    return true;
}

bool CodeLibrary::deleteType(const std::string& type)
{
    for (runtime::Record& snippet : snippetRecords(type)) {
        if (!data::writeRecord(m_snippets, snippet, WriteOperation::Delete, m_dialogs))
            return false;
    }
    runtime::Record r = m_types.newRecord();
    r.setText(Cdt::Type, type);
    if (m_types.get(Cdt::Key, r))
        return true; // the snippets were all it had
    return data::writeRecord(m_types, r, WriteOperation::Delete, m_dialogs);
}

namespace {
void fill(runtime::Record& record, const Snippet& snippet)
{
    record.setText(Cds::Type, snippet.type);
    record.setText(Cds::Name, snippet.name);
    record.setText(Cds::Code, snippet.code);
}
} // namespace

bool CodeLibrary::addSnippet(const Snippet& snippet)
{
    runtime::Record r = m_snippets.newRecord();
    fill(r, snippet);
    return data::writeRecord(m_snippets, r, WriteOperation::Add, m_dialogs);
}

bool CodeLibrary::changeSnippet(runtime::Record& record, const Snippet& snippet)
{
    fill(record, snippet);
    return data::writeRecord(m_snippets, record, WriteOperation::Update, m_dialogs);
}

bool CodeLibrary::deleteSnippet(runtime::Record& record)
{
    return data::writeRecord(m_snippets, record, WriteOperation::Delete, m_dialogs);
}

SnippetCopy prepareCopy(const std::string& code)
{
    SnippetCopy copy;
    copy.lines = splitCodeLines(code);
    copy.tokens = scanMergeTokens(copy.lines);
    return copy;
}

} // namespace kestrix::utilities
