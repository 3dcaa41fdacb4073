#pragma once

#include "dictionary/CodeMenu.h"

#include <QPoint>

class QMenu;
class QWidget;

// Draws a dictionary code menu, submenus included, and returns the chosen id.
namespace kestrix::dictionary {

void fillCodeMenu(QMenu* menu, const CodeMenu& items);
// The chosen item's id, 0 when the menu was closed without a choice.
int codeMenuChoice(QWidget* parent, const CodeMenu& items, const QPoint& where);

} // namespace kestrix::dictionary
