#pragma once

#include "runtime/MenuItem.h"

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

// The same for a menu of items: each action's data is its item's id.
void fillPopupMenu(QMenu* menu, const std::vector<MenuItem>& items);
// The chosen item's id, SeparatorId when none.
int popupMenuChoice(QWidget* parent, const std::vector<MenuItem>& items, const QPoint& where);

} // namespace kestrix::runtime
