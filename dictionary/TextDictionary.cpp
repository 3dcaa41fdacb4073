#include "dictionary/TextDictionary.h"

#include "runtime/FixedText.h"
#include "runtime/WinPath.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace kestrix::dictionary {

using runtime::ltrim;
using runtime::rtrim;
using runtime::upper;

std::string labelOf(std::string_view line)
{
    const std::size_t blank = line.find(' ');
    return std::string(line.substr(0, blank));
}

std::string keywordOf(std::string_view line)
{
    const std::size_t blank = line.find(' ');
    const std::string_view word =
        ltrim(blank == std::string_view::npos ? line : line.substr(blank, 61)).substr(0, 20);
    std::string keyword(20, ' ');
    std::transform(word.begin(), word.end(), keyword.begin(), runtime::upperChar);
    return keyword;
}

SplitAttribute splitAttribute(std::string_view text)
{
    const std::string_view clipped = rtrim(text);
    bool quoted = false;
    int depth = 0;
    std::size_t open = std::string_view::npos;
    std::size_t close = std::string_view::npos;
    std::size_t end = clipped.size();
    std::size_t restFrom = clipped.size();
    for (std::size_t i = 0; i < clipped.size(); ++i) {
        const char c = clipped[i];
        if (c == '\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted)
            continue;
        if (c == '(') {
            if (depth == 0 && open == std::string_view::npos)
                open = i;
            ++depth;
        } else if (c == ')') {
            if (depth > 0 && --depth == 0 && close == std::string_view::npos &&
                open != std::string_view::npos)
                close = i;
        } else if (depth == 0 && c == ',') {
            end = i;
            restFrom = i + 1;
            break;
        } else if (depth == 0 && c == '!') {
            end = i;
            restFrom = i;
            break;
        }
    }
    SplitAttribute split;
    split.attribute = runtime::clip(ltrim(clipped.substr(0, end)));
    if (open != std::string_view::npos && open < end) {
        const std::size_t stop = close == std::string_view::npos || close > end ? end : close;
        std::string argument(rtrim(ltrim(clipped.substr(open + 1, stop - open - 1))));
        if (argument.size() >= 2 && argument.front() == '\'' && argument.back() == '\'')
            argument = argument.substr(1, argument.size() - 2);
        split.argument = argument;
    }
    split.rest = std::string(text.substr(std::min(restFrom, text.size())));
    return split;
}

FileAttributes parseFileAttributes(std::string_view text)
{
    FileAttributes parsed;
    std::string left(text);
    for (int i = 0; i < FileAttributeLimit; ++i) {
        left = std::string(ltrim(left));
        if (runtime::isBlank(left))
            break;
        if (left.front() == '!') {
            parsed.description = runtime::clip(std::string_view(left).substr(1));
            break;
        }
        SplitAttribute split = splitAttribute(left);
        left = split.rest;
        const std::string head = upper(split.attribute.substr(0, 4));
        if (head == "PRE(") {
            parsed.prefix = split.argument;
        } else if (head == "DRIV") {
            const std::size_t comma =
                split.argument.size() > 3 ? split.argument.find(',', 3) : std::string::npos;
            if (comma != std::string::npos) {
                parsed.driver = split.argument.substr(0, comma - 1);
                parsed.driverString = split.argument.substr(std::min(comma + 2, split.argument.size()));
            } else {
                parsed.driver = split.argument;
            }
            if (runtime::sameText(parsed.driver, "TOPSPEED"))
                parsed.driver = "TopSpeed";
        } else if (head == "NAME") {
            parsed.fullName = split.argument;
        } else if (!split.attribute.empty()) {
            std::string attribute = split.attribute;
            if (attribute.find('(') == std::string::npos) {
                attribute = attribute.substr(0, 1) + runtime::lower(attribute.substr(1));
                if (attribute == "Oem")
                    attribute = "OEM";
            }
            parsed.fileSpec += (parsed.fileSpec.empty() ? "" : ", ") + attribute;
        }
    }
    return parsed;
}

std::string reversedCardinality(std::string_view cardinality)
{
    const std::string word(rtrim(cardinality));
    if (word == "ONE:MANY")
        return "MANY:ONE";
    if (word == "MANY:ONE")
        return "ONE:MANY";
    if (word == "ONE:ONE")
        return word;
    return "~" + word;
}

std::string declarationType(std::string_view notes)
{
    int depth = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const char c = notes[i];
        if (c == '\'')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == '(')
            ++depth;
        else if (c == ')' && depth > 0)
            --depth;
        else if (depth == 0 && (c == ',' || c == ' '))
            return std::string(notes.substr(0, i));
    }
    return runtime::clip(notes);
}

std::string resolvedLikeNotes(std::string_view likeNotes, std::string_view referencedNotes)
{
    const std::string_view clipped = rtrim(likeNotes);
    const std::size_t comma = clipped.find(',');
    const std::string_view likePart = comma == std::string_view::npos ? clipped : clipped.substr(0, comma);
    const std::string_view rest =
        comma == std::string_view::npos ? std::string_view() : clipped.substr(comma + 1);
    return declarationType(referencedNotes) + "," + runtime::clip(rest) + " " + std::string(likePart);
}

std::string likeReference(std::string_view notes)
{
    if (upper(notes.substr(0, 5)) != "LIKE(")
        return {};
    const std::size_t close = notes.find(')', 5);
    return std::string(
        rtrim(ltrim(notes.substr(5, close == std::string_view::npos ? notes.npos : close - 5))));
}

StoreName storeNameFor(std::string_view sourcePath)
{
    StoreName name;
    name.fileName = runtime::fileNamePart(sourcePath).substr(0, 80);
    const std::size_t period = name.fileName.find('.');
    if (period == std::string::npos) {
        name.periodTrouble = true;
        name.store = name.fileName + ".dic";
        return name;
    }
    name.periodTrouble = period + 1 > 80 - 3;
    name.extension = upper(name.fileName.substr(period + 1, 3));
    name.store = name.fileName.substr(0, period + 1) + "dic" +
                 name.fileName.substr(std::min(period + 4, name.fileName.size()));
    return name;
}

TxdReader::TxdReader(const std::string& path) : m_in(runtime::resolveWinPath(path), std::ios::binary)
{
    std::error_code ec;
    const std::filesystem::path resolved = runtime::resolveWinPath(path);
    if (std::filesystem::is_directory(resolved, ec)) {
        m_failed = true;
        return;
    }
    m_size = std::filesystem::file_size(resolved, ec);
    if (ec)
        m_size = 0;
}

bool TxdReader::readLine(std::string& line)
{
    constexpr std::size_t BlockSize = 65536;
    line.clear();
    bool extracted = false;
    for (;;) {
        if (m_next == m_filled) {
            if (!m_in.is_open())
                return extracted;
            m_buffer.resize(BlockSize);
            m_in.read(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
            m_filled = static_cast<std::size_t>(std::max<std::streamsize>(m_in.gcount(), 0));
            m_next = 0;
            if (m_filled == 0)
                return extracted;
        }
        const char* start = m_buffer.data() + m_next;
        const std::size_t available = m_filled - m_next;
        if (const auto* end = static_cast<const char*>(std::memchr(start, '\n', available))) {
            line.append(start, static_cast<std::size_t>(end - start));
            m_next += static_cast<std::size_t>(end - start) + 1;
            return true;
        }
        line.append(start, available);
        m_next = m_filled;
        extracted = true;
    }
}

bool TxdReader::next(std::string& line)
{
    if (m_putBack) {
        m_putBack = false;
        line = m_last;
        return true;
    }
    if (!readLine(m_last))
        return false;
    m_position += m_last.size() + 1;
    ++m_lineNumber;
    if (!m_last.empty() && m_last.back() == '\r')
        m_last.pop_back();
    if (m_last.size() > TxdLineLength) {
        m_last.resize(TxdLineLength);
        m_cut.push_back(m_lineNumber);
    }
    for (char& c : m_last) {
        if (c == '\t')
            c = ' ';
    }
    line = m_last;
    return true;
}

} // namespace kestrix::dictionary
