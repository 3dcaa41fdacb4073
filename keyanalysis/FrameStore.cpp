#include "keyanalysis/FrameStore.h"

#include "config/Settings.h"
#include "runtime/FixedText.h"
#include "runtime/LocalTime.h"
#include "runtime/TextLineFile.h"
#include "runtime/WinPath.h"

#include <ctime>
#include <fstream>

namespace kestrix::keyanalysis {

namespace {
constexpr const char* Section = "AltKeyAnalysis";
constexpr const char* FrameFileName = "APPFrame.DAT";
} // namespace

FrameStore FrameStore::inDataDirectory()
{
    return FrameStore(runtime::resolveWinPath(FrameFileName), runtime::IniFile(runtime::resolveWinPath(config::Ini::ProgramFile)));
}

std::string frameTimestamp(std::chrono::system_clock::time_point when)
{
    const std::tm local = runtime::localTime(when);
    char text[64]; // room for any int the format could receive
    const int hour12 = local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12;
    std::snprintf(text, sizeof text, "%02d/%02d/%02d %02d:%02d%s", local.tm_mon + 1, local.tm_mday, local.tm_year % 100,
                  hour12, local.tm_min, local.tm_hour < 12 ? "AM" : "PM");
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
    std::ofstream out(m_file, std::ios::binary | std::ios::trunc);
    for (const std::string& line : codeLines)
        out << runtime::ltrim(line).substr(0, 512) << "\r\n";
    if (!out.flush())
        return false;
    m_ini.setValue(Section, "FrameName", runtime::fitted(title, 30));
    m_ini.setValue(Section, "FrameLastUpdate", frameTimestamp(when));
    m_ini.setValue(Section, "FrameInclude", "1");
    return true;
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
