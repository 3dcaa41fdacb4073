#pragma once

#include "runtime/TextFilter.h"

#include <QLineEdit>

class QHBoxLayout;
class QListWidget;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

// The filter box above a list: rows that do not hold the typed text in one of
// their shown columns are hidden; their order is left alone, so the sort stays.
// Esc empties the box (and, when it is empty already, goes on to the window).
namespace kestrix::runtime {

class FilterBox final : public QLineEdit
{
    Q_OBJECT

public:
    explicit FilterBox(QWidget* parent = nullptr);
    TextFilter filter() const;

signals:
    void filterChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// "Filter:" and the box, for the row above a list.
QHBoxLayout* filterRow(QWidget* parent, FilterBox* box);

// Keeps `list` filtered by `box`: as the box changes, and as rows are added, changed or
// the list refilled. A parent row stays while a row under it matches.
void filterTree(FilterBox* box, QTreeWidget* list);
// The same for a list of one column.
void filterList(FilterBox* box, QListWidget* list);
// The same for a table: a row stays when one of its shown columns holds the text.
void filterTable(FilterBox* box, QTableWidget* table);
// Whether the item holds the text in one of the list's shown columns.
bool itemMatches(const QTreeWidget* list, const QTreeWidgetItem* item, const TextFilter& filter);

} // namespace kestrix::runtime
