#include "equates/PopupLoader.h"

#include "config/Settings.h"
#include "data/FileErrorMessage.h"
#include "equates/PopupRecord.h"
#include "runtime/CrashPoint.h"
#include "runtime/FixedText.h"
#include "runtime/TextLineFile.h"
#include "runtime/WinPath.h"

namespace kestrix::equates {

namespace {
constexpr std::size_t MenuTextLength = 255; // what a header keeps of the joined menu texts
} // namespace

const char* const PopupLoadBusyText =
    "Another program is loading the popups. This load waits until it has finished.";

const std::vector<std::string>& PopupLoader::popupFiles()
{
    static const std::vector<std::string> files = {"POPUP.TXT", "POPUPABC.TXT"};
    return files;
}

bool PopupLoader::check(const runtime::FileError& error)
{
    if (error.ok())
        return true;
    m_dialogs.message(data::fileErrorMessage("FILE ERROR", "An error occured while writing the Popup File",
                                             m_file.name() + " ", error, runtime::Button::Ok,
                                             runtime::MessageIcon::Asterisk));
    return false;
}

bool PopupLoader::writeHeader(const std::string& type, std::int64_t count, const std::string& menu)
{
    if (count == 0)
        return true;
    runtime::Record header = m_file.newRecord();
    header.setText(Pop::Type, type);
    header.setNumber(Pop::Seq, 0);
    header.setText(Pop::Item, std::to_string(count));
    header.setText(Pop::Data, menu.substr(0, MenuTextLength));
    const runtime::FileError error = m_file.add(header);
    // A type repeated in the second file keeps its first header.
    return error.code == runtime::ErrorCode::DuplicateKey || check(error);
}

bool PopupLoader::loadLines(const std::vector<std::string>& lines, const std::string& sourceName,
                            const std::vector<std::size_t>& cutLines)
{
    std::string type = "TYPE=";
    bool typeFits = true;
    std::int64_t count = 0;
    std::string menu; // grows only up to what the header keeps, so a long menu loads in linear time
    std::vector<std::string> problems;
    std::size_t cut = 0;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        const std::size_t lineNumber = n + 1;
        const bool wasCut = cut < cutLines.size() && cutLines[cut] == lineNumber;
        if (wasCut)
            ++cut;
        if (line.empty() || line[0] == ';' || line[0] == ' ')
            continue;
        if (runtime::sameTextNoCase(line.substr(0, 5), "TYPE=")) {
            if (typeFits && !writeHeader(type, count, menu))
                return false;
            const std::string named(runtime::trim(runtime::upper(line.substr(5))));
            typeFits = named.size() <= PopTypeLength && !wasCut;
            if (!typeFits) {
                problems.push_back("Line " + std::to_string(lineNumber) + ": the type " +
                                   named.substr(0, 40) + "... is longer than POP:TYPE (" +
                                   std::to_string(PopTypeLength) +
                                   " characters); its entries were not loaded.");
            }
            type = named;
            count = 0;
            menu.clear();
            continue;
        }
        if (!typeFits)
            continue;
        if (wasCut || line.size() > PopItemColumns + PopDataLength) {
            problems.push_back("Line " + std::to_string(lineNumber) +
                               ": the template is longer than POP:DATA (" + std::to_string(PopDataLength) +
                               " characters); the entry was not loaded.");
            continue;
        }
        ++count;
        const std::string item(runtime::rtrim(line.substr(0, PopItemColumns)));
        runtime::Record entry = m_file.newRecord();
        entry.setText(Pop::Type, type);
        entry.setNumber(Pop::Seq, count);
        entry.setText(Pop::Item, item);
        entry.setText(Pop::Data, line.size() > PopItemColumns ? line.substr(PopItemColumns) : std::string());
        const runtime::FileError error = m_file.add(entry);
        if (error.code != runtime::ErrorCode::DuplicateKey && !check(error)) // a duplicate key is skipped
            return false;
        runtime::crashPoint(runtime::CrashPoint::PopupRecord);
        if (menu.size() <= MenuTextLength)
            menu += count == 1 ? item : "|" + item;
    }
    if (typeFits && !writeHeader(type, count, menu))
        return false;
    if (!problems.empty()) {
        std::string text = "Some lines of " + sourceName + " could not be stored:";
        const std::size_t shown = std::min<std::size_t>(problems.size(), 10);
        for (std::size_t i = 0; i < shown; ++i)
            text += "|" + problems[i];
        if (problems.size() > shown)
            text += "|... and " + std::to_string(problems.size() - shown) + " more.";
        m_dialogs.message({text, "POPUP LINES NOT LOADED", runtime::MessageIcon::Exclamation,
                           runtime::Button::Ok, runtime::Button::Ok});
    }
    return true;
}

PopupLoadResult PopupLoader::run(const runtime::IniFile& programIni)
{
    PopupLoadResult result;
    const runtime::FileLock lock =
        takeLoadLock(config::Ini::PopupLoadSection, m_whenBusy, m_progress, PopupLoadBusyText);
    if (!lock) {
        result.busy = true;
        return result;
    }
    if (!programIni.setValue(config::Ini::PopupLoadSection, config::Ini::VersionEntry, "")) {
        m_dialogs.message(
            {"The load of the popups cannot begin: " + runtime::toWinPath(programIni.path()) +
                 " cannot be written, so an unfinished load could not be told from a complete one.",
             "FILE ERROR", runtime::MessageIcon::Asterisk, runtime::Button::Ok, runtime::Button::Ok});
        return result;
    }
    bool written = check(m_file.stream()) && check(m_file.empty());
    for (const std::string& name : popupFiles()) {
        if (!written)
            break;
        if (m_progress)
            m_progress(name);
        if (m_cancelled && m_cancelled()) {
            // What was read stays, without the version: the next start loads again.
            if (check(m_file.flush()))
                result.records = m_file.records();
            return result;
        }
        const runtime::TextLines text =
            runtime::readTextLines(runtime::resolveWinPath(name), PopItemColumns + PopDataLength);
        if (text.error) {
            m_dialogs.message(data::fileErrorMessage(
                "FILE OPEN ERROR",
                "An error occured while Opening the " + name + " File|You will not have popups!", name + " ",
                text.error, runtime::Button::Ok, runtime::MessageIcon::Asterisk));
            continue;
        }
        written = loadLines(text.lines, name, text.cutLines);
    }
    if (written)
        written = check(m_file.flush());
    if (!written) {
        if (m_file.inTransaction())
            (void)m_file.rollback();
        return result;
    }
    if (!programIni.setValue(config::Ini::PopupLoadSection, config::Ini::VersionEntry,
                             config::Ini::CurrentLoadVersion)) {
        m_dialogs.message({"The popups were loaded, but " + runtime::toWinPath(programIni.path()) +
                               " cannot be written: the load will be offered again at the next start.",
                           "FILE ERROR", runtime::MessageIcon::Asterisk, runtime::Button::Ok,
                           runtime::Button::Ok});
    }
    result.completed = true;
    result.records = m_file.records();
    return result;
}

std::optional<PopupMenu> popupMenu(runtime::KeyedFile& popups, const std::string& type)
{
    runtime::Record header = popups.newRecord();
    header.setText(Pop::Type, type);
    header.setNumber(Pop::Seq, 0);
    if (popups.get(Pop::Key, header) || runtime::isBlank(header.text(Pop::Data)))
        return std::nullopt;
    PopupMenu menu;
    std::string text = header.text(Pop::Data);
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t bar = std::min(text.find('|', start), text.size());
        menu.items.push_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    return menu;
}

std::string convertTemplate(std::string text, const std::string& conversions)
{
    if (conversions.find('|') != std::string::npos) {
        std::string out;
        for (const char c : text)
            out += c == '|' ? std::string("\r\n") : std::string(1, c);
        text = out;
    }
    if (conversions.find('}') != std::string::npos) {
        if (!text.empty() && text.front() == '{')
            text.erase(0, 1);
        const auto last = text.find_last_not_of(' ');
        if (last != std::string::npos && text[last] == '}')
            text[last] = ' ';
    }
    return text;
}

std::string popupTemplate(runtime::KeyedFile& popups, const std::string& type, int choice,
                          const std::string& conversions, std::size_t maxLength)
{
    runtime::Record entry = popups.newRecord();
    entry.setText(Pop::Type, type);
    entry.setNumber(Pop::Seq, choice);
    if (choice < 1 || popups.get(Pop::Key, entry))
        return {};
    return convertTemplate(entry.text(Pop::Data).substr(0, maxLength), conversions);
}

} // namespace kestrix::equates
