#pragma once

#include "config/GlobalModes.h"
#include "data/DataFileRegistry.h"
#include "runtime/DialogService.h"
#include "runtime/IniFile.h"
#include "runtime/Record.h"
#include "runtime/ToolRegistry.h"
#include "runtime/WindowPositionStore.h"

// What the frame and every tool share for the whole run: the dialogs, the data
// files with their use counts, the running tools, the configuration buffer and
// the global modes. Lives in the data directory (the current directory).
namespace kestrix::config {

class Session final
{
public:
    explicit Session(runtime::DialogService& dialogs, data::OpenOptions openOptions = {});

    runtime::DialogService& dialogs() { return m_dialogs; }
    data::DataFileRegistry& files() { return m_files; }
    runtime::ToolRegistry& tools() { return m_tools; }
    GlobalModes& modes() { return m_modes; }
    // The one configuration buffer all windows read; only the Configuration window writes it.
    runtime::Record& configuration() { return m_configuration; }
    const runtime::Record& configuration() const { return m_configuration; }

    runtime::IniFile programIni() const;   // "KTX4.INI"
    runtime::IniFile windowsIni() const;   // "ktx5.INI"
    runtime::IniFile listsIni() const;     // "KTX.INI"
    runtime::WindowPositionStore positions() const { return runtime::WindowPositionStore(windowsIni()); }
    runtime::ListLayoutStore listLayouts() const { return runtime::ListLayoutStore(listsIni()); }

    void setAbcMode(bool on);   // saved at every change

private:
    runtime::DialogService& m_dialogs;
    data::DataFileRegistry m_files;
    runtime::ToolRegistry m_tools;
    GlobalModes m_modes;
    runtime::Record m_configuration;
};

} // namespace kestrix::config
