#pragma once

#include "dictionary/DictionaryImport.h"
#include "dictionary/DictionaryStore.h"
#include "dictionary/TextDictionary.h"

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// The working state of one import, shared by the section handlers: the store
// being written, the text dictionary being read, the counters that number files
// and rows, and what is collected for the end (file records, field types for
// the LIKE rows, values that had to be stored in part).
namespace kestrix::dictionary {

constexpr const char* LoadingText = "Loading TXD File";
constexpr const char* BuildingText = "Building Indices";
constexpr const char* ImportCaption = "DICTIONARY IMPORT";

// Inline: the reader asks it of every line several times.
inline bool startsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}
// The END keyword, also followed by a comma or a comment.
bool isEndKeyword(std::string_view keyword);
// The text between `open` and the next ")", trimmed.
std::string between(const std::string& line, std::size_t open);

// A field row the LIKE rows may take their type from: the first one of its name within its file.
struct FieldTarget final
{
    std::int64_t position = 0;
    std::string type; // the declaration's type part; empty for a LIKE row
    int like = -1;    // the row's entry in the LIKE list, when it is one
};

// A LIKE row as written, kept until the whole dictionary is read.
struct LikeRow final
{
    runtime::Record row;
    std::size_t line = 0;
    bool resolved = false;
    bool visiting = false;
};

class ImportRun final
{
public:
    ImportRun(runtime::DialogService& dialogs, const DictionaryImporter::Progress& progress,
              const std::string& storeName, TxdReader& reader, ImportResult& result);

    runtime::DialogService& dialogs;
    DictionaryStore store;
    TxdReader& reader;
    ImportResult& result;
    bool stopped = false; // by a failure or the user: the store is not complete

    int level = -1;
    std::int64_t fileCounter = 0;
    std::int64_t declarations = 0;
    std::int64_t items = 0;
    std::int64_t fileId = 0;
    std::size_t preLen = 0;
    std::size_t line = 0;                         // of the text dictionary, for the reports
    std::map<std::string, std::int64_t> prefixes; // upper-cased prefix -> FILEID
    std::deque<LikeRow> likes;                    // grows without moving the rows already in it

    void show(const std::string& text, bool force = false);
    void tell(const std::string& text);
    // The runtime's stop box; ending there stops the import.
    void stopBox(const std::string& text);
    void stopFor(const runtime::FileError& error, const std::string& sentence,
                 const runtime::KeyedFile& file);

    // Sets a text field; a value longer than the field is stored up to its size and noted for the report.
    void setText(runtime::Record& record, int field, std::string_view value);
    // Notes the value for the report when it is longer than the field.
    void noteIfCut(const runtime::RecordLayout& layout, int field, std::string_view value);
    // Adds a DicTree row; the row as stored (with its position), or nothing after a failure.
    const runtime::Record* addRow(std::int64_t id, const char* type, std::int64_t seq, int rowLevel,
                                  std::string_view field, std::string_view notes);
    // The field rows the LIKE rows may name, by file and name (any case, trailing blanks ignored).
    const FieldTarget* findField(std::int64_t fileId, std::string_view name);
    // The entry of a field row, and true when it is the first of its name within its file (a new entry).
    std::pair<FieldTarget*, bool> addField(std::int64_t fileId, std::string_view name);

    bool addFile(runtime::Record dif);
    // A file or alias read so far, by its name (any case).
    const runtime::Record* findFile(const std::string& name) const;
    // Writes the file records collected during the read.
    bool writeFiles();

    // "VALUES STORED IN PART": every field that had a longer value than its size, with the lines.
    std::string cutReport() const;

private:
    const DictionaryImporter::Progress& m_progress;
    runtime::Record m_row;
    std::vector<runtime::Record> m_difs; // added once the tree is written
    std::unordered_map<std::string, std::size_t> m_difByName;
    // One small table per FILEID: a file's fields are entered while it is read, and a table of the whole
    // dictionary's fields would spread them over far more memory than the processor keeps at hand.
    std::vector<std::unordered_map<std::string, FieldTarget>> m_fields;
    std::string m_fieldName; // reused: the upper-cased name looked up
    int m_lastPercent = -1;
    struct Cut
    {
        int size = 0;
        std::size_t count = 0;
        std::vector<std::size_t> lines;
        bool moreLines = false;
    };
    std::map<std::string, Cut> m_cuts; // by field label
};

} // namespace kestrix::dictionary
