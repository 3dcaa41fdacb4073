#include "runtime/ui/BrowseList.h"

#include "runtime/ui/FilterBox.h"
#include "runtime/ui/QtText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kestrix::runtime {

namespace {
constexpr int RowRole = Qt::UserRole + 1;
}

BrowseList::BrowseList(const QStringList& headers, QLineEdit* locator, QWidget* parent)
    : QTreeWidget(parent), m_locator(locator)
{
    setHeaderLabels(headers);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    m_locator->setToolTip(QStringLiteral("Enter Search Criteria"));
    connect(m_locator, &QLineEdit::textChanged, this, &BrowseList::applyLocator);
    connect(m_locator, &QLineEdit::returnPressed, this, [this] {
        if (const auto row = currentRow())
            emit activated(*row);
    });
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        emit activated(static_cast<std::size_t>(item->data(0, RowRole).toULongLong()));
    });
}

void BrowseList::setRows(const std::vector<QStringList>& rows, const std::vector<std::string>& keys)
{
    const auto keep = currentRow();
    clear();
    m_rows.clear();
    m_cells.clear();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        auto* item = new QTreeWidgetItem(this, rows[i]);
        item->setData(0, RowRole, static_cast<qulonglong>(i));
        m_rows.push_back({i < keys.size() ? keys[i] : std::string(), fromQt(rows[i].join(QLatin1Char('|')))});
        std::vector<std::string>& cells = m_cells.emplace_back();
        for (const QString& cell : rows[i])
            cells.push_back(fromQt(cell));
    }
    applyLocator();
    if (keep && *keep < rows.size() && m_locator->text().isEmpty())
        setCurrentRow(*keep);
}

std::optional<std::size_t> BrowseList::currentRow() const
{
    const QTreeWidgetItem* item = currentItem();
    if (!item || item->isHidden())
        return std::nullopt;
    return static_cast<std::size_t>(item->data(0, RowRole).toULongLong());
}

void BrowseList::setCurrentRow(std::size_t row)
{
    if (QTreeWidgetItem* item = topLevelItem(static_cast<int>(row)); item && !item->isHidden()) {
        setCurrentItem(item);
        scrollToItem(item);
    }
}

void BrowseList::setBold(bool bold)
{
    QFont f = font();
    f.setBold(bold);
    setFont(f);
}

void BrowseList::setFilterBox(FilterBox* box)
{
    m_filter = box;
    connect(box, &FilterBox::filterChanged, this, &BrowseList::applyLocator);
    applyLocator();
}

void BrowseList::applyLocator()
{
    // The locator sees only the rows the filter keeps; `kept` maps its rows back to the list's.
    std::vector<std::size_t> kept;
    std::vector<LocatorRow> keptRows;
    const TextFilter filter = m_filter ? m_filter->filter() : TextFilter();
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (filter.matchesAny(m_cells[i])) {
            kept.push_back(i);
            keptRows.push_back(m_rows[i]);
        }
    }
    const LocatorResult result = locate(keptRows, fromQt(m_locator->text()));
    std::vector<bool> shown(m_rows.size(), false);
    for (std::size_t i : result.visible)
        shown[kept[i]] = true;
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        topLevelItem(static_cast<int>(i))->setHidden(!shown[i]);
    if (result.current)
        setCurrentRow(kept[*result.current]);
    else
        setCurrentItem(nullptr);
}

QPushButton* addBrowseButton(QBoxLayout* row, QWidget* parent, const QString& text, const char* objectName)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

QHBoxLayout* filterRowFor(BrowseList* list, QWidget* parent)
{
    auto* box = new FilterBox(parent);
    list->setFilterBox(box);
    return filterRow(parent, box);
}

QHBoxLayout* locatorRow(QWidget* parent, QLineEdit* locator)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Locate:"), parent));
    row->addWidget(locator);
    return row;
}

} // namespace kestrix::runtime
