#include "app/FindSources.h"

#include "config/Session.h"
#include "data/DataFileNames.h"
#include "data/DataFileRegistry.h"
#include "equates/EquateList.h"
#include "equates/EquateRecord.h"
#include "equates/KeycodeTable.h"
#include "message/MessageRecord.h"
#include "runtime/FixedText.h"
#include "runtime/KeyedFile.h"
#include "utilities/CodeLibrary.h"
#include "utilities/CodeStoreRecord.h"
#include "utilities/ErrorList.h"
#include "utilities/ErrorListFiles.h"

namespace kestrix::app {

namespace {
constexpr const char* TypeMarker = "Z-Type";

// A long text as one line of a list: line ends as blanks, cut where a list would cut it.
std::string oneLine(std::string_view text, std::size_t length)
{
    std::string line(text.substr(0, length));
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < ' ')
            c = ' ';
    }
    return line;
}
} // namespace

std::vector<FindEntry> EquateFindSource::entries()
{
    std::vector<FindEntry> out;
    runtime::Record r = m_equates.newRecord();
    m_equates.setFrom(equates::Equ::ByName, r);
    while (m_equates.next(r).ok()) {
        const equates::EquateRow row = equates::equateRow(r);
        if (runtime::sameTextNoCase(row.type, TypeMarker))
            continue;
        const std::string value = std::to_string(row.value);
        out.push_back({row.name + " = " + value + " (" + row.type + ")",
                       {row.name, value, row.hex},
                       {"EquateBrowse", {row.type, row.name, row.position}}});
    }
    return out;
}

std::vector<FindEntry> MessageFindSource::entries()
{
    std::vector<FindEntry> out;
    for (const runtime::Record& r : m_messages.readAll(message::Mes::ByDescription)) {
        const std::string description = r.text(message::Mes::Description);
        if (runtime::isBlank(description) ||
            runtime::sameTextNoCase(description, message::TemplateDescription))
            continue;
        const std::string caption = r.text(message::Mes::Caption);
        out.push_back({description + (caption.empty() ? "" : " - " + oneLine(caption, 60)),
                       {description, caption, r.text(message::Mes::Text)},
                       {"MakeInput", {description, {}, 0}}});
    }
    return out;
}

std::vector<FindEntry> SnippetFindSource::entries()
{
    std::vector<FindEntry> out;
    for (const utilities::Snippet& s : m_library.allSnippets())
        out.push_back({s.name + " (" + s.type + ")",
                       {s.name, s.type, s.code},
                       {"CodeStoreBrowse", {s.type, s.name, 0}}});
    return out;
}

std::vector<FindEntry> ErrorFindSource::entries()
{
    std::vector<FindEntry> out;
    for (const utilities::ErrorEntry& e : m_errors) {
        const std::string code = std::to_string(e.code);
        out.push_back({code + " " + e.description + (e.equate.empty() ? "" : " (" + e.equate + ")"),
                       {code, e.equate, e.description},
                       {"ErrorHelper", {{}, {}, e.code}}});
    }
    return out;
}

std::vector<FindEntry> KeycodeFindSource::entries()
{
    std::vector<FindEntry> out;
    for (const equates::KeyName& key : equates::keyNames()) {
        const std::string code = std::to_string(key.code);
        out.push_back({std::string(key.name) + " = " + code,
                       {key.name, code},
                       {"KeycodeFinder", {key.name, {}, key.code}}});
    }
    return out;
}

std::vector<FindEntry> ToolFindSource::entries()
{
    std::vector<FindEntry> out;
    for (const ToolName& tool : m_tools)
        out.push_back({tool.name, {tool.name, tool.procedure}, {tool.procedure, {}}});
    return out;
}

std::string toolNameOf(const std::string& menuText)
{
    std::string name;
    for (std::size_t i = 0; i < menuText.size(); ++i) {
        if (menuText[i] == '&' && i + 1 < menuText.size() && menuText[i + 1] != '&')
            continue;
        if (menuText[i] == '&')
            ++i; // "&&" is a shown '&'
        name += menuText[i];
    }
    std::string_view shown = runtime::trim(name);
    while (shown.ends_with('.'))
        shown.remove_suffix(1);
    return runtime::clip(shown);
}

void loadFindSources(FindAnything& find, config::Session& session, const std::vector<ToolName>& tools)
{
    ToolFindSource toolSource(tools);
    find.load(toolSource);
    if (data::DataFileUse equates(session.files(), data::FileName::Equates, equates::equateLayout());
        equates) {
        EquateFindSource source(*equates.file());
        find.load(source);
    }
    if (data::DataFileUse messages(session.files(), data::FileName::Messages, message::messageLayout());
        messages) {
        MessageFindSource source(*messages.file());
        find.load(source);
    }
    if (data::DataFileUse snippets(session.files(), data::FileName::CodeLibrary, utilities::snippetLayout());
        snippets) {
        if (data::DataFileUse types(session.files(), data::FileName::CodeTypes, utilities::codeTypeLayout());
            types) {
            utilities::CodeLibrary library(*snippets.file(), *types.file(), session.dialogs());
            SnippetFindSource source(library);
            find.load(source);
        }
    }
    if (utilities::ErrorListFiles errors(session.files(), session.dialogs()); errors.ok()) {
        ErrorFindSource source(errors.errors());
        find.load(source);
    }
    KeycodeFindSource keycodes;
    find.load(keycodes);
}

} // namespace kestrix::app
