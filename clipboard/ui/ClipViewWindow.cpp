#include "clipboard/ui/ClipViewWindow.h"

#include "runtime/ui/AppIcons.h"
#include "runtime/ui/FilterBox.h"
#include "runtime/ui/FontConversion.h"
#include "runtime/ui/QtText.h"

#include <QFontDatabase>
#include <QListWidget>
#include <QMetaObject>
#include <QVBoxLayout>

namespace kestrix::clipboard {

ClipViewWindow::ClipViewWindow(ClipboardQueue& queue, std::function<runtime::FontSpec()> font,
                               runtime::ToolRegistry& registry, runtime::WindowPositionStore positions,
                               QWidget* parent)
    : ToolWindow("ClipView", registry, std::move(positions), parent), m_queue(queue), m_font(std::move(font))
{
    setWindowTitle(QStringLiteral("Clipboard Queue"));
    setWindowIcon(runtime::appIcon("CLIPVIEW"));
    auto* body = new QWidget(this);
    m_list = new QListWidget(body);
    m_list->setObjectName(QStringLiteral("clipLines"));
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* filter = new runtime::FilterBox(body);
    runtime::filterList(filter, m_list);
    onConfigurationChanged();
    auto* layout = new QVBoxLayout(body);
    layout->addLayout(runtime::filterRow(body, filter));
    layout->addWidget(m_list);
    setWidget(body);
    resize(560, 320);
    refresh();
    // Any thread may change the queue; the list is redrawn on this window's own.
    m_listener = m_queue.subscribe([this] { QMetaObject::invokeMethod(this, &ClipViewWindow::refresh); });
}

void ClipViewWindow::onConfigurationChanged()
{
    runtime::applyFont(m_list, m_font ? m_font() : runtime::FontSpec{},
                       QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

ClipViewWindow::~ClipViewWindow()
{
    m_queue.unsubscribe(m_listener);
}

void ClipViewWindow::refresh()
{
    m_list->clear();
    for (std::string line : m_queue.lines()) {
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        m_list->addItem(runtime::toQt(line.substr(0, 255)));
    }
}

void ClipViewWindow::deliver(runtime::ToolEvent event)
{
    if (event == runtime::ToolEvent::Activate)
        refresh();
    ToolWindow::deliver(event);
}

void ClipViewWindow::showEvent(QShowEvent* event)
{
    refresh();
    ToolWindow::showEvent(event);
}

} // namespace kestrix::clipboard
