#pragma once

#include "runtime/ListLocator.h"

#include <QStringList>
#include <QTreeWidget>

#include <optional>
#include <vector>

class QBoxLayout;
class QHBoxLayout;
class QLineEdit;
class QPushButton;

namespace kestrix::runtime {
class FilterBox;
}

// A browse list with its locator entry: rows in key order, jump on a typed
// prefix, narrowed to matching rows on any other text.
namespace kestrix::runtime {

class BrowseList final : public QTreeWidget
{
    Q_OBJECT

public:
    BrowseList(const QStringList& headers, QLineEdit* locator, QWidget* parent = nullptr);

    // `keys[i]` orders row i; the row's columns are what it shows and what a filter searches.
    void setRows(const std::vector<QStringList>& rows, const std::vector<std::string>& keys);
    // The highlighted row as an index into the rows given, if one is.
    std::optional<std::size_t> currentRow() const;
    void setCurrentRow(std::size_t row);
    void setBold(bool bold);
    // Rows the box's text is not in are left out; the locator works among the rest.
    void setFilterBox(FilterBox* box);

signals:
    void activated(std::size_t row); // double-click or Enter

private:
    void applyLocator();

    QLineEdit* m_locator;
    FilterBox* m_filter = nullptr;
    std::vector<LocatorRow> m_rows;
    std::vector<std::vector<std::string>> m_cells;
};

// The row of a browse's buttons: plain buttons that Enter in the list or locator does not press.
QPushButton* addBrowseButton(QBoxLayout* row, QWidget* parent, const QString& text, const char* objectName);
// A filter box for `list` with its label, for the row above the list.
QHBoxLayout* filterRowFor(BrowseList* list, QWidget* parent);
// "Locate:" and the locator entry.
QHBoxLayout* locatorRow(QWidget* parent, QLineEdit* locator);

} // namespace kestrix::runtime
