#include "dictionary/AliasSection.h"

#include "dictionary/ImportRun.h"
#include "runtime/FixedText.h"

#include <algorithm>

namespace kestrix::dictionary {

using runtime::upper;

void AliasSection::read(const std::string& text)
{
    if (text[0] == ' ' || text[0] == '!' || text[0] == '[' || !startsWith(keywordOf(text), "ALIAS("))
        return;
    const std::string label = labelOf(text);
    std::string rest = text;
    const std::string target = between(rest, runtime::findNoCase(rest, "ALIAS(", label.size()) + 6);
    const runtime::Record* base = m_run.findFile(target);
    if (!base) {
        m_run.tell("!@# could not find Aliasfile=" + target);
        return;
    }
    const std::int64_t baseId = base->number(Dif::FileId);
    const std::string baseName = base->text(Dif::FileName);
    const std::string basePrefix = base->text(Dif::Prefix);

    runtime::Record dif = m_run.store.files().newRecord();
    m_run.setText(dif, Dif::FileName, label);
    const std::int64_t aliasId = ++m_run.fileCounter;
    dif.setNumber(Dif::FileId, aliasId);
    dif.setNumber(Dif::AliasId, baseId);
    const std::size_t pre = runtime::findNoCase(rest, "PRE(", label.size());
    if (pre != std::string::npos) {
        m_run.setText(dif, Dif::Prefix, between(rest, pre + 4));
        dif.setNumber(Dif::PreLen, static_cast<std::int64_t>(dif.text(Dif::Prefix).size()));
        const std::size_t close = rest.find(')', pre);
        const std::size_t cutFrom = pre > 0 && rest[pre - 1] == ',' ? pre - 1 : pre;
        rest.erase(cutFrom, close == std::string::npos ? std::string::npos : close + 1 - cutFrom);
    }
    m_run.setText(dif, Dif::FileSpec,
                  runtime::ltrim(std::string_view(rest).substr(std::min(label.size(), rest.size()))));
    const std::string aliasPrefix = dif.text(Dif::Prefix);
    m_run.addFile(std::move(dif));
    ++m_run.result.aliases;
    m_run.addRow(aliasId, RowType::Alias, ++m_run.items, 1, baseName, "PREFIX(" + basePrefix + ")");
    m_run.addRow(baseId, RowType::Alias, ++m_run.items, 1, label, "PREFIX(" + aliasPrefix + ")");
}

} // namespace kestrix::dictionary
