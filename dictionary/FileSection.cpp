#include "dictionary/FileSection.h"

#include "dictionary/ImportRun.h"
#include "runtime/FixedText.h"

namespace kestrix::dictionary {

using runtime::rtrim;
using runtime::upper;

void FileSection::start()
{
    m_run.level = -1;
    m_run.items = 0;
}

void FileSection::read(std::string text)
{
    if (text[0] == '[' && upper(text.substr(0, 12)) == "[USEROPTION]") {
        std::string options;
        if (m_run.reader.next(options))
            m_pendingUserOptions = options.size() > 1 ? options.substr(1) : std::string();
        return;
    }
    const std::string keyword = keywordOf(text);
    if (startsWith(keyword, "FILE,") || rtrim(keyword) == "FILE") {
        newFile(text);
        return;
    }
    if (m_run.level < 1 || text[0] == '!' || text[0] == '[')
        return;
    addDeclaration(text);
    m_pendingUserOptions.clear();
    if (startsWith(keyword, "KEY(")) {
        m_keys.read(text, "KEY(");
    } else if (startsWith(keyword, "INDEX(") || startsWith(keyword, "INDEX ") ||
               startsWith(keyword, "INDEX,")) {
        m_keys.read(text, keyword.substr(0, 6));
    } else if (startsWith(keyword, "MEMO(") || startsWith(keyword, "BLOB ") || startsWith(keyword, "BLOB,")) {
        m_fields.read(text);
    } else if (startsWith(keyword, "RECORD,") || startsWith(keyword, "RECORD ")) {
        const std::size_t pre = runtime::findNoCase(text, ",PRE()");
        if (pre != std::string::npos)
            text.erase(pre, 6);
        ++m_run.level;
        if (text[0] != ' ')
            m_fields.read(text);
    } else if (isEndKeyword(keyword)) {
        if (--m_run.level == 0) {
            m_run.show(LoadingText);
            m_run.level = -1;
            m_run.items = 0;
        }
    } else if (startsWith(keyword, "GROUP ") || startsWith(keyword, "GROUP,") ||
               startsWith(keyword, "GROUP(") || startsWith(keyword, "MULTI ") ||
               startsWith(keyword, "MULTI,")) {
        m_fields.read(text);
        ++m_run.level;
    } else if (m_run.level > 1 && text[0] != ' ') {
        m_fields.read(text);
    }
}

void FileSection::newFile(const std::string& text)
{
    m_run.level = 1;
    runtime::Record dif = m_run.store.files().newRecord();
    m_run.setText(dif, Dif::FileName, labelOf(text));
    m_run.fileId = ++m_run.fileCounter;
    dif.setNumber(Dif::FileId, m_run.fileId);
    dif.setNumber(Dif::AliasId, m_run.fileId);
    const std::size_t comma = text.find(',');
    const FileAttributes attributes = parseFileAttributes(
        comma == std::string::npos ? std::string_view() : std::string_view(text).substr(comma + 1));
    m_run.setText(dif, Dif::Prefix, attributes.prefix);
    const std::string prefix = dif.text(Dif::Prefix);
    m_run.preLen = prefix.size();
    dif.setNumber(Dif::PreLen, static_cast<std::int64_t>(m_run.preLen));
    m_run.setText(dif, Dif::Description, attributes.description);
    m_run.setText(dif, Dif::Driver, attributes.driver);
    m_run.setText(dif, Dif::DriverString, attributes.driverString);
    m_run.setText(dif, Dif::FullName, attributes.fullName);
    m_run.setText(dif, Dif::FileSpec, attributes.fileSpec);
    m_run.setText(dif, Dif::UserOptions, m_pendingUserOptions);
    m_pendingUserOptions.clear();
    m_run.prefixes.emplace(upper(prefix), m_run.fileId);
    m_run.addFile(std::move(dif));
    ++m_run.result.files;
    m_run.declarations = 0;
    addDeclaration(text);
}

// The line as written: its first 50 characters name the row, the rest is its text.
void FileSection::addDeclaration(std::string_view line)
{
    m_run.addRow(m_run.fileId, RowType::Declaration, ++m_run.declarations, 1, line.substr(0, 50),
                 line.size() > 50 ? line.substr(50) : std::string_view());
}

} // namespace kestrix::dictionary
