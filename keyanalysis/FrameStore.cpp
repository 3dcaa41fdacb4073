#include "keyanalysis/FrameStore.h"

#include "config/Settings.h"
#include "runtime/AtomicFile.h"
#include "runtime/FixedText.h"
#include "runtime/LocalTime.h"
#include "runtime/TextLineFile.h"
#include "runtime/WinPath.h"

#include <ctime>

namespace kestrix::keyanalysis {

namespace {
constexpr const char* Section = "AltKeyAnalysis";
constexpr const char* FrameFileName = "APPFrame.DAT";
} // namespace

FrameStore FrameStore::inDataDirectory()
{
    return FrameStore(runtime::resolveWinPath(FrameFileName),
                      runtime::IniFile(runtime::resolveWinPath(config::Ini::ProgramFile)));
}

std::string frameTimestamp(std::chrono::system_clock::time_point when)
{
    const std::tm local = runtime::localTime(when);
    char text[64]; // room for any int the format could receive
    const int hour12 = local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12;
    std::snprintf(text, sizeof text, "%02d/%02d/%02d %02d:%02d%s", local.tm_mon + 1, local.tm_mday,
                  local.tm_year % 100, hour12, local.tm_min, local.tm_hour < 12 ? "AM" : "PM");
    return text;
}

std::optional<std::vector<std::string>> FrameStore::lines() const
{
    runtime::TextLines read = runtime::readTextLines(m_file);
    if (read.error)
        return std::nullopt;
    return read.lines;
}

bool FrameStore::save(const std::vector<std::string>& codeLines, const std::string& title,
                      std::chrono::system_clock::time_point when) const
{
    // Written whole under a temporary name and renamed: a reader never meets half a frame,
    // and a symbolic link in its place is replaced rather than followed.
    std::string text;
    for (const std::string& line : codeLines) {
        text += runtime::ltrim(line).substr(0, 512);
        text += "\r\n";
    }
    if (runtime::writeFileAtomically(m_file, text))
        return false;
    return m_ini.setValues(Section, {{"FrameName", runtime::fitted(title, 30)},
                                     {"FrameLastUpdate", frameTimestamp(when)},
                                     {"FrameInclude", "1"}});
}

std::string FrameStore::name() const
{
    return m_ini.value(Section, "FrameName");
}

std::string FrameStore::lastUpdate() const
{
    return m_ini.value(Section, "FrameLastUpdate");
}

bool FrameStore::include() const
{
    return m_ini.number(Section, "FrameInclude", 0) != 0;
}

void FrameStore::setInclude(bool on) const
{
    m_ini.setNumber(Section, "FrameInclude", on ? 1 : 0);
}

} // namespace kestrix::keyanalysis
