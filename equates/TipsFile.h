#pragma once

#include "data/DataFileNames.h"
#include "runtime/IniFile.h"
#include "runtime/KeyedFile.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// The tips of the day: the tips file "Tips5" (prefix TIPIN), built from the
// delivered tips text, and paging through it with the number kept in KTX4.INI.
namespace kestrix::equates {

namespace Tip {
enum Field : int { Id, Type, Text };
enum Key : int { Key, ByType };
} // namespace Tip

constexpr const char* TipsFileName = data::FileName::Tips;
constexpr const char* TipsSourceName = "TIPS5.TXT";

std::shared_ptr<const runtime::RecordLayout> tipLayout();

// "TIP=Type" starts a tip; the lines up to the next one are its text. Returns the tips added,
// or -1 when a write failed (then nothing was committed).
int buildTipsFile(runtime::KeyedFile& tips, const std::vector<std::string>& lines);

struct ShownTip final
{
    int number = 0;
    std::string text;
};

class TipBrowser final
{
public:
    TipBrowser(runtime::KeyedFile& tips, runtime::IniFile programIni)
        : m_tips(tips), m_ini(std::move(programIni))
    {
    }

    bool showOnStartup() const { return showOnStartup(m_ini); }
    static bool showOnStartup(const runtime::IniFile& programIni);
    void setShowOnStartup(bool on) const;
    // The tip after (or before) the one shown last, wrapping round; empty when there are none.
    std::optional<ShownTip> next() const;
    std::optional<ShownTip> previous() const;

private:
    std::optional<ShownTip> fetch(int number) const;
    std::optional<ShownTip> remember(std::optional<ShownTip> tip) const;

    runtime::KeyedFile& m_tips;
    runtime::IniFile m_ini;
};

} // namespace kestrix::equates
