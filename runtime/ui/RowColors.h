#pragma once

class QTreeWidgetItem;
class QWidget;

// Row colours of a list drawn readable in a light theme and a dark one alike.
namespace kestrix::runtime {

// Sets the row's colours (0x00BBGGRR, -1 for the list's own) on its first `columns` cells; the text colour
// is chosen against the background the row is actually drawn on.
void paintRow(QTreeWidgetItem* item, int columns, long foreground, long background);

// A list in bold, or back in its own weight: a window's "Make List Box Font Bold" flag.
void showListBold(QWidget* list, bool bold);

} // namespace kestrix::runtime
