#include "equates/TipsFile.h"

#include "config/Settings.h"
#include "runtime/CrashPoint.h"
#include "runtime/FixedText.h"

namespace kestrix::equates {

namespace {
constexpr const char* TipNumberEntry = "TipNumber";
} // namespace

std::shared_ptr<const runtime::RecordLayout> tipLayout()
{
    static const std::shared_ptr<const runtime::RecordLayout> layout = [] {
        auto l = std::make_shared<runtime::RecordLayout>("TIPIN");
        l->addNumber("ID", runtime::FieldType::Long);
        l->addString("TYPE", 10);
        l->addString("TEXT", 1000);
        l->addKey("KEY", {Tip::Id}, false, true, false);
        l->addKey("BYTYPE", {Tip::Type, Tip::Id}, false, true, false);
        return l;
    }();
    return layout;
}

int buildTipsFile(runtime::KeyedFile& tips, const std::vector<std::string>& lines)
{
    int count = 0;
    std::optional<runtime::Record> tip;
    std::string text;
    bool paragraph = false;
    bool written = true;
    const auto finish = [&] {
        if (tip && written) {
            tip->setText(Tip::Text, text);
            written = tips.add(*tip).ok();
            runtime::crashPoint(runtime::CrashPoint::TipRecord);
        }
        text.clear();
        paragraph = false;
    };
    if (tips.stream())
        return -1;
    for (const std::string& raw : lines) {
        const std::string line(runtime::trim(raw));
        if (runtime::sameTextNoCase(line.substr(0, 4), "TIP=")) {
            finish();
            tip = tips.newRecord();
            tip->setNumber(Tip::Id, ++count);
            tip->setText(Tip::Type, std::string(runtime::trim(line.substr(4))));
            continue;
        }
        if (!tip || (!line.empty() && line[0] == ';'))
            continue;
        // Lines of a paragraph run together; an empty line starts a new paragraph.
        if (line.empty()) {
            paragraph = !text.empty();
            continue;
        }
        text += paragraph ? "\r\n\r\n" : (text.empty() ? "" : " ");
        text += line;
        paragraph = false;
    }
    finish();
    if (!written) {
        (void)tips.rollback();
        return -1;
    }
    return tips.flush() ? -1 : count;
}

bool TipBrowser::showOnStartup(const runtime::IniFile& programIni)
{
    return programIni.number(config::Ini::TipOfTheDaySection, config::Ini::ShowTipsEntry, 1) != 0;
}

void TipBrowser::setShowOnStartup(bool on) const
{
    m_ini.setNumber(config::Ini::TipOfTheDaySection, config::Ini::ShowTipsEntry, on ? 1 : 0);
}

std::optional<ShownTip> TipBrowser::fetch(int number) const
{
    runtime::Record r = m_tips.newRecord();
    r.setNumber(Tip::Id, number);
    if (m_tips.get(Tip::Key, r))
        return std::nullopt;
    return ShownTip{static_cast<int>(r.number(Tip::Id)), r.text(Tip::Text)};
}

std::optional<ShownTip> TipBrowser::remember(std::optional<ShownTip> tip) const
{
    if (tip)
        m_ini.setNumber(config::Ini::TipOfTheDaySection, TipNumberEntry, tip->number);
    return tip;
}

std::optional<ShownTip> TipBrowser::next() const
{
    const int current = static_cast<int>(m_ini.number(config::Ini::TipOfTheDaySection, TipNumberEntry, 0));
    auto tip = fetch(current + 1);
    if (!tip)
        tip = fetch(1);
    return remember(tip);
}

std::optional<ShownTip> TipBrowser::previous() const
{
    const int current = static_cast<int>(m_ini.number(config::Ini::TipOfTheDaySection, TipNumberEntry, 0));
    auto tip = fetch(current - 1);
    if (!tip) {
        runtime::Record last = m_tips.newRecord();
        m_tips.setOrder(Tip::Key);
        if (m_tips.previous(last).ok())
            tip = ShownTip{static_cast<int>(last.number(Tip::Id)), last.text(Tip::Text)};
    }
    return remember(tip);
}

} // namespace kestrix::equates
