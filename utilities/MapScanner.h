#pragma once

#include "runtime/DialogService.h"
#include "runtime/MenuItem.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The procedures a Clarion program declares in its MAP, read from its source as
// plain text: the program's own, the standard and referential-integrity ones,
// those imported from libraries, and the files involved.
namespace kestrix::utilities {

struct MapRow final
{
    std::string loc;    // sort key: the first three characters of the prototype, upper-cased
    std::string module; // the module that holds the procedure, or the file on the Files list
    std::string proto;  // the prototype as shown, or the file's description
    bool operator==(const MapRow&) const = default;
};

enum class MapList { Map, Standard, Lib, Files };
constexpr std::size_t MapListCount = 4;

struct MapLists final
{
    std::vector<MapRow> map;
    std::vector<MapRow> standard;
    std::vector<MapRow> lib;
    std::vector<MapRow> files;

    std::vector<MapRow>& of(MapList list);
    const std::vector<MapRow>& of(MapList list) const;
    bool hasProcedures() const { return !map.empty() || !standard.empty() || !lib.empty(); }
};

struct MapScan final
{
    MapLists lists;
    // Set when the viewer must close after showing it: the open error, or "No Map Found".
    std::optional<runtime::MessageRequest> failure;
    // Lines longer than a source line can be, read in part: one sentence each.
    std::vector<std::string> notes;
};

// Scans `source` (a path as the user chose it) and, for a source other than ".CLA", the
// per-module include files beside it. The rows come in the order they were found.
MapScan scanMapSource(const std::string& source);

// The scan of text already read, one call per file; for the tests and the benchmark.
class MapScanner final
{
public:
    explicit MapScanner(bool claSource) : m_cla(claSource) {}
    // Returns false when a CODE statement ended the scan.
    bool scanLine(const std::string& line, MapLists& lists);
    // Include files are read for their MODULE( sections only, as if inside the MAP.
    void startIncludeFile();

private:
    void addPrototype(const std::string& line, const std::string& l, const std::string& u, MapLists& lists);

    bool m_cla;
    bool m_inMap = false;
    bool m_includeFile = false;
    int m_depth = 0;
    std::string m_module;
    int m_kind = 1;
};

// "Name PROCEDURE(params)rest" -> "Name(params)rest"; "Name PROCEDURE" -> "Name".
std::string shortPrototype(const std::string& line);
// 3 library, 2 standard/RI, 1 program.
int moduleKind(const std::string& moduleName);
// The per-module include files of `source`: the first five characters of its base name, then "???.INC".
std::vector<std::filesystem::path> moduleIncludeFiles(const std::filesystem::path& source);
// Sorted by LOC (what a heading double-click sorts by), ties in their order of finding.
void sortMapRows(std::vector<MapRow>& rows);

// The right-click menu of a row: copy, load the editor (not on the Lib list), update.
namespace MapMenu {
constexpr int Copy = 1;
constexpr int LoadEditor = 2;
constexpr int Update = 3;
} // namespace MapMenu
std::vector<runtime::MenuItem> mapRowMenu(MapList list, const MapRow& row, const std::string& source);
// The file the editor is started on: the module (or listed file) in the source's folder.
std::string editorTarget(const MapRow& row, const std::string& source);

// The export: lines of "<base>.KTX" beside the source.
std::vector<std::string> mapExportLines(const std::string& source, const MapLists& lists);
std::string mapExportName(const std::string& source);
struct MapExport final
{
    std::string fileName;
    runtime::MessageRequest message; // "Map Export" when written, else the create error
    bool written = false;
};
MapExport exportMap(const std::string& source, const MapLists& lists);

} // namespace kestrix::utilities
