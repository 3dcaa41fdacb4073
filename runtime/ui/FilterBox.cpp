#include "runtime/ui/FilterBox.h"

#include "runtime/ui/QtText.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QTableWidget>
#include <QTreeWidget>

#include <functional>

namespace kestrix::runtime {

FilterBox::FilterBox(QWidget* parent) : QLineEdit(parent)
{
    setObjectName(QStringLiteral("filter"));
    setPlaceholderText(QStringLiteral("Filter"));
    setToolTip(QStringLiteral("Shows only the rows that contain this text; Esc clears it"));
    setClearButtonEnabled(true);
    connect(this, &QLineEdit::textChanged, this, &FilterBox::filterChanged);
}

TextFilter FilterBox::filter() const
{
    return TextFilter(fromQt(text()));
}

void FilterBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && !text().isEmpty()) {
        clear();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

QHBoxLayout* filterRow(QWidget* parent, FilterBox* box)
{
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Filte&r:"), parent);
    label->setBuddy(box);
    row->addWidget(label);
    row->addWidget(box, 1);
    return row;
}

bool itemMatches(const QTreeWidget* list, const QTreeWidgetItem* item, const TextFilter& filter)
{
    if (filter.empty())
        return true;
    for (int c = 0; c < list->columnCount(); ++c) {
        if (!list->isColumnHidden(c) && filter.matches(fromQt(item->text(c))))
            return true;
    }
    return false;
}

namespace {

// Returns whether the item stays shown.
bool applyTo(QTreeWidget* list, QTreeWidgetItem* item, const TextFilter& filter)
{
    bool childShown = false;
    for (int i = 0; i < item->childCount(); ++i)
        childShown = applyTo(list, item->child(i), filter) || childShown;
    const bool shown = childShown || itemMatches(list, item, filter);
    item->setHidden(!shown);
    return shown;
}

void applyAll(QTreeWidget* list, const TextFilter& filter)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        applyTo(list, list->topLevelItem(i), filter);
    if (const QTreeWidgetItem* current = list->currentItem(); current && current->isHidden())
        list->setCurrentItem(nullptr);
}

// A row added or changed: it and the rows above it, which may now have a matching row under them.
void applyAround(QTreeWidget* list, const QModelIndex& index, const TextFilter& filter)
{
    QTreeWidgetItem* item = list->itemFromIndex(index);
    if (!item)
        return;
    bool shown = applyTo(list, item, filter);
    for (QTreeWidgetItem* parent = item->parent(); parent; parent = parent->parent()) {
        shown = shown || itemMatches(list, parent, filter);
        if (shown)
            parent->setHidden(false);
        else
            applyTo(list, parent, filter);
    }
}

// Rows added to or changed in a flat list go through `apply` as well.
void refilterNewRows(QAbstractItemView* view, const std::function<void(int, int)>& apply)
{
    QAbstractItemModel* model = view->model();
    QObject::connect(model, &QAbstractItemModel::rowsInserted, view,
                     [apply](const QModelIndex&, int first, int last) { apply(first, last); });
    QObject::connect(model, &QAbstractItemModel::dataChanged, view,
                     [apply](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                         apply(topLeft.row(), bottomRight.row());
                     });
}

} // namespace

void filterTree(FilterBox* box, QTreeWidget* list)
{
    QObject::connect(box, &FilterBox::filterChanged, list, [box, list] { applyAll(list, box->filter()); });
    QAbstractItemModel* model = list->model();
    QObject::connect(model, &QAbstractItemModel::rowsInserted, list,
                     [box, list, model](const QModelIndex& parent, int first, int last) {
                         const TextFilter filter = box->filter();
                         if (filter.empty())
                             return;
                         for (int row = first; row <= last; ++row)
                             applyAround(list, model->index(row, 0, parent), filter);
                     });
    QObject::connect(model, &QAbstractItemModel::dataChanged, list,
                     [box, list](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                         const TextFilter filter = box->filter();
                         if (filter.empty())
                             return;
                         for (int row = topLeft.row(); row <= bottomRight.row(); ++row)
                             applyAround(list, topLeft.siblingAtRow(row), filter);
                     });
}

void filterList(FilterBox* box, QListWidget* list)
{
    const auto apply = [box, list](int first, int last) {
        const TextFilter filter = box->filter();
        for (int row = first; row <= last; ++row) {
            QListWidgetItem* item = list->item(row);
            item->setHidden(!filter.matches(fromQt(item->text())));
        }
        if (const QListWidgetItem* current = list->currentItem(); current && current->isHidden())
            list->setCurrentItem(nullptr);
    };
    QObject::connect(box, &FilterBox::filterChanged, list, [list, apply] { apply(0, list->count() - 1); });
    refilterNewRows(list, apply);
}

void filterTable(FilterBox* box, QTableWidget* table)
{
    const auto apply = [box, table](int first, int last) {
        const TextFilter filter = box->filter();
        for (int row = first; row <= last; ++row) {
            bool shown = filter.empty();
            for (int c = 0; !shown && c < table->columnCount(); ++c) {
                const QTableWidgetItem* item = table->item(row, c);
                shown = item && !table->isColumnHidden(c) && filter.matches(fromQt(item->text()));
            }
            table->setRowHidden(row, !shown);
        }
    };
    QObject::connect(box, &FilterBox::filterChanged, table,
                     [table, apply] { apply(0, table->rowCount() - 1); });
    refilterNewRows(table, apply);
}

} // namespace kestrix::runtime
