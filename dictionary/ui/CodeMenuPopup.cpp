#include "dictionary/ui/CodeMenuPopup.h"

#include "runtime/ui/PopupMenuText.h"
#include "runtime/ui/QtText.h"

#include <QAction>
#include <QMenu>

namespace kestrix::dictionary {

void fillCodeMenu(QMenu* menu, const CodeMenu& items)
{
    for (const CodeMenuEntry& entry : items) {
        if (!entry.submenu.empty()) {
            QMenu* sub = menu->addMenu(runtime::toQt(entry.item.text));
            runtime::fillPopupMenu(sub, entry.submenu);
        } else {
            runtime::fillPopupMenu(menu, std::vector<runtime::MenuItem>{entry.item});
        }
    }
}

int codeMenuChoice(QWidget* parent, const CodeMenu& items, const QPoint& where)
{
    QMenu menu(parent);
    menu.setObjectName(QStringLiteral("popupMenu"));
    fillCodeMenu(&menu, items);
    const QAction* chosen = menu.exec(where);
    return chosen ? chosen->data().toInt() : 0;
}

} // namespace kestrix::dictionary
