#pragma once

#include "clipboard/ClipboardQueue.h"
#include "runtime/DialogService.h"
#include "runtime/ui/ToolWindow.h"

#include <functional>

class QListWidget;

namespace kestrix::clipboard {

// "Clipboard Queue": the lines the clipboard queue now holds, one row each.
class ClipViewWindow final : public runtime::ToolWindow
{
    Q_OBJECT

public:
    // `font` is read again whenever the configuration changes.
    ClipViewWindow(ClipboardQueue& queue, std::function<runtime::FontSpec()> font,
                   runtime::ToolRegistry& registry, runtime::WindowPositionStore positions,
                   QWidget* parent = nullptr);
    ~ClipViewWindow() override;

    void refresh();
    QListWidget* list() const { return m_list; }
    void deliver(runtime::ToolEvent event) override;

protected:
    void showEvent(QShowEvent* event) override;
    void onConfigurationChanged() override;

private:
    ClipboardQueue& m_queue;
    std::function<runtime::FontSpec()> m_font;
    ClipboardQueue::ListenerId m_listener = 0;
    QListWidget* m_list = nullptr;
};

} // namespace kestrix::clipboard
