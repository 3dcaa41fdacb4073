#include "organizers/TemplateList.h"

#include "runtime/AtomicFile.h"
#include "runtime/FixedText.h"
#include "runtime/TextLineFile.h"
#include "runtime/WinPath.h"

#include <algorithm>
#include <ostream>
#include <tuple>

namespace kestrix::organizers {

namespace {

bool before(const TemplateEntry& a, const TemplateEntry& b)
{
    return std::tie(a.path, a.file) < std::tie(b.path, b.file);
}

std::string cleanDirectory(const std::string& directory)
{
    return runtime::upper(runtime::withoutTrailingBackslashes(runtime::trim(directory)));
}

std::string cleanFile(const std::string& file)
{
    return runtime::upper(runtime::trim(file));
}

} // namespace

void PrintTo(const TemplateEntry& entry, std::ostream* out)
{
    *out << '[' << entry.load << "] " << entry.path << '\\' << entry.file;
}

std::optional<std::size_t> TemplateList::add(const std::string& directory, const std::string& file,
                                             const std::string& load)
{
    TemplateEntry entry{load, cleanFile(file), cleanDirectory(directory)};
    const auto at = std::lower_bound(m_entries.begin(), m_entries.end(), entry, before);
    if (at != m_entries.end() && at->path == entry.path && at->file == entry.file)
        return std::nullopt;
    const auto index = static_cast<std::size_t>(at - m_entries.begin());
    m_entries.insert(at, std::move(entry));
    return index;
}

std::optional<std::size_t> TemplateList::addPath(const std::string& fullPath, const std::string& load)
{
    const std::size_t slash = fullPath.rfind('\\');
    if (slash == std::string::npos)
        return add({}, fullPath, load);
    return add(fullPath.substr(0, slash), fullPath.substr(slash + 1), load);
}

void TemplateList::remove(std::size_t index)
{
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index));
}

void TemplateList::toggleLoad(std::size_t index)
{
    TemplateEntry& e = m_entries[index];
    e.load = e.marked() ? TemplateLoad::Register : TemplateLoad::No;
}

std::optional<std::size_t> TemplateList::find(const std::string& directory, const std::string& file) const
{
    const TemplateEntry wanted{{}, cleanFile(file), cleanDirectory(directory)};
    const auto at = std::lower_bound(m_entries.begin(), m_entries.end(), wanted, before);
    if (at == m_entries.end() || at->path != wanted.path || at->file != wanted.file)
        return std::nullopt;
    return static_cast<std::size_t>(at - m_entries.begin());
}

std::vector<std::size_t> TemplateList::findFile(const std::string& file) const
{
    const std::string wanted = cleanFile(file);
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].file == wanted)
            found.push_back(i);
    }
    return found;
}

TemplateListRead readTemplateList(const std::filesystem::path& file)
{
    TemplateListRead read;
    runtime::TextLines text = runtime::readTextLines(file, TemplateListLineLength);
    if (text.error) {
        if (text.error.code != runtime::ErrorCode::FileNotFound)
            read.error = text.error;
        return read;
    }
    read.longLines = text.cutLines;
    std::string directory;
    for (std::size_t i = 0; i < text.lines.size(); ++i) {
        if (std::binary_search(text.cutLines.begin(), text.cutLines.end(), i + 1))
            continue;
        std::string line(runtime::rtrim(text.lines[i]));
        std::string load = TemplateLoad::Register;
        if (line.starts_with("!!")) {
            load = TemplateLoad::No;
            line.erase(0, 2);
        } else if (line.empty() || line[0] == ' ' || line[0] == '\t' || line[0] == '!') {
            continue;
        } else if (line[0] == '>') {
            directory = line.substr(1);
            continue;
        }
        if (runtime::isBlank(line))
            continue; // a "!!" with nothing after it names no file
        if (line.find('\\') != std::string::npos)
            read.list.addPath(line, load);
        else
            read.list.add(directory, line, load);
    }
    return read;
}

std::vector<std::string> templateListLines(const TemplateList& list)
{
    std::vector<std::string> lines{"!KTX Template Registrar File", "!=Comments  !!=No Load", ""};
    for (const TemplateEntry& e : list.entries())
        lines.push_back((e.marked() ? "!!" : "") + e.fullPath());
    return lines;
}

runtime::FileError writeTemplateList(const TemplateList& list, const std::filesystem::path& file)
{
    std::string text;
    for (const std::string& line : templateListLines(list))
        text += line + "\r\n";
    return runtime::writeFileAtomically(file, text);
}

runtime::MessageRequest templateListWriteError(const runtime::FileError& error, const std::string& fileName)
{
    runtime::MessageRequest r;
    r.text = "An error occured while opening REGISTER.TPM file.||Error: " + error.describe() +
             "|File: " + fileName;
    r.caption = "FILE OPEN ERROR";
    r.icon = runtime::MessageIcon::Hand;
    return r;
}

std::optional<runtime::MessageRequest> templateListReadNote(const TemplateListRead& read,
                                                            const std::string& fileName)
{
    runtime::MessageRequest r;
    r.caption = "Template Registrar";
    r.icon = runtime::MessageIcon::Exclamation;
    if (read.error) {
        r.text = "The template list " + fileName + " could not be read: " + read.error.describe() +
                 "||The list is shown empty and cannot be saved over the file.";
        return r;
    }
    if (read.longLines.empty())
        return std::nullopt;
    r.text = fileName + ": lines longer than " + std::to_string(TemplateListLineLength) +
             " characters were not read (line";
    r.text += read.longLines.size() > 1 ? "s" : "";
    for (std::size_t i = 0; i < read.longLines.size(); ++i)
        r.text += (i ? ", " : " ") + std::to_string(read.longLines[i]);
    r.text += ").";
    return r;
}

} // namespace kestrix::organizers
