#include "app/ui/ToolTipSwitch.h"

#include <QEvent>

namespace kestrix::app {

bool ToolTipSwitch::eventFilter(QObject* watched, QEvent* event)
{
    if (m_off && event->type() == QEvent::ToolTip)
        return true;
    return QObject::eventFilter(watched, event);
}

} // namespace kestrix::app
