#include "runtime/ui/HelpRequest.h"

#include <QShortcut>
#include <QWidget>

namespace kestrix::runtime {

namespace {
std::function<void(const QString&)>& handler()
{
    static std::function<void(const QString&)> current;
    return current;
}
} // namespace

void setHelpHandler(std::function<void(const QString& topic)> handler_)
{
    handler() = std::move(handler_);
}

void requestHelp(const QString& topic)
{
    if (handler())
        handler()(topic);
}

void addHelpKey(QWidget* widget, const QString& topic)
{
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), widget);
    key->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(key, &QShortcut::activated, widget, [topic] { requestHelp(topic); });
}

} // namespace kestrix::runtime
