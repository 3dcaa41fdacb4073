#include "utilities/MapScanner.h"

#include "runtime/FixedText.h"
#include "runtime/TextLineFile.h"
#include "runtime/WinPath.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace kestrix::utilities {

namespace fs = std::filesystem;

std::vector<MapRow>& MapLists::of(MapList list)
{
    switch (list) {
    case MapList::Map:
        return map;
    case MapList::Standard:
        return standard;
    case MapList::Lib:
        return lib;
    case MapList::Files:
        break;
    }
    return files;
}

const std::vector<MapRow>& MapLists::of(MapList list) const
{
    return const_cast<MapLists&>(*this).of(list);
}

namespace {

// The source line is a fixed-length string: past its end it holds blanks, so
// "MAP " matches a line that is just "MAP".
bool startsPadded(const std::string& text, std::string_view prefix)
{
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = i < text.size() ? text[i] : ' ';
        if (c != prefix[i])
            return false;
    }
    return true;
}

bool startsWith(const std::string& text, std::string_view prefix)
{
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// The text between the first two quotes of `text`, empty when there are not two.
std::string quoted(const std::string& text)
{
    const std::size_t open = text.find('\'');
    if (open == std::string::npos)
        return {};
    const std::size_t close = text.find('\'', open + 1);
    if (close == std::string::npos)
        return {};
    return text.substr(open + 1, close - open - 1);
}

std::string loc(const std::string& text)
{
    return runtime::upper(text.substr(0, 3));
}

MapRow fileRow(const std::string& file, const std::string& description)
{
    return {loc(description), file, description};
}

// Without the folders and from the first '.' on.
std::string baseName(const std::string& source)
{
    const std::string name = runtime::fileNamePart(source);
    return name.substr(0, name.find('.'));
}

bool isClaSource(const std::string& source)
{
    return runtime::findNoCase(source, ".CLA") != std::string::npos;
}

std::string readFailure(const std::string& source, const std::string& error)
{
    return "An error occured opening the import file:||Error: " + error + "|File: " + source;
}

} // namespace

std::string shortPrototype(const std::string& line)
{
    const std::size_t labelEnd = line.find_first_of(" \t");
    if (labelEnd == std::string::npos || labelEnd == 0)
        return line;
    const std::size_t word = line.find_first_not_of(" \t", labelEnd);
    if (word == std::string::npos)
        return line;
    constexpr std::string_view procedure = "PROCEDURE";
    if (runtime::upper(line.substr(word, procedure.size())) != procedure)
        return line;
    const std::size_t after = word + procedure.size();
    const std::string label = line.substr(0, labelEnd);
    if (after < line.size() && line[after] == '(')
        return label + line.substr(after);
    if (after >= line.size() || line[after] == ' ' || line[after] == '\t')
        return label;
    return line;
}

int moduleKind(const std::string& moduleName)
{
    const std::string name = runtime::upper(moduleName);
    if (name.find(".LIB") != std::string::npos || name.find('.') == std::string::npos)
        return 3;
    for (const char* mark : {"_SF", "_RU", "_RD", "000"}) {
        if (name.find(mark) != std::string::npos)
            return 2;
    }
    return name == "DETCORE" ? 2 : 1;
}

void MapScanner::startIncludeFile()
{
    m_includeFile = true;
    m_inMap = true;
    m_depth = 1;
    m_module.clear();
    m_kind = 1;
}

bool MapScanner::scanLine(const std::string& line, MapLists& lists)
{
    if (runtime::isBlank(line))
        return true;
    const std::string l(runtime::rtrim(runtime::ltrim(line)));
    const std::string u = runtime::upper(l);
    if (startsPadded(u, "CODE ") && (line.front() == ' ' || line.front() == '\t'))
        return false;
    if (startsWith(l, "*") || startsWith(u, "OMIT(") || startsWith(u, "COMPILE("))
        return true;
    if (startsWith(u, "INCLUDE")) {
        lists.files.push_back(fileRow(quoted(l), l));
        return true;
    }
    constexpr std::string_view marker = "!KTX INCLUDE";
    if (startsWith(u, marker)) {
        const std::string rest = l.substr(marker.size());
        const std::size_t bang = rest.find('!');
        const std::string description = bang == std::string::npos ? std::string() : rest.substr(bang + 1);
        lists.files.push_back(fileRow(quoted(rest), description));
        return true;
    }
    if (!m_inMap) {
        if (startsPadded(u, "MAP ")) {
            m_inMap = true;
            m_depth = 1;
        }
        return true;
    }
    if (startsWith(u, "!"))
        return true;
    bool ended = false;
    if (startsPadded(u, ". . ")) {
        --m_depth;
        ended = true;
    }
    if (startsPadded(u, "END ") || startsPadded(u, ". ")) {
        m_depth = std::max(0, m_depth - 1);
        ended = true;
    }
    if (ended) {
        if (m_depth <= 0) {
            m_depth = 0;
            m_inMap = false;
        }
        return true;
    }
    if (startsWith(u, "MODULE(")) {
        m_module = quoted(l);
        if (m_cla && m_module.find('.') == std::string::npos)
            m_module += ".CLA";
        m_kind = moduleKind(m_module);
        ++m_depth;
        return true;
    }
    if (m_includeFile && m_depth < 2)
        return true; // an include file counts only inside its MODULE( sections
    addPrototype(line, l, u, lists);
    return true;
}

void MapScanner::addPrototype(const std::string& line, const std::string& l, const std::string& u,
                              MapLists& lists)
{
    int kind = m_kind;
    if (startsWith(u, "RIDELETE:") || startsWith(u, "RIUPDATE:") || startsWith(u, "RISNAP:") ||
        startsPadded(u, "DCTINIT ") || startsPadded(u, "DCTKILL "))
        kind = 2;
    std::string proto = l;
    if (!m_cla && line.front() != ' ' && line.front() != '\t')
        proto = shortPrototype(l);
    MapRow row{loc(proto), m_module, proto};
    (kind == 3 ? lists.lib : kind == 2 ? lists.standard : lists.map).push_back(std::move(row));
}

std::vector<fs::path> moduleIncludeFiles(const fs::path& source)
{
    std::vector<fs::path> found;
    const std::string prefix = runtime::upper(baseName(source.filename().string()).substr(0, 5));
    const fs::path folder = source.has_parent_path() ? source.parent_path() : fs::path(".");
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = runtime::upper(it->path().filename().string());
        if (name.size() == prefix.size() + 3 + 4 && startsWith(name, prefix) &&
            name.compare(name.size() - 4, 4, ".INC") == 0 && it->is_regular_file(ec))
            found.push_back(it->path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

void sortMapRows(std::vector<MapRow>& rows)
{
    std::stable_sort(rows.begin(), rows.end(),
                     [](const MapRow& a, const MapRow& b) { return a.loc < b.loc; });
}

namespace {

void noteCutLines(const std::string& name, const runtime::TextLines& read, std::vector<std::string>& notes)
{
    for (const std::size_t number : read.cutLines)
        notes.push_back("Line " + std::to_string(number) + " of " + name + " is longer than " +
                        std::to_string(runtime::TextLineLength) + " characters: only its first " +
                        std::to_string(runtime::TextLineLength) + " were read.");
}

} // namespace

MapScan scanMapSource(const std::string& source)
{
    MapScan scan;
    const fs::path path = runtime::resolveWinPath(source);
    const runtime::TextLines read = runtime::readTextLines(path);
    if (read.error) {
        scan.failure = runtime::MessageRequest{readFailure(source, read.error.describe()), "OPEN FILE ERROR",
                                               runtime::MessageIcon::Exclamation};
        return scan;
    }
    noteCutLines(source, read, scan.notes);
    const bool cla = isClaSource(source);
    MapScanner scanner(cla);
    for (const std::string& line : read.lines) {
        if (!scanner.scanLine(line, scan.lists))
            break;
    }
    if (!cla) {
        for (const fs::path& include : moduleIncludeFiles(path)) {
            const runtime::TextLines module = runtime::readTextLines(include);
            if (module.error) {
                scan.notes.push_back(readFailure(include.filename().string(), module.error.describe()));
                continue;
            }
            noteCutLines(include.filename().string(), module, scan.notes);
            scanner.startIncludeFile();
            for (const std::string& line : module.lines) {
                if (!scanner.scanLine(line, scan.lists))
                    break;
            }
        }
    }
    if (!scan.lists.hasProcedures()) {
        scan.failure =
            runtime::MessageRequest{"No Map Found", "NO MAP FOUND", runtime::MessageIcon::Exclamation};
        return scan;
    }
    const std::string name = runtime::fileNamePart(source);
    const std::string base = baseName(source);
    scan.lists.files.push_back(fileRow(name, " PROGRAM"));
    for (const auto& [extension, description] : {std::pair{".CLW", " Program"},
                                                 {".EXP", " Exports File"},
                                                 {".MAP", " Link Map"},
                                                 {".LNK", " Linker Files"},
                                                 {".SHP", " Ship List"}})
        scan.lists.files.push_back(fileRow(base + extension, description));
    return scan;
}

namespace {

std::string column12(const std::string& text)
{
    std::string cut = text.substr(0, 12);
    cut.resize(12, ' ');
    return cut;
}

void addSection(std::vector<std::string>& out, const char* title, std::size_t dashes,
                std::vector<MapRow> rows, bool sortByName)
{
    out.emplace_back();
    out.emplace_back(title);
    out.emplace_back(dashes, '-');
    if (sortByName)
        std::stable_sort(rows.begin(), rows.end(), [](const MapRow& a, const MapRow& b) {
            return runtime::upper(a.proto) < runtime::upper(b.proto);
        });
    for (const MapRow& row : rows)
        out.push_back(column12(row.module) + "  " + row.proto);
}

} // namespace

std::vector<std::string> mapExportLines(const std::string& source, const MapLists& lists)
{
    std::vector<std::string> out;
    out.push_back("Map Info for: " + runtime::upper(source));
    out.emplace_back(70, '-');
    out.emplace_back();
    out.emplace_back("Files Included:");
    out.emplace_back("---------------");
    for (const MapRow& row : lists.files)
        out.push_back(column12(row.module) + "  " + row.proto);
    addSection(out, "Map Procedures Sorted By Name:", 30, lists.map, true);
    addSection(out, "LIB Procedures Imported:", 24, lists.lib, true);
    addSection(out, "Standard and RI Procedures Sorted By Name:", 42, lists.standard, true);
    for (std::string& line : out)
        line = runtime::clip(line);
    return out;
}

std::vector<runtime::MenuItem> mapRowMenu(MapList list, const MapRow& row, const std::string& source)
{
    const std::string update = "Update Map of " + runtime::fileNamePart(source);
    switch (list) {
    case MapList::Lib:
        return {{MapMenu::Copy, "Copy Prototype to Clipboard (Double-Click)"}, {MapMenu::Update, update}};
    case MapList::Files:
        return {{MapMenu::Copy, "Copy Description to Clipboard"},
                {MapMenu::LoadEditor, "Load Editor with " + row.module},
                {MapMenu::Update, update}};
    case MapList::Map:
    case MapList::Standard:
        break;
    }
    return {{MapMenu::Copy, "Copy Prototype to Clipboard (Double-Click)"},
            {MapMenu::LoadEditor, "Load Editor with Module " + row.module},
            {MapMenu::Update, update}};
}

std::string editorTarget(const MapRow& row, const std::string& source)
{
    const std::string name = runtime::fileNamePart(source);
    return source.substr(0, source.size() - name.size()) + std::string(runtime::trim(row.module));
}

std::string mapExportName(const std::string& source)
{
    const std::string name = runtime::fileNamePart(source);
    const std::string folder = source.substr(0, source.size() - name.size());
    return folder + name.substr(0, name.find('.')) + ".KTX";
}

MapExport exportMap(const std::string& source, const MapLists& lists)
{
    MapExport result;
    result.fileName = mapExportName(source);
    std::string text;
    for (const std::string& line : mapExportLines(source, lists))
        text += line + "\r\n";
    const fs::path target = runtime::resolveWinPath(result.fileName);
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    if (out)
        out << text;
    if (out)
        out.close();
    if (!out) {
        std::error_code ec(errno, std::generic_category());
        const std::string error =
            ec ? ec.message() + " (" + std::to_string(ec.value()) + ")" : "Write failed";
        result.message = {"An error occured creating export file:||Error: " + error +
                              "|File: " + result.fileName,
                          "CREATE FILE ERROR", runtime::MessageIcon::Exclamation};
        return result;
    }
    result.written = true;
    result.message = {"Map exported to text file||" + result.fileName, "Map Export",
                      runtime::MessageIcon::Asterisk};
    return result;
}

} // namespace kestrix::utilities
