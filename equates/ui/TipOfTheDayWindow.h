#pragma once

#include "equates/TipsFile.h"
#include "runtime/ui/ToolWindow.h"

class QCheckBox;
class QTextBrowser;

namespace kestrix::equates {

// "Tip of the Day": pages through the tips file.
class TipOfTheDayWindow final : public runtime::ToolWindow
{
    Q_OBJECT

public:
    TipOfTheDayWindow(runtime::KeyedFile& tips, runtime::IniFile programIni, bool boldText,
                      runtime::ToolRegistry& registry, runtime::WindowPositionStore positions,
                      QWidget* parent = nullptr);

    // False when there is no tip to show (the window should not open).
    bool showNext();
    bool showPrevious();
    QString currentText() const;

private:
    bool show(const std::optional<ShownTip>& tip);

    TipBrowser m_browser;
    QTextBrowser* m_text = nullptr;
    QCheckBox* m_onStartup = nullptr;
};

} // namespace kestrix::equates
