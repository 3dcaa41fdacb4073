#include "config/Session.h"

#include "config/ConfigRecord.h"
#include "config/Settings.h"
#include "runtime/WinPath.h"

namespace kestrix::config {

Session::Session(runtime::DialogService& dialogs, data::OpenOptions openOptions)
    : m_dialogs(dialogs), m_clipboard(m_ownClipboard), m_clipboardQueue(m_clipboard),
      m_files(dialogs, openOptions), m_configuration(defaultConfig())
{
}

Session::Session(runtime::DialogService& dialogs, runtime::SystemClipboard& clipboard,
                 data::OpenOptions openOptions)
    : m_dialogs(dialogs), m_clipboard(clipboard), m_clipboardQueue(m_clipboard),
      m_files(dialogs, openOptions), m_configuration(defaultConfig())
{
}

std::string Session::putCodeOnClipboard(std::span<const std::string> source, clipboard::ClipMode mode,
                                        bool addLineEnds)
{
    return m_clipboardQueue.put(source, mode, addLineEnds, m_configuration.number(Cfg::LowerCase) != 0);
}

std::string Session::putCode(std::span<const std::string> source)
{
    return putCodeOnClipboard(
        source, m_modes.clipAddMode ? clipboard::ClipMode::Add : clipboard::ClipMode::Change, true);
}

runtime::IniFile Session::programIni() const
{
    return runtime::IniFile(runtime::resolveWinPath(Ini::ProgramFile));
}

runtime::IniFile Session::windowsIni() const
{
    return runtime::IniFile(runtime::resolveWinPath(Ini::WindowsFile));
}

runtime::IniFile Session::listsIni() const
{
    return runtime::IniFile(runtime::resolveWinPath(Ini::ListsFile));
}

void Session::setAbcMode(bool on)
{
    m_modes.abcMode = on;
    programIni().setNumber(Ini::AbcSection, Ini::AbcModeEntry, on ? 1 : 0);
}

} // namespace kestrix::config
