#include "organizers/HelpScan.h"

#include "data/StandardWarning.h"
#include "organizers/HelpList.h"
#include "runtime/FixedText.h"
#include "runtime/TextCodec.h"
#include "runtime/TextLineFile.h"
#include "runtime/WinPath.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace kestrix::organizers {

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && runtime::sameTextNoCase(text.substr(0, prefix.size()), prefix);
}

bool contains(const std::string& upperText, const char* part)
{
    return upperText.find(part) != std::string::npos;
}

char typeOfFile(const std::string& file)
{
    const std::string u = runtime::upper(file);
    if (contains(u, ".HLP"))
        return 'H';
    if (contains(u, ".CL") || contains(u, ".INC"))
        return 'S';
    if (contains(u, ".TP"))
        return 'T';
    return 'X';
}

bool canOpen(const std::string& winPath)
{
    std::error_code ec;
    const fs::path path = runtime::resolveWinPath(winPath);
    if (fs::is_directory(path, ec))
        return false;
    std::ifstream in(path, std::ios::binary);
    return in.good();
}

} // namespace

runtime::MessageRequest clearQuestion()
{
    runtime::MessageRequest r;
    r.text = "Would you like to clear out the current file list?";
    r.caption = "Scan For Files";
    r.icon = runtime::MessageIcon::Question;
    r.buttonTexts = {"&No", "&HLP Files", "&All Files", "Cancel"};
    r.defaultButton = 1;
    return r;
}

std::optional<ClearChoice> clearChoiceFor(unsigned answer)
{
    switch (answer) {
    case 1:
        return ClearChoice::None;
    case 2:
        return ClearChoice::HelpFiles;
    case 3:
        return ClearChoice::AllFiles;
    default:
        return std::nullopt;
    }
}

runtime::MessageRequest examplesQuestion(const std::string& directory)
{
    runtime::MessageRequest r;
    r.text = "Load Help Files from Examples into list?||Directory: " + directory + "\\";
    r.caption = "EXAMPLE FILES";
    r.icon = runtime::MessageIcon::Question;
    r.buttons = runtime::Button::Yes | runtime::Button::No;
    r.defaultButton = runtime::Button::No;
    return r;
}

HelpListText parseHelpListText(const std::vector<std::string>& lines,
                               const std::vector<std::size_t>& cutLines, const std::string& clarionRoot)
{
    HelpListText out;
    const std::string root = runtime::withoutTrailingBackslashes(runtime::rtrim(clarionRoot));
    std::string path = root + "\\BIN";
    char tab = ' ';
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (std::find(cutLines.begin(), cutLines.end(), i + 1) != cutLines.end()) {
            out.longLines.push_back(i + 1);
            continue;
        }
        if (runtime::isBlank(line) || line[0] == '!')
            continue;
        if (startsWithNoCase(line, "PATH=")) {
            std::string value(runtime::trim(std::string_view(line).substr(5)));
            if (startsWithNoCase(value, "%CW%"))
                value = root + value.substr(4);
            path = runtime::withoutTrailingBackslashes(value);
            continue;
        }
        if (startsWithNoCase(line, "TAB=")) {
            tab = line.size() > 4 ? runtime::upperChar(line[4]) : ' ';
            continue;
        }
        // FILE in columns 1 to 19, NAME from column 20; a file name longer than
        // that runs to its first blank and the name follows it.
        HelpListLine entry;
        const std::size_t blank = line.find(' ');
        if (blank == std::string::npos || blank > 19) {
            entry.file = line.substr(0, blank);
            entry.name = blank == std::string::npos ? "" : std::string(runtime::trim(line.substr(blank)));
        } else {
            entry.file = std::string(runtime::trim(line.substr(0, 19)));
            entry.name = line.size() > 19 ? std::string(runtime::trim(line.substr(19))) : "";
        }
        if (entry.file.empty())
            continue;
        entry.path = path;
        entry.rememberOnly = !entry.name.empty() && entry.name[0] == '~';
        entry.type = isHelpType(tab) ? tab : typeOfFile(entry.file);
        out.entries.push_back(std::move(entry));
    }
    return out;
}

bool KnownPaths::add(const std::string& path, const std::string& file)
{
    return m_paths.insert(runtime::upper(helpFullPath(path, file))).second;
}

void KnownPaths::remove(const std::string& path, const std::string& file)
{
    m_paths.erase(runtime::upper(helpFullPath(path, file)));
}

bool KnownPaths::contains(const std::string& path, const std::string& file) const
{
    return m_paths.count(runtime::upper(helpFullPath(path, file))) != 0;
}

runtime::MessageRequest scanReport(const HelpScanResult& result)
{
    runtime::MessageRequest r;
    r.text = std::to_string(result.added) + " files found and added to list." + "||" +
             std::to_string(result.skippedDirectories) + " Bak/Sav/Old/$$$/Backup Directories were omited.";
    if (result.unreadableDirectories > 0)
        r.text += "||" + std::to_string(result.unreadableDirectories) +
                  " directories could not be read and were skipped.";
    if (!result.longLines.empty()) {
        r.text += "||" + std::string(HelpListTextName) + ": lines longer than " +
                  std::to_string(runtime::TextLineLength) + " characters were not read (line";
        r.text += result.longLines.size() > 1 ? "s" : "";
        for (std::size_t i = 0; i < result.longLines.size(); ++i)
            r.text += (i ? ", " : " ") + std::to_string(result.longLines[i]);
        r.text += ").";
    }
    r.caption = "SCAN FOR FILES";
    r.icon = runtime::MessageIcon::Asterisk;
    return r;
}

HelpScanner::HelpScanner(runtime::KeyedFile& file, std::string clarionRoot, runtime::DialogService& dialogs)
    : m_file(file), m_root(runtime::withoutTrailingBackslashes(runtime::rtrim(clarionRoot))),
      m_dialogs(dialogs)
{
}

void HelpScanner::status(const std::string& text) const
{
    if (m_status)
        m_status(text);
}

bool HelpScanner::addRecord(char type, const std::string& name, const std::string& file,
                            const std::string& path)
{
    runtime::Record r = m_file.newRecord();
    r.setText(Hlp::Type, std::string(1, type));
    r.setText(Hlp::Name, name);
    r.setText(Hlp::File, file);
    r.setText(Hlp::Path, path);
    return write(r, true);
}

bool HelpScanner::deleteRecord(runtime::Record& record)
{
    return write(record, false);
}

bool HelpScanner::write(runtime::Record& record, bool adding)
{
    if (!m_file.inTransaction()) {
        if (const runtime::FileError error = m_file.beginTransaction(std::chrono::milliseconds(2000))) {
            data::showStandardWarning(m_dialogs, data::Warn::LogoutError,
                                      {adding ? "Update" : "Delete", m_file.name()}, error);
            return false;
        }
    }
    const runtime::FileError error = adding ? m_file.add(record) : m_file.remove(record);
    if (!error.ok()) {
        // What the batch wrote before stays; the failed write is what the user hears of.
        commitBatch();
        if (adding)
            data::showStandardWarning(m_dialogs, data::Warn::InsertError, {}, error);
        else
            data::showStandardWarning(m_dialogs, data::Warn::RIDeleteError, {m_file.name()}, error);
        return false;
    }
    return ++m_batched < HelpScanBatch || commitBatch();
}

bool HelpScanner::commitBatch()
{
    m_batched = 0;
    if (!m_file.inTransaction())
        return true;
    const runtime::FileError error = m_file.commit();
    if (error.ok())
        return true;
    (void)m_file.rollback();
    data::showStandardWarning(m_dialogs, data::Warn::InsertError, {}, error);
    return false;
}

bool HelpScanner::clearList(ClearChoice clear)
{
    if (clear == ClearChoice::None)
        return true;
    for (runtime::Record& r : m_file.readAll(runtime::KeyedFile::FileOrder)) {
        if (cancelled())
            return false;
        if (clear == ClearChoice::HelpFiles && !contains(runtime::upper(r.text(Hlp::Name)), ".HLP"))
            continue;
        status("Delete: " + r.text(Hlp::Name));
        if (!deleteRecord(r))
            return false;
    }
    return true;
}

bool HelpScanner::loadListText(HelpScanResult& result)
{
    const runtime::TextLines text = runtime::readTextLines(m_listFile);
    if (text.error) {
        m_dialogs.message({.text = "Unable to open " + runtime::toWinPath(m_listFile),
                           .caption = "FILE OPEN ERROR",
                           .icon = runtime::MessageIcon::Exclamation});
        return true;
    }
    result.listOpened = true;
    const HelpListText list = parseHelpListText(text.lines, text.cutLines, m_root);
    result.longLines = list.longLines;
    for (const HelpListLine& e : list.entries) {
        if (cancelled())
            return false;
        if (!m_known.add(e.path, e.file) || e.rememberOnly)
            continue;
        if (!addRecord(e.type, e.name, e.file, e.path))
            return false;
        ++result.added;
    }
    return checkPass(result);
}

bool HelpScanner::checkPass(HelpScanResult& result)
{
    for (runtime::Record& r : m_file.readAll(runtime::KeyedFile::FileOrder)) {
        if (cancelled())
            return false;
        const std::string full = helpFullPath(r.text(Hlp::Path), r.text(Hlp::File));
        status("Check: " + full);
        if (canOpen(full))
            continue;
        if (!deleteRecord(r))
            return false;
        m_known.remove(r.text(Hlp::Path), r.text(Hlp::File));
        --result.added;
    }
    return true;
}

bool HelpScanner::walk(HelpScanResult& result)
{
    InstallationVisitor visitor;
    visitor.cancelled = [this] { return cancelled(); };
    visitor.enter = [this](const std::string& path, const std::string& upperName) {
        if (upperName != "EXAMPLES")
            return true;
        return m_examples ? m_examples(path)
                          : m_dialogs.message(examplesQuestion(path)) == runtime::Button::Yes;
    };
    visitor.file = [&](const std::string& directory, const DirectoryEntry& file,
                       const std::string& upperName) {
        if (!contains(upperName, ".HLP") || !m_known.add(directory, file.name))
            return true;
        status(directory + "\\" + file.name);
        if (!addRecord('H', file.name, file.name, directory))
            return false;
        ++result.added;
        return true;
    };
    WalkCounts counts;
    const bool walked = walkInstallation(m_root, visitor, counts, m_lister, HelpScanLevels);
    result.levels = counts.levels;
    result.skippedDirectories += counts.skippedDirectories;
    result.unreadableDirectories += counts.unreadableDirectories;
    return walked;
}

HelpScanResult HelpScanner::run(ClearChoice clear)
{
    HelpScanResult result;
    m_batched = 0;
    bool done = clearList(clear) && commitBatch();
    if (done) {
        m_known = KnownPaths();
        for (const runtime::Record& r : m_file.readAll(runtime::KeyedFile::FileOrder))
            m_known.add(r.text(Hlp::Path), r.text(Hlp::File));
        done = loadListText(result) && walk(result);
    }
    // What was found stays, also when the scan stops early.
    const bool committed = commitBatch();
    result.completed = done && committed;
    return result;
}

} // namespace kestrix::organizers
