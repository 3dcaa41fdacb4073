#include "organizers/HelpOrganizer.h"

#include "data/RecordWriter.h"
#include "equates/EquateHelper.h"
#include "organizers/HelpList.h"
#include "runtime/FieldFit.h"
#include "runtime/FixedText.h"
#include "runtime/TextCodec.h"
#include "runtime/WinPath.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace kestrix::organizers {

namespace {

constexpr const char* ViewCaption = "Help Organizer";

runtime::MessageRequest viewProblem(std::string text)
{
    return {.text = std::move(text), .caption = ViewCaption, .icon = runtime::MessageIcon::Exclamation};
}

bool endsWith(const std::string& text, const char* tail)
{
    const std::string_view t(tail);
    return text.size() >= t.size() && std::string_view(text).substr(text.size() - t.size()) == t;
}

} // namespace

const std::array<HelpTab, 5>& helpTabs()
{
    static const std::array<HelpTab, 5> tabs = {
        {{'H', "&Help"}, {'X', "&Text"}, {'S', "&Source"}, {'C', "&Class"}, {'T', "Te&mplate"}}};
    return tabs;
}

std::size_t helpTabIndex(char type)
{
    const char letter = runtime::upperChar(type);
    for (std::size_t i = 0; i < helpTabs().size(); ++i) {
        if (helpTabs()[i].type == letter)
            return i;
    }
    return 0;
}

const std::array<HelpColumn, 3>& helpColumns()
{
    static const std::array<HelpColumn, 3> columns = {{{"Name", 200}, {"File", 110}, {"Path", 320}}};
    return columns;
}

std::vector<int> restoreHelpColumnWidths(const runtime::ListLayoutStore& layouts)
{
    std::vector<int> widths;
    for (const HelpColumn& c : helpColumns())
        widths.push_back(c.width);
    if (const auto stored = layouts.restore(HelpBrowseProcedure, HelpColumnWidthsEntry, HelpLayoutVersion)) {
        const std::vector<int> cells = equates::parseWidthCells(*stored);
        for (std::size_t i = 0; i < cells.size() && i < widths.size(); ++i)
            widths[i] = cells[i];
    }
    return widths;
}

void saveHelpColumnWidths(const runtime::ListLayoutStore& layouts, const std::vector<int>& widths)
{
    layouts.save(HelpBrowseProcedure, HelpGroupWidthsEntry, HelpLayoutVersion, ""); // no column groups
    layouts.save(HelpBrowseProcedure, HelpColumnWidthsEntry, HelpLayoutVersion, equates::widthCells(widths));
}

HelpEntry helpEntryOf(const runtime::Record& record)
{
    const std::string type = record.text(Hlp::Type);
    return {type.empty() ? 'H' : type[0], record.text(Hlp::Name), record.text(Hlp::File),
            record.text(Hlp::Path)};
}

HelpEntry withLookedUpFile(HelpEntry entry, const std::string& chosen)
{
    const std::size_t cut = chosen.find_last_of("\\/");
    entry.file = chosen.substr(cut == std::string::npos ? 0 : cut + 1);
    entry.path = cut == std::string::npos ? std::string() : chosen.substr(0, cut);
    if (entry.path.empty() && cut == 0)
        entry.path = chosen.substr(0, 1); // the root itself
    return entry;
}

runtime::FileDialogRequest lookupFileRequest(const HelpEntry& entry, const std::string& clarionRoot)
{
    runtime::FileDialogRequest r;
    r.title = "Lookup File";
    r.filter = "Help Files|*.HLP;*.PDF|Text Files|*.TXT|Source Files|*.CLW;*.INC|Template Files|*.TP*|"
               "All Files|*.*";
    std::error_code ec;
    for (const std::string& start : {runtime::clip(entry.path), runtime::clip(clarionRoot)}) {
        if (start.empty())
            continue;
        const fs::path native = runtime::resolveWinPath(start);
        if (fs::is_directory(native, ec)) {
            r.startPath = runtime::pathText(native);
            break;
        }
    }
    return r;
}

bool opensAsDocument(const std::string& file)
{
    const std::string u = runtime::upper(runtime::rtrim(file));
    return endsWith(u, ".HLP") || endsWith(u, ".PDF");
}

std::vector<std::string> editorCommand(const std::string& editor)
{
    const std::string whole(runtime::trim(editor));
    if (whole.empty())
        return {};
    std::error_code ec;
    if (const fs::path native = runtime::resolveWinPath(whole); fs::is_regular_file(native, ec))
        return {runtime::pathText(native)};
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    bool inWord = false;
    for (const char c : whole) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (c == ' ' && !quoted) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

runtime::MessageRequest scanEndMessage(const HelpScanResult& result, bool cancelled)
{
    if (!cancelled)
        return scanReport(result);
    runtime::MessageRequest r = scanReport(result);
    r.text = "The scan was cancelled; what it had found stays in the list.||" + r.text;
    return r;
}

HelpOrganizer::HelpOrganizer(runtime::KeyedFile& file, runtime::DialogService& dialogs)
    : m_file(file), m_dialogs(dialogs)
{
}

std::vector<runtime::Record> HelpOrganizer::entries(char type)
{
    runtime::Record start = m_file.newRecord();
    start.setText(Hlp::Type, std::string(1, type));
    std::vector<runtime::Record> out;
    m_file.setFrom(Hlp::ByName, start);
    runtime::Record r = m_file.newRecord();
    while (!m_file.next(r)) {
        if (r.text(Hlp::Type) != std::string(1, type))
            break;
        out.push_back(r);
    }
    return out;
}

std::optional<runtime::MessageRequest> HelpOrganizer::checkEntry(const HelpEntry& entry)
{
    const auto refuse = [](std::string text) {
        return runtime::MessageRequest{.text = std::move(text),
                                       .caption = "Update Help List",
                                       .icon = runtime::MessageIcon::Exclamation};
    };
    if (!isHelpType(entry.type))
        return refuse("Choose the tab of the entry: Help, Text, Source, Class or Template.");
    if (runtime::isBlank(entry.name) || runtime::isBlank(entry.file))
        return refuse("A help list entry needs a name and a file.");
    const auto& layout = *helpListLayout();
    const std::pair<int, const std::string*> values[] = {
        {Hlp::Name, &entry.name}, {Hlp::File, &entry.file}, {Hlp::Path, &entry.path}};
    for (const auto& [field, value] : values) {
        if (auto problem = runtime::textDoesNotFit(layout, field, *value))
            return refuse(*problem);
    }
    return std::nullopt;
}

bool HelpOrganizer::write(runtime::Record& record, const HelpEntry& entry, bool adding)
{
    if (auto problem = checkEntry(entry)) {
        m_dialogs.message(*problem);
        return false;
    }
    record.setText(Hlp::Type, std::string(1, runtime::upperChar(entry.type)));
    record.setText(Hlp::Name, entry.name);
    record.setText(Hlp::File, entry.file);
    record.setText(Hlp::Path, runtime::withoutTrailingBackslashes(runtime::rtrim(entry.path)));
    return data::writeRecord(m_file, record,
                             adding ? data::WriteOperation::Add : data::WriteOperation::Update, m_dialogs);
}

bool HelpOrganizer::add(const HelpEntry& entry)
{
    runtime::Record r = m_file.newRecord();
    return write(r, entry, true);
}

bool HelpOrganizer::change(runtime::Record& record, const HelpEntry& entry)
{
    return write(record, entry, false);
}

bool HelpOrganizer::remove(runtime::Record& record)
{
    return data::writeRecord(m_file, record, data::WriteOperation::Delete, m_dialogs);
}

std::optional<runtime::MessageRequest> HelpOrganizer::view(const HelpEntry& entry, const std::string& editor,
                                                           runtime::DocumentLauncher& launcher) const
{
    const std::string full = helpFullPath(entry.path, entry.file);
    std::error_code ec;
    const fs::path native = runtime::resolveWinPath(full);
    if (!fs::is_regular_file(native, ec))
        return viewProblem("The file " + full +
                           " is no longer there.||Scan Hlp takes entries whose file is "
                           "gone off the list.");
    const std::string target = runtime::pathText(native);
    const std::vector<std::string> command = editorCommand(editor);
    const auto startEditor = [&] {
        if (command.empty())
            return false;
        std::vector<std::string> arguments(command.begin() + 1, command.end());
        arguments.push_back(target);
        return launcher.startProgram(command.front(), arguments);
    };
    // Either way is tried when the other cannot start.
    const bool started = opensAsDocument(entry.file) ? launcher.openDocument(target) || startEditor()
                                                     : startEditor() || launcher.openDocument(target);
    if (started)
        return std::nullopt;
    const std::string editorPart =
        command.empty() ? "no editor is set in the Configuration"
                        : "the editor " + std::string(runtime::trim(editor)) + " could not be started";
    return viewProblem("The file " + full + " could not be opened:|no program is associated with it, and " +
                       editorPart + ".");
}

} // namespace kestrix::organizers
