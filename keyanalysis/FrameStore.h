#pragma once

#include "keyanalysis/AnalysisQueues.h"
#include "runtime/IniFile.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The stored application frame: its normalised lines in "APPFrame.DAT" and its
// name, time of saving and inclusion in "KTX4.INI", section "AltKeyAnalysis".
namespace kestrix::keyanalysis {

class FrameStore final
{
public:
    FrameStore(std::filesystem::path frameFile, runtime::IniFile programIni)
        : m_file(std::move(frameFile)), m_ini(std::move(programIni))
    {
    }
    static FrameStore inDataDirectory();

    // The frame lines, empty when the file cannot be read (the frame then counts as missing).
    std::optional<std::vector<std::string>> lines() const;
    bool save(const std::vector<std::string>& codeLines, const std::string& title,
              std::chrono::system_clock::time_point when = std::chrono::system_clock::now()) const;
    std::string name() const;
    std::string lastUpdate() const;
    bool include() const;
    void setInclude(bool on) const;

private:
    std::filesystem::path m_file;
    runtime::IniFile m_ini;
};

// "mm/dd/yy hh:mmAM", as the frame's time of saving is shown.
std::string frameTimestamp(std::chrono::system_clock::time_point when);

} // namespace kestrix::keyanalysis
