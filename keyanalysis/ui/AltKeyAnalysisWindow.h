#pragma once

#include "keyanalysis/WindowAnalysis.h"
#include "runtime/SystemClipboard.h"
#include "runtime/ui/ToolWindow.h"

#include <functional>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTreeWidget;

namespace kestrix::keyanalysis {

// "Window Key Analysis": shows what WindowAnalysis found in the structure on the clipboard.
class AltKeyAnalysisWindow final : public runtime::ToolWindow
{
    Q_OBJECT

public:
    AltKeyAnalysisWindow(runtime::DialogService& dialogs, runtime::SystemClipboard& clipboard,
                         FrameStore frames, bool showDebugTabs, runtime::ToolRegistry& registry,
                         runtime::WindowPositionStore positions, QWidget* parent = nullptr);

    // The Tab Selection window by default; tests put their own answer here.
    void setTabChooser(TabChooser chooser) { m_chooseTab = std::move(chooser); }
    void readClipboard();
    const WindowAnalysis& analysis() const { return m_analysis; }
    QTabWidget* tabs() const { return m_tabs; }

private:
    void refresh();
    void showSuggestions(int row);

    runtime::DialogService& m_dialogs;
    runtime::SystemClipboard& m_clipboard;
    WindowAnalysis m_analysis;
    TabChooser m_chooseTab;
    QTabWidget* m_tabs = nullptr;
    QTreeWidget* m_alt = nullptr;
    QTreeWidget* m_hot = nullptr;
    QTreeWidget* m_menu = nullptr;
    QListWidget* m_code = nullptr;
    QTreeWidget* m_read = nullptr;
    QTreeWidget* m_debug = nullptr;
    QComboBox* m_sort = nullptr;
    QLabel* m_frameName = nullptr;
    QLabel* m_frameUpdate = nullptr;
    QLabel* m_frameStatus = nullptr;
    QPushButton* m_include = nullptr;
    QPushButton* m_save = nullptr;
};

// The Tab Selection window over the tabs of the first sheet.
TabChoice chooseTabInteractively(QWidget* parent, const std::vector<TabEntry>& tabs);

} // namespace kestrix::keyanalysis
