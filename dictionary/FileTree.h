#pragma once

#include "runtime/Record.h"

#include <cstdint>
#include <string>
#include <vector>

// The tree of one dictionary file as the "File Fields" window lists it: headings,
// fields, collapsed keys with their components, relations and alias links. The
// code generators work from the same lines.
namespace kestrix::dictionary {

class DictionaryStore;

// What the tree and the generators need of a DicFiles record.
struct DicFile final
{
    std::string name; // the file's (or alias's) label
    std::int64_t fileId = 0;
    std::int64_t aliasId = 0; // the file whose fields and keys it has: its own id unless an alias
    std::string prefix;
};
DicFile dicFileOf(const runtime::Record& dif);

// A DicTree row, clipped.
struct TreeRow final
{
    static constexpr std::size_t NameSize = 50; // DTR:FIELD

    std::int64_t fileId = 0;
    std::string type;
    std::int64_t seq = 0;
    int level = 1;
    std::string name;
    std::string notes;
};
TreeRow treeRowOf(const runtime::Record& row);

// Line kinds of the tree list: the row kinds, and "H" + kind for a heading.
namespace LineType {
constexpr const char* Field = "1";
constexpr const char* Key = "2";
constexpr const char* Relation = "R";
constexpr const char* Alias = "Z";
constexpr const char* FieldHeading = "H1";
constexpr const char* KeyHeading = "H2";
constexpr const char* RelationHeading = "HR";
constexpr const char* AliasHeading = "HZ";
} // namespace LineType

struct TreeLine final
{
    std::string text;  // the displayed text
    int level = 1;     // depth in the tree; negative for a node shown collapsed
    std::string type;  // LineType
    bool mark = false; // selected for the multi-field generators
    std::string field; // the name as generated code uses it (qualified for fields and keys)
    std::string name;  // the row's own name and notes
    std::string notes;
    int rowLevel = 0; // DTR:LEVEL of the row; 0 for a heading

    bool isHeading() const { return !type.empty() && type[0] == 'H'; }
    // Every line but a heading can be marked: fields, keys and their components, relations, alias links.
    bool canMark() const { return !isHeading(); }
    bool isKey() const { return type == LineType::Key && rowLevel == 1; }
    bool isKeyComponent() const { return type == LineType::Key && rowLevel == 2; }
};

struct FileTree final
{
    DicFile file;
    std::string qualifier;
    std::vector<TreeLine> lines;
    bool hasMemo = false;                 // a MEMO or BLOB among the fields
    std::vector<std::string> uniqueKeys;  // qualified, in tree order
    std::vector<std::string> declaration; // the base file's declaration, one line per source line
};

// The widest gap the tree keeps between a name and its text.
constexpr int MinimumNameGap = 3;

// `baseRows`: the rows of the file named by the alias id (fields, keys and declaration lines are used);
// `ownRows`: the file's own rows (only relations and alias links are used).
FileTree buildFileTree(const DicFile& file, const std::vector<TreeRow>& baseRows,
                       const std::vector<TreeRow>& ownRows, int fieldWidth);
// The same, read from an open store.
FileTree loadFileTree(DictionaryStore& store, const DicFile& file, int fieldWidth);

// Whether the file (its alias's base file) has MEMO or BLOB fields, read from an open store.
bool hasMemoFields(DictionaryStore& store, const DicFile& file);

// A name padded to `width`, keeping at least MinimumNameGap blanks before what follows.
std::string paddedName(const std::string& name, int width);

// The arrow of a relation by its cardinality: " <->>", " <<->", " <--->" or " ????".
std::string relationArrow(const std::string& cardinality);

// Declaration helpers shared by the tree and the generators.
bool hasDuplicates(const std::string& keyNotes); // "DUP" among the key's attributes
bool isIndexKey(const std::string& keyNotes);    // an INDEX rather than a KEY
bool isDescending(const std::string& componentNotes);
bool isMemoDeclaration(const std::string& declaration); // MEMO( or BLOB

// The index of the key line that `line` belongs to (itself when it is a key), or -1.
int keyLineOf(const FileTree& tree, int line);

} // namespace kestrix::dictionary
