#include "runtime/ui/PopupMenuText.h"

#include "runtime/TextCodec.h"

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

void fillPopupMenu(QMenu* menu, const std::vector<MenuItem>& items)
{
    for (const MenuItem& item : items) {
        if (item.id == SeparatorId) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromStdString(cp1252ToUtf8(item.text)));
        action->setData(item.id);
        action->setEnabled(item.enabled);
    }
}

int popupMenuChoice(QWidget* parent, const std::vector<MenuItem>& items, const QPoint& where)
{
    QMenu menu(parent);
    menu.setObjectName(QStringLiteral("popupMenu"));
    fillPopupMenu(&menu, items);
    const QAction* chosen = menu.exec(where);
    return chosen ? chosen->data().toInt() : SeparatorId;
}

} // namespace kestrix::runtime
