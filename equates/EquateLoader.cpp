#include "equates/EquateLoader.h"

#include "config/Settings.h"
#include "data/FileErrorMessage.h"
#include "equates/EquateLineParser.h"
#include "equates/EquateRecord.h"
#include "runtime/CrashPoint.h"
#include "runtime/FixedText.h"
#include "runtime/LocalTime.h"
#include "runtime/TextLineFile.h"
#include "runtime/WinPath.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>

namespace kestrix::equates {

using runtime::Record;

namespace {

constexpr const char* LogFile = "EQULoad.LOG";
constexpr int DuplicateLimit = 200;

std::string columns(const std::string& line, std::size_t first, std::size_t last)
{
    if (line.size() < first)
        return {};
    return std::string(runtime::trim(line.substr(first - 1, last - first + 1)));
}

// CLOCK(): hundredths of a second since midnight.
std::string clockReading()
{
    const auto now = std::chrono::system_clock::now();
    const std::tm local = runtime::localTime(now);
    const auto centis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000 / 10;
    return std::to_string(((local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec) * 100 + centis + 1);
}

// Tabs stand where the sources put blanks between label, keyword and value.
void detab(std::string& line)
{
    std::replace(line.begin(), line.end(), '\t', ' ');
}

std::string detabbed(std::string line)
{
    detab(line);
    return line;
}

bool isSection(const std::string& line)
{
    return !line.empty() && line[0] == '[';
}

bool ignored(const std::string& line)
{
    return line.empty() || line[0] == '!' || line[0] == ' ';
}

// Whether the line's first word after its label is ITEMIZE, in any case. Asked of every source
// line, so it looks in place rather than copying the line.
bool opensItemize(std::string_view line, std::size_t firstBlank)
{
    if (firstBlank == std::string_view::npos)
        return false;
    return runtime::startsWithNoCase(runtime::ltrim(line.substr(firstBlank)), "ITEMIZE");
}

// Calls `onLine` for each line of `section` ("[USER]") of a list file, after its TYPE= lines
// have set `type`; stops when `onLine` returns false.
template <class OnLine, class OnType>
void forEachSectionLine(const std::vector<std::string>& lines, const char* section, OnType onType,
                        OnLine onLine)
{
    std::string current;
    for (const std::string& raw : lines) {
        const std::string line = detabbed(raw);
        if (ignored(line))
            continue;
        if (isSection(line)) {
            current = runtime::upper(runtime::trim(line));
            continue;
        }
        if (current != section)
            continue;
        if (runtime::sameTextNoCase(line.substr(0, 5), "TYPE=")) {
            onType(columns(line, 6, 17));
            continue;
        }
        if (!onLine(line, raw))
            break;
    }
}

} // namespace

std::vector<ListEntry> readListEntries(const std::vector<std::string>& lines, const std::string& clarionRoot)
{
    std::vector<ListEntry> entries;
    const std::string root = runtime::withoutTrailingBackslashes(runtime::trim(clarionRoot));
    std::string folder = root + "\\LIBSRC\\";
    std::string section;
    for (const std::string& raw : lines) {
        const std::string line = detabbed(raw);
        if (ignored(line))
            continue;
        if (isSection(line)) {
            section = runtime::upper(runtime::trim(line));
            continue;
        }
        if (section != "[FILES]")
            continue;
        if (runtime::sameTextNoCase(line.substr(0, 5), "PATH=")) {
            folder = runtime::upper(runtime::trim(line.substr(5)));
            if (folder.rfind("%CW%", 0) == 0)
                folder = root + folder.substr(4);
            if (folder.empty() || folder.back() != '\\')
                folder += '\\';
            continue;
        }
        ListEntry entry;
        entry.folder = folder;
        entry.file = columns(line, 1, 12);
        entry.type = columns(line, 15, 26);
        entry.forceType = line.size() >= 30 && line[29] >= '1' && line[29] <= '9';
        if (!entry.file.empty())
            entries.push_back(entry);
    }
    return entries;
}

struct EquateLoader::Load
{
    EquateLoader& owner;
    runtime::KeyedFile& file;
    runtime::IniFile log{runtime::resolveWinPath(LogFile)};
    std::vector<std::pair<std::string, std::string>> logged; // entries of the list being loaded
    std::vector<std::string> types;
    std::int64_t loadSeq = 1;
    bool eventTypesAdded = false;
    bool aborted = false;
    // The keys go before the first list's sources and are built once, before that list's
    // [DUPS] look names up; later lists add to built keys, which costs their own rows only.
    bool keysDropped = false;

    void show(const std::string& text)
    {
        if (owner.m_progress)
            owner.m_progress(text);
        if (owner.m_cancelled && owner.m_cancelled())
            aborted = true;
    }
    void logEntry(const std::string& key, const std::string& value) { logged.emplace_back(key, value); }
    // The log is written once per list file: a write per entry would cost more than the load.
    void writeLog(const std::string& section)
    {
        log.setValues(section, logged);
        logged.clear();
    }
    // A failed write of the equates file ends the load; false then.
    bool check(const runtime::FileError& error)
    {
        if (error.ok())
            return true;
        if (!aborted) {
            owner.m_dialogs.message(data::fileErrorMessage(
                "FILE ERROR", "An error occured while writing the Equates File", file.name() + " ", error,
                runtime::Button::Ok, runtime::MessageIcon::Asterisk));
        }
        aborted = true;
        return false;
    }
    std::size_t lastType = 0; // in `types`, the one the last line registered
    void registerType(const std::string& type)
    {
        // The lines of one type come together: most lines have the type of the line before.
        if (lastType < types.size() && types[lastType] == type)
            return;
        for (std::size_t i = 0; i < types.size(); ++i) {
            if (types[i] == type) {
                lastType = i;
                return;
            }
        }
        lastType = types.size();
        types.push_back(type);
    }
    // Adds the record; on failure asks whether to go on. False when the user aborted.
    bool add(Record& r, const std::string& sourceLine)
    {
        if (const runtime::FileError error = file.add(r)) {
            runtime::MessageRequest m = data::fileErrorMessage(
                "FILE ADD ERROR", "An error occured while adding a record to Equates", file.name() + " ",
                error, runtime::Button::Ok | runtime::Button::Abort, runtime::MessageIcon::Asterisk);
            m.text += "||The below Record will not be added:|     Label: " + r.text(Equ::Name) +
                      " |     Value: " + r.text(Equ::Equate) + "||Input:" + runtime::clip(sourceLine);
            if (owner.m_dialogs.message(m) == runtime::Button::Abort) {
                aborted = true;
                return false;
            }
        }
        runtime::crashPoint(runtime::CrashPoint::EquateRecord);
        return true;
    }

    void eventCopies(Record r, const std::string& line);
    void loadSource(const ListEntry& entry);
    void loadUser(const std::vector<std::string>& lines);
    void loadDups(const std::vector<std::string>& lines);
    bool loadList(const std::string& listName);
    void abort();
};

void EquateLoader::Load::eventCopies(Record r, const std::string& line)
{
    if (!eventTypesAdded) {
        for (const char* t : {"Event Field", "Event DDE", "Event Window", "Event List"})
            registerType(t);
        eventTypesAdded = true;
    }
    const std::int64_t v = r.number(Equ::Long);
    const char* narrower = nullptr;
    if (v >= 1 && v <= 298)
        narrower = "Event Field";
    else if (v >= 524 && v <= 529)
        narrower = "Event DDE";
    else if (v >= 512 && v <= 767)
        narrower = "Event Window";
    if (narrower) {
        r.setText(Equ::Type, narrower);
        if (!add(r, line))
            return;
    }
    if ((v >= 2 && v <= 9) || (v >= 22 && v <= 25) || (v >= 27 && v <= 30)) {
        r.setText(Equ::Type, "Event List");
        add(r, line);
    }
}

void EquateLoader::Load::loadSource(const ListEntry& entry)
{
    const std::string path = entry.folder + entry.file;
    const runtime::TextLines source = runtime::readTextLines(runtime::resolveWinPath(path));
    if (source.error)
        return; // a source file that is not there is skipped without a word
    const std::string fileField = runtime::fitted(entry.file.substr(0, entry.file.find('.')), 8);
    ItemizeBlock block;
    if (!check(file.stream()))
        return;
    // One buffer each for the line, its parts and the record, kept from line to line.
    Record r = file.newRecord();
    ParsedEquate e;
    std::string line;
    for (const std::string& raw : source.lines) {
        line.assign(raw);
        detab(line);
        const std::size_t firstBlank = line.find(' ');
        if (opensItemize(line, firstBlank)) {
            std::string prefix(runtime::trim(line.substr(0, firstBlank)));
            std::string upperLine = runtime::upper(line);
            const std::size_t pre = upperLine.find("PRE(");
            if (pre != std::string::npos && upperLine.find("PRE()") != pre) {
                const std::size_t close = upperLine.find(')', pre);
                prefix = std::string(runtime::trim(
                    line.substr(pre + 4, close == std::string::npos ? std::string::npos : close - pre - 4)));
                line.erase(pre);
                upperLine.erase(pre);
            }
            block.counter = 1;
            const std::size_t keyword = upperLine.find("ITEMIZE");
            const std::size_t open = upperLine.find('(', keyword);
            if (open != std::string::npos) {
                const std::size_t close = upperLine.find(')', open);
                try {
                    block.counter = std::stoll(upperLine.substr(
                        open + 1, close == std::string::npos ? std::string::npos : close - open - 1));
                } catch (...) {
                    block.counter = 1;
                }
            }
            block.inside = !prefix.empty();
            block.prefix = prefix.empty() ? prefix : prefix + ":";
            continue;
        }
        if (block.inside) {
            if (!line.empty() && line[0] == ' ') {
                const std::string word = runtime::upper(runtime::trim(line));
                if (word == "." || word == "END" || word.rfind("END ", 0) == 0 ||
                    word.rfind("END!", 0) == 0) {
                    block.inside = false;
                    continue;
                }
            } else if (!line.empty() && line[0] != '!') {
                line.insert(0, block.prefix);
            }
        }
        if (ignored(line))
            continue;
        parseEquateLine(line, entry.type, entry.forceType, block, e);
        if (runtime::isBlank(e.name) || runtime::isBlank(e.equate))
            continue;
        r.clear();
        r.setText(Equ::Type, e.type);
        r.setText(Equ::SearchName, e.searchName);
        r.setText(Equ::Name, e.name);
        r.setText(Equ::Equate, e.equate);
        r.setNumber(Equ::Long, e.value);
        r.setText(Equ::Hex, e.hex);
        r.setText(Equ::File, fileField);
        r.setNumber(Equ::LoadSeq, loadSeq++);
        r.setText(Equ::Notes, e.notes);
        std::string type = r.text(Equ::Type);
        if (type.starts_with("Color") && !e.equate.empty() && e.equate[0] == '8') {
            r.setText(Equ::Type, "Color Win");
            type = r.text(Equ::Type);
            const std::string shortName = r.text(Equ::SearchName);
            if (!shortName.empty())
                r.setText(Equ::SearchName, shortName.substr(0, 1) + runtime::lower(shortName.substr(1)));
        }
        registerType(type);
        if (!add(r, raw)) // the record's fields stay as they were set
            break;
        if (type.starts_with("Event")) {
            eventCopies(r, raw);
            if (aborted)
                break;
        }
    }
    if (aborted)
        return;
    check(file.flush());
}

void EquateLoader::Load::loadUser(const std::vector<std::string>& lines)
{
    std::string type = "User Unk";
    std::int64_t userSeq = 1;
    if (!check(file.stream()))
        return;
    forEachSectionLine(
        lines, "[USER]",
        [&](const std::string& named) {
            type = named;
            registerType(type);
        },
        [&](const std::string& line, const std::string& raw) {
            Record r = file.newRecord();
            r.setText(Equ::Type, type);
            r.setText(Equ::Equate, columns(line, 1, 19));
            r.setText(Equ::Name, columns(line, 20, 49));
            const std::string shortName = columns(line, 50, 79);
            r.setText(Equ::SearchName, shortName.empty() ? r.text(Equ::Name) : shortName);
            r.setNumber(Equ::Long, std::atoll(columns(line, 80, 89).c_str()));
            r.setText(Equ::Hex, columns(line, 90, 99));
            r.setText(Equ::File, columns(line, 100, 111).substr(0, 8));
            r.setText(Equ::Notes, columns(line, 120, 159));
            r.setNumber(Equ::LoadSeq, ++userSeq);
            registerType(type);
            return add(r, raw);
        });
    if (!aborted)
        check(file.flush());
}

void EquateLoader::Load::loadDups(const std::vector<std::string>& lines)
{
    std::string type = "Dups Unk";
    if (!check(file.stream()))
        return;
    forEachSectionLine(
        lines, "[DUPS]",
        [&](const std::string& named) {
            type = named;
            registerType(type);
        },
        [&](const std::string& line, const std::string& raw) {
            if (line[0] == '*') {
                const std::string prefix(runtime::rtrim(line.substr(1)));
                const std::string upperPrefix = runtime::upper(prefix);
                // The matches are collected first, so the walk never meets its own copies.
                std::vector<Record> matches;
                Record start = file.newRecord();
                start.setText(Equ::Name, prefix);
                file.setFrom(Equ::ByName, start);
                Record r = file.newRecord();
                bool runaway = false;
                while (file.next(r).ok() && runtime::startsWithNoCase(r.text(Equ::Name), upperPrefix)) {
                    if (matches.size() >= DuplicateLimit) {
                        runaway = true;
                        break;
                    }
                    matches.push_back(r);
                }
                for (Record& copy : matches) {
                    copy.setText(Equ::Type, type);
                    const std::string shortName = copy.text(Equ::SearchName);
                    if (runtime::startsWithNoCase(shortName, upperPrefix))
                        copy.setText(Equ::SearchName, shortName.substr(prefix.size()));
                    registerType(type);
                    if (!add(copy, raw))
                        break;
                }
                if (runaway) {
                    owner.m_dialogs.message({"load dups did not stop|" + line, "LOAD DUPS",
                                             runtime::MessageIcon::Exclamation, runtime::Button::Ok,
                                             runtime::Button::Ok});
                }
            } else {
                Record r = file.newRecord();
                r.setText(Equ::Name, columns(line, 1, 30));
                if (file.get(Equ::ByName, r).ok()) {
                    r.setText(Equ::Type, type);
                    registerType(type);
                    add(r, raw);
                }
            }
            return !aborted;
        });
    if (!aborted)
        check(file.flush());
}

bool EquateLoader::Load::loadList(const std::string& listName)
{
    const runtime::TextLines list = runtime::readTextLines(runtime::resolveWinPath(listName));
    if (list.error) {
        owner.m_dialogs.message(data::fileErrorMessage(
            "FILE OPEN ERROR", "An error occured while opening a file used to build the equates list",
            listName + " ", list.error, runtime::Button::Ok, runtime::MessageIcon::Asterisk));
        return true;
    }
    logEntry("Begin", clockReading());
    logEntry("BeginName", listName);
    logEntry("BeginBytes", std::to_string(list.bytes));
    const std::vector<ListEntry> entries = readListEntries(list.lines, owner.m_root);
    logEntry("Loaded", clockReading());
    int ordinal = 0;
    for (const ListEntry& entry : entries) {
        logEntry(std::to_string(++ordinal), entry.file);
        show(runtime::toWinPath(runtime::resolveWinPath(entry.folder + entry.file)));
        loadSource(entry);
        if (aborted) {
            writeLog(listName);
            return false;
        }
    }
    logEntry("LoadUserBegin", clockReading());
    loadUser(list.lines);
    if (aborted) {
        writeLog(listName);
        return false;
    }
    logEntry("Build", clockReading());
    show("Building Equate File Index");
    if (const runtime::FileError error = keysDropped ? file.rebuildKeys() : runtime::FileError::none()) {
        owner.m_dialogs.message(data::fileErrorMessage(
            "FILE ERROR", "An error occured while building the keys of the Equates File", file.name() + " ",
            error, runtime::Button::Ok, runtime::MessageIcon::Asterisk));
        writeLog(listName);
        return false;
    }
    keysDropped = false;
    logEntry("LoadUserDups", clockReading());
    show("Load User Dups");
    loadDups(list.lines);
    logEntry("Build2", clockReading());
    show("Build Index");
    writeLog(listName);
    return !aborted;
}

void EquateLoader::Load::abort()
{
    const std::filesystem::path path = file.path();
    file.close();
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm"})
        std::filesystem::remove(path.string() + suffix, ec);
    owner.m_dialogs.playSound(runtime::SystemSound::Hand);
    owner.m_dialogs.message(
        {"The load of the equates was aborted.|The equates file has not been created.||Help "
         "(Settings, Load Equates) explains how to load them again.",
         "LOAD ABORTED", runtime::MessageIcon::Hand, runtime::Button::Ok, runtime::Button::Ok});
}

EquateLoader::EquateLoader(runtime::KeyedFile& equates, std::string clarionRoot,
                           runtime::DialogService& dialogs)
    : m_file(equates), m_root(std::move(clarionRoot)), m_dialogs(dialogs)
{
}

const std::vector<std::string>& EquateLoader::listFiles()
{
    static const std::vector<std::string> files = {"EQU-LOA5.TXT", "EQU-USE5.TXT", "EQU-ABC5.TXT"};
    return files;
}

const char* const EquateLoadBusyText =
    "Another program is loading the equates. This load waits until it has finished.";

bool equateLoadUnfinished(const runtime::IniFile& programIni)
{
    return loadUnfinished(programIni, config::Ini::EquateLoadSection);
}

bool offerUnfinishedEquateLoad(const runtime::IniFile& programIni, runtime::DialogService& dialogs)
{
    if (!equateLoadUnfinished(programIni))
        return false;
    return dialogs.message(
               {"The equates file is incomplete: its last load did not finish.||Load the equates now?",
                "EQUATES INCOMPLETE", runtime::MessageIcon::Question,
                runtime::Button::Yes | runtime::Button::No, runtime::Button::Yes}) == runtime::Button::Yes;
}

EquateLoadResult EquateLoader::run(const runtime::IniFile& programIni)
{
    const auto started = std::chrono::steady_clock::now();
    EquateLoadResult result;
    // Two loads at once would mix their rows in one file: the second waits or is refused.
    const runtime::FileLock lock =
        takeLoadLock(config::Ini::EquateLoadSection, m_whenBusy, m_progress, EquateLoadBusyText);
    if (!lock) {
        result.busy = true;
        return result;
    }
    Load load{*this, m_file};
    std::error_code ec;
    std::filesystem::remove(runtime::resolveWinPath(LogFile), ec);

    // Until this load completes, the next start and every reader must not take the file for a complete one.
    if (!programIni.setValue(config::Ini::EquateLoadSection, config::Ini::VersionEntry, "")) {
        m_dialogs.message(
            {"The load of the equates cannot begin: " + runtime::toWinPath(programIni.path()) +
                 " cannot be written, so an unfinished load could not be told from a complete one.",
             "FILE ERROR", runtime::MessageIcon::Asterisk, runtime::Button::Ok, runtime::Button::Ok});
        return result;
    }
    load.show("Creating Equate File");
    m_file.close();
    runtime::FileError error = m_file.create();
    if (error.ok())
        error = m_file.open();
    if (error) {
        m_dialogs.message(data::fileErrorMessage(
            "FILE ERROR", "An error occured while Creating/Opening the Equates File", m_file.name() + " ",
            error, runtime::Button::Ok, runtime::MessageIcon::Asterisk));
        return result;
    }
    // Keys are built after the first list's sources rather than kept up to date record by record.
    if (!load.check(m_file.dropKeys())) {
        load.abort();
        return result;
    }
    load.keysDropped = true;
    for (const std::string& list : listFiles()) {
        if (!load.loadList(list)) {
            load.abort();
            return result;
        }
    }
    bool written = !load.keysDropped || load.check(m_file.rebuildKeys()); // no list file could be read
    if (written)
        written = load.check(m_file.stream());
    for (const std::string& type : load.types) {
        if (!written)
            break;
        runtime::Record marker = m_file.newRecord();
        marker.setText(Equ::Type, "Z-Type");
        marker.setText(Equ::Name, type);
        marker.setText(Equ::SearchName, type);
        written = load.check(m_file.add(marker));
    }
    if (written)
        written = load.check(m_file.flush());
    if (!written) {
        if (m_file.inTransaction())
            (void)m_file.rollback();
        load.abort();
        return result;
    }
    if (!programIni.setValue(config::Ini::EquateLoadSection, config::Ini::VersionEntry,
                             config::Ini::CurrentLoadVersion)) {
        m_dialogs.message({"The equates were loaded, but " + runtime::toWinPath(programIni.path()) +
                               " cannot be written: the load will be offered again at the next start.",
                           "FILE ERROR", runtime::MessageIcon::Asterisk, runtime::Button::Ok,
                           runtime::Button::Ok});
    }
    result.completed = true;
    result.records = m_file.records();
    result.types = load.types.size();
    result.milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started)
            .count();
    return result;
}

} // namespace kestrix::equates
