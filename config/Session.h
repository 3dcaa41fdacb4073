#pragma once

#include "clipboard/ClipboardQueue.h"
#include "config/DraggedFields.h"
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
    // Without a system clipboard the session keeps one of its own (command line, tests).
    explicit Session(runtime::DialogService& dialogs, data::OpenOptions openOptions = {});
    Session(runtime::DialogService& dialogs, runtime::SystemClipboard& clipboard,
            data::OpenOptions openOptions = {});

    runtime::DialogService& dialogs() { return m_dialogs; }
    data::DataFileRegistry& files() { return m_files; }
    runtime::ToolRegistry& tools() { return m_tools; }
    GlobalModes& modes() { return m_modes; }
    // The one configuration buffer all windows read; only the Configuration window writes it.
    runtime::Record& configuration() { return m_configuration; }
    const runtime::Record& configuration() const { return m_configuration; }

    runtime::IniFile programIni() const; // "KTX4.INI"
    runtime::IniFile windowsIni() const; // "ktx5.INI"
    runtime::IniFile listsIni() const;   // "KTX.INI"
    runtime::WindowPositionStore positions() const { return runtime::WindowPositionStore(windowsIni()); }
    runtime::ListLayoutStore listLayouts() const { return runtime::ListLayoutStore(listsIni()); }

    void setAbcMode(bool on); // saved at every change

    // Hands generated lines to the clipboard queue, lower-cased when the
    // configuration asks for it; returns the clipboard text.
    std::string putCodeOnClipboard(std::span<const std::string> source, clipboard::ClipMode mode,
                                   bool addLineEnds);
    // The same in the current clipboard mode, with a line end added to every line.
    std::string putCode(std::span<const std::string> source);
    clipboard::ClipboardQueue& clipboardQueue() { return m_clipboardQueue; }
    runtime::SystemClipboard& systemClipboard() { return m_clipboard; }
    // Refilled by the dictionary tree at every drag.
    DraggedFieldList& draggedFields() { return m_draggedFields; }

private:
    runtime::DialogService& m_dialogs;
    runtime::MemoryClipboard m_ownClipboard;
    runtime::SystemClipboard& m_clipboard;
    clipboard::ClipboardQueue m_clipboardQueue;
    data::DataFileRegistry m_files;
    runtime::ToolRegistry m_tools;
    GlobalModes m_modes;
    runtime::Record m_configuration;
    DraggedFieldList m_draggedFields;
};

} // namespace kestrix::config
