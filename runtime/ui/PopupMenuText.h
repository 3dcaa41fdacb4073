#pragma once

#include <QPoint>
#include <QString>

class QMenu;
class QWidget;

// Popup menus written as one text: items between "|", "-" a separator, "~"
// before a disabled item, a tab before the shortcut shown.
namespace kestrix::runtime {

// Fills `menu`; each item's data is its 1-based number among the items.
void fillPopupMenu(QMenu* menu, const QString& text);
// Shows the menu at `where`; the chosen item's number, 0 when none.
int popupMenuChoice(QWidget* parent, const QString& text, const QPoint& where);

} // namespace kestrix::runtime
