#include "config/Session.h"

#include "config/ConfigRecord.h"
#include "config/Settings.h"
#include "runtime/WinPath.h"

namespace kestrix::config {

Session::Session(runtime::DialogService& dialogs, data::OpenOptions openOptions)
    : m_dialogs(dialogs), m_files(dialogs, openOptions), m_configuration(defaultConfig())
{
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
