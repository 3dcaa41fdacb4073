#include "dictionary/KeyLine.h"

#include "dictionary/ImportRun.h"
#include "runtime/FixedText.h"

#include <algorithm>

namespace kestrix::dictionary {

using runtime::ltrim;
using runtime::rtrim;

void KeyLine::read(const std::string& text, const std::string& keyWord)
{
    const std::string label = labelOf(text);
    const std::size_t at = runtime::findNoCase(text, keyWord, label.size());
    if (at == std::string::npos) {
        m_run.stopBox("!@#could not find " + keyWord + " in " + text);
        return;
    }
    const std::size_t close = text.find(')', at);
    const std::size_t clipped = rtrim(text).size();
    const std::size_t after = close == std::string::npos ? clipped : close + 1;
    std::string notes(rtrim(text.substr(std::min(after, text.size()))));
    if (startsWith(keyWord, "INDEX"))
        notes = "INDEX  " + notes;
    m_run.addRow(m_run.fileId, RowType::Key, ++m_run.items, 1, label, notes);

    const std::size_t open = text.find('(', at);
    if (open == std::string::npos || (close != std::string::npos && open > close))
        return;
    const std::string inside =
        text.substr(open + 1, (close == std::string::npos ? clipped : close) - open - 1);
    std::size_t from = 0;
    while (from <= inside.size() && !m_run.stopped) {
        const std::size_t comma = inside.find(',', from);
        addComponent(std::string(
            runtime::trim(inside.substr(from, comma == std::string::npos ? inside.npos : comma - from))));
        from = comma == std::string::npos ? inside.size() + 1 : comma + 1;
    }
}

void KeyLine::addComponent(std::string component)
{
    std::string notes;
    if (!component.empty() && component[0] == '+') {
        component.erase(0, 1);
    } else if (!component.empty() && component[0] == '-') {
        component.erase(0, 1);
        notes = "-DESCENDING";
    }
    component = std::string(ltrim(component));
    const std::size_t preLen = m_run.preLen;
    if (preLen != 0 && component.size() > preLen && component[preLen] == ':')
        component.erase(0, preLen + 1);
    if (!component.empty())
        m_run.addRow(m_run.fileId, RowType::Key, ++m_run.items, 2, component, notes);
}

} // namespace kestrix::dictionary
