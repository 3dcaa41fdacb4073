#include "dictionary/RelationSection.h"

#include "dictionary/ImportRun.h"
#include "runtime/FixedText.h"

#include <algorithm>

namespace kestrix::dictionary {

using runtime::ltrim;

namespace {

// The cardinality is shown in 8 places; a longer word is kept whole.
std::string padded(std::string text)
{
    if (text.size() < 8)
        text.resize(8, ' ');
    return text;
}

std::string keyOrNoLink(std::string key)
{
    return key.empty() ? "NOLINK" : key;
}

} // namespace

void RelationSection::read(const std::string& text)
{
    const std::string keyword = keywordOf(text);
    const std::string label = labelOf(text);
    const std::string upperText = runtime::upper(text);
    if (startsWith(keyword, "RELATION,")) {
        m_block = Block();
        m_block.open = true;
        const std::string words(ltrim(text));
        const std::string after = words.size() > 9 ? words.substr(9) : std::string();
        // The cardinality runs to its comma: "ONE:ONE" is shorter than the other two.
        const std::size_t comma = after.find(',');
        m_block.type = runtime::clip(after.substr(0, comma));
        m_block.specs = comma == std::string::npos ? std::string() : runtime::clip(after.substr(comma + 1));
        m_block.level = 1;
    } else if (!m_block.open) {
        return;
    } else if (startsWith(keyword, "FILE(")) {
        m_block.file1 = label;
        m_block.key1 = keyOrNoLink(between(text, upperText.find("FILE(", label.size()) + 5));
    } else if (startsWith(keyword, "RELATED_FILE(")) {
        m_block.file2 = label;
        m_block.key2 = keyOrNoLink(between(text, upperText.find("RELATED_FILE(", label.size()) + 13));
    } else if (startsWith(keyword, "FILE_TO_RELATED_KEY")) {
        ++m_block.level;
        m_block.segment = 2;
    } else if (startsWith(keyword, "RELATED_FILE_TO_KEY")) {
        ++m_block.level;
        m_block.segment = 3;
    } else if (startsWith(keyword, "FIELD(")) {
        addPair(text, label);
    } else if (isEndKeyword(keyword)) {
        if (--m_block.level == 0) {
            write();
            m_block.open = false;
        }
    }
}

void RelationSection::addPair(const std::string& text, const std::string& label)
{
    const std::string after(ltrim(std::string_view(text).substr(label.size())));
    const std::size_t open = runtime::findNoCase(after, "FIELD(");
    const std::size_t close = after.rfind(')');
    const std::string inside = after.substr(
        open + 6, close == std::string::npos || close < open + 6 ? std::string::npos : close - open - 6);
    const std::size_t comma = inside.find(',');
    if (comma == std::string::npos) {
        m_run.stopBox("no comma in relationship !@#");
        return;
    }
    std::vector<Pair>* pairs = m_block.segment == 2   ? &m_block.fields1
                               : m_block.segment == 3 ? &m_block.fields2
                                                      : nullptr;
    if (!pairs)
        return;
    if (pairs->size() >= static_cast<std::size_t>(RelationPairLimit)) {
        ++m_block.beyond;
        return;
    }
    pairs->push_back({std::string(runtime::trim(inside.substr(0, comma))),
                      std::string(runtime::trim(inside.substr(comma + 1)))});
}

void RelationSection::write()
{
    if (m_block.beyond > 0) {
        const std::string limit = std::to_string(RelationPairLimit);
        m_run.tell("The relation of " + m_block.file1 + " and " + m_block.file2 + " links more than " +
                   limit + " fields in a segment.|The first " + limit + " of each are kept; " +
                   std::to_string(m_block.beyond) + " FIELD pairs are left out.");
    }
    const runtime::Record* first = m_run.findFile(m_block.file1);
    if (!first) {
        m_run.tell("!@# could not find Relation File 1=" + m_block.file1);
        return;
    }
    const std::int64_t firstId = first->number(Dif::FileId);
    m_run.addRow(firstId, RowType::Relation, ++m_run.items, 1, m_block.file2,
                 padded(m_block.type) + "," + m_block.specs);
    m_run.addRow(firstId, RowType::Relation, ++m_run.items, 2, m_block.key1, m_block.key2);
    for (const Pair& pair : m_block.fields1)
        m_run.addRow(firstId, RowType::Relation, ++m_run.items, 3, pair.first, pair.second);
    const runtime::Record* second = m_run.findFile(m_block.file2);
    if (!second) {
        m_run.tell("!@# could not find Relation File 2=" + m_block.file2);
        return;
    }
    const std::int64_t secondId = second->number(Dif::FileId);
    m_run.addRow(secondId, RowType::Relation, ++m_run.items, 1, m_block.file1,
                 padded(reversedCardinality(m_block.type)) + "," + m_block.specs);
    m_run.addRow(secondId, RowType::Relation, ++m_run.items, 2, m_block.key2, m_block.key1);
    for (const Pair& pair : m_block.fields2)
        m_run.addRow(secondId, RowType::Relation, ++m_run.items, 3, pair.first, pair.second);
    m_run.show(LoadingText);
}

} // namespace kestrix::dictionary
