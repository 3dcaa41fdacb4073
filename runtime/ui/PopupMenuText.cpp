#include "runtime/ui/PopupMenuText.h"

#include <QAction>
#include <QMenu>

namespace kestrix::runtime {

void fillPopupMenu(QMenu* menu, const QString& text)
{
    int number = 0;
    for (QString item : text.split(QLatin1Char('|'))) {
        if (item == QLatin1String("-")) {
            menu->addSeparator();
            continue;
        }
        ++number;
        const bool disabled = item.startsWith(QLatin1Char('~'));
        if (disabled)
            item.remove(0, 1);
        QAction* action = menu->addAction(item);
        action->setData(number);
        action->setEnabled(!disabled);
    }
}

int popupMenuChoice(QWidget* parent, const QString& text, const QPoint& where)
{
    QMenu menu(parent);
    menu.setObjectName(QStringLiteral("popupMenu"));
    fillPopupMenu(&menu, text);
    const QAction* chosen = menu.exec(where);
    return chosen ? chosen->data().toInt() : 0;
}

} // namespace kestrix::runtime
