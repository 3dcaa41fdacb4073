#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

// The pieces of a text dictionary's lines that the import takes apart: the
// keyword after a label, FILE attributes, relation cardinalities, LIKE types,
// and the store name a dictionary file gives.
namespace kestrix::dictionary {

constexpr std::size_t TxdLineLength = 512;
constexpr int RelationPairLimit = 16;
constexpr int FileAttributeLimit = 20;

// The text before the first blank (empty when the line starts with one).
std::string labelOf(std::string_view line);
// The first word after the label, upper-cased, padded with blanks to 20 characters.
std::string keywordOf(std::string_view line);

// One attribute cut off the front of a FILE line's attribute text.
struct SplitAttribute final
{
    std::string attribute; // left-justified, up to the ending comma or comment
    std::string argument;  // between its parentheses, without one pair of enclosing quotes
    std::string rest;      // what follows the ending comma (a comment's "!" stays)
};
SplitAttribute splitAttribute(std::string_view text);

// What the attributes of a FILE line (the text after its first comma) say.
struct FileAttributes final
{
    std::string prefix;
    std::string description;
    std::string driver;
    std::string driverString;
    std::string fullName;
    std::string fileSpec;
};
FileAttributes parseFileAttributes(std::string_view text);

// "ONE:MANY" <-> "MANY:ONE"; "ONE:ONE" stays; anything else gets "~" in front.
std::string reversedCardinality(std::string_view cardinality);

// The type part of a declaration: up to its first comma (or blank) outside parentheses.
std::string declarationType(std::string_view notes);
// A LIKE row's NOTES rewritten to begin with the referenced field's type.
std::string resolvedLikeNotes(std::string_view likeNotes, std::string_view referencedNotes);
// The reference inside "LIKE(" ... ")", empty when the notes hold none.
std::string likeReference(std::string_view notes);

// The store a dictionary file is imported into: "SHOP.DCT" -> "SHOP.dic", extension "DCT".
struct StoreName final
{
    std::string store;
    std::string extension; // upper-cased
    bool periodTrouble = false;
    std::string fileName; // the name part the rule looked at
};
StoreName storeNameFor(std::string_view sourcePath);

// A text dictionary read line by line, with one line of look-ahead that can be put back.
// Lines end at LF or CR LF; tabs read as blanks; a longer line than the record is cut and counted.
class TxdReader final
{
public:
    explicit TxdReader(const std::string& path);
    bool isOpen() const { return m_in.is_open() && !m_failed; }
    std::uintmax_t size() const { return m_size; }
    std::uintmax_t position() const { return m_position; }
    // The number of the line last read (a line put back keeps its number).
    std::size_t lineNumber() const { return m_lineNumber; }
    bool next(std::string& line);
    // The line last returned by next() is returned again by the next call.
    void putBack() { m_putBack = true; }
    const std::vector<std::size_t>& cutLines() const { return m_cut; }
    void close() { m_in.close(); }

private:
    // The next line without its LF, read through the buffer; false at the end of the file.
    bool readLine(std::string& line);

    std::ifstream m_in;
    std::vector<char> m_buffer; // a block of the file: one read for many lines
    std::size_t m_next = 0;     // in m_buffer
    std::size_t m_filled = 0;
    bool m_failed = false;
    std::uintmax_t m_size = 0;
    std::uintmax_t m_position = 0;
    std::size_t m_lineNumber = 0;
    std::string m_last;
    bool m_putBack = false;
    std::vector<std::size_t> m_cut;
};

} // namespace kestrix::dictionary
