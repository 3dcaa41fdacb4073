#include "equates/PopupLoader.h"

#include "config/Settings.h"
#include "data/FileErrorMessage.h"
#include "equates/PopupRecord.h"
#include "runtime/FixedText.h"
#include "runtime/TextLineFile.h"
#include "runtime/WinPath.h"

namespace kestrix::equates {

const std::vector<std::string>& PopupLoader::popupFiles()
{
    static const std::vector<std::string> files = {"POPUP.TXT", "POPUPABC.TXT"};
    return files;
}

void PopupLoader::writeHeader(const std::string& type, int count, const std::string& menu)
{
    if (count == 0)
        return;
    runtime::Record header = m_file.newRecord();
    header.setText(Pop::Type, type);
    header.setNumber(Pop::Seq, 0);
    header.setText(Pop::Item, std::to_string(count));
    header.setText(Pop::Data, menu.substr(0, 255));
    m_file.add(header); // a type repeated in the second file keeps its first header
}

void PopupLoader::loadLines(const std::vector<std::string>& lines)
{
    std::string type = "TYPE=";
    int count = 0;
    std::string menu;
    for (const std::string& line : lines) {
        if (line.empty() || line[0] == ';' || line[0] == ' ')
            continue;
        if (runtime::sameTextNoCase(line.substr(0, 5), "TYPE=")) {
            writeHeader(type, count, menu);
            type = runtime::fitted(runtime::upper(runtime::ltrim(line.substr(5))), 20);
            count = 0;
            menu.clear();
            continue;
        }
        ++count;
        const std::string item(runtime::rtrim(line.substr(0, 29)));
        runtime::Record entry = m_file.newRecord();
        entry.setText(Pop::Type, type);
        entry.setNumber(Pop::Seq, count);
        entry.setText(Pop::Item, item);
        entry.setText(Pop::Data, line.size() > 29 ? line.substr(29, 483) : std::string());
        m_file.add(entry); // a duplicate key is skipped
        menu = count == 1 ? item : menu + "|" + item;
    }
    writeHeader(type, count, menu);
}

std::int64_t PopupLoader::run(const runtime::IniFile& programIni)
{
    programIni.setValue(config::Ini::PopupLoadSection, config::Ini::VersionEntry, "");
    m_file.stream();
    m_file.empty();
    for (const std::string& name : popupFiles()) {
        if (m_progress)
            m_progress(name);
        if (m_cancelled && m_cancelled()) {
            m_file.flush();
            return m_file.records(); // without the version: the next start loads again
        }
        const runtime::TextLines text = runtime::readTextLines(runtime::resolveWinPath(name));
        if (text.error) {
            m_dialogs.message(data::fileErrorMessage(
                "FILE OPEN ERROR", "An error occured while Opening the " + name + " File|You will not have popups!",
                name + " ", text.error, runtime::Button::Ok, runtime::MessageIcon::Asterisk));
            continue;
        }
        loadLines(text.lines);
    }
    m_file.flush();
    programIni.setValue(config::Ini::PopupLoadSection, config::Ini::VersionEntry, config::Ini::CurrentLoadVersion);
    return m_file.records();
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
