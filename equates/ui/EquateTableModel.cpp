#include "equates/ui/EquateTableModel.h"

#include "runtime/ui/QtText.h"

namespace kestrix::equates {

namespace {
enum Column { Name, Equate, Notes, Long, Hex, FullName, File, Columns };
} // namespace

int EquateTableModel::reload(const std::optional<EquateRow>& at)
{
    beginResetModel();
    m_rows.clear();
    int row = 0;
    if (at) {
        // Half a page either side: the row is shown in the middle, the rest is read as the view scrolls.
        const std::vector<EquateRow> before = m_list.before(*at, PageRows / 2);
        const std::vector<EquateRow> after = m_list.after(*at, PageRows / 2);
        m_rows.assign(before.begin(), before.end());
        m_rows.push_back(*at);
        m_rows.insert(m_rows.end(), after.begin(), after.end());
        row = static_cast<int>(before.size());
        m_atStart = before.size() < PageRows / 2;
        m_atEnd = after.size() < PageRows / 2;
    } else {
        const std::vector<EquateRow> first = m_list.first(PageRows);
        m_rows.assign(first.begin(), first.end());
        m_atStart = true;
        m_atEnd = first.size() < PageRows;
    }
    endResetModel();
    return row;
}

std::optional<EquateRow> EquateTableModel::rowAt(int row) const
{
    if (row < 0 || row >= rowCount())
        return std::nullopt;
    return m_rows[static_cast<std::size_t>(row)];
}

std::optional<int> EquateTableModel::rowOf(std::int64_t position) const
{
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].position == position)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

int EquateTableModel::fetchPrevious()
{
    if (m_atStart || m_rows.empty())
        return 0;
    const std::vector<EquateRow> before = m_list.before(m_rows.front(), PageRows);
    m_atStart = before.size() < PageRows;
    if (before.empty())
        return 0;
    beginInsertRows({}, 0, static_cast<int>(before.size()) - 1);
    m_rows.insert(m_rows.begin(), before.begin(), before.end());
    endInsertRows();
    return static_cast<int>(before.size());
}

int EquateTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int EquateTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant EquateTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const EquateRow& row = m_rows[static_cast<std::size_t>(index.row())];
    if (role == Qt::TextAlignmentRole && index.column() == Long)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Name:
        return runtime::toQt(row.searchName);
    case Equate:
        return runtime::toQt(row.equate);
    case Notes:
        return runtime::toQt(row.notes);
    case Long:
        return QString::number(row.value);
    case Hex:
        return runtime::toQt(row.hex);
    case FullName:
        return runtime::toQt(row.name);
    case File:
        return runtime::toQt(row.file);
    default:
        return {};
    }
}

QVariant EquateTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const headers[] = {"Name", "Equate",           "Notes", "Long",
                                          "Hex",  "Full Equate Name", "File"};
    return section >= 0 && section < Columns ? QString::fromLatin1(headers[section]) : QVariant();
}

bool EquateTableModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && !m_atEnd;
}

void EquateTableModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || m_atEnd || m_rows.empty())
        return;
    const std::vector<EquateRow> after = m_list.after(m_rows.back(), PageRows);
    m_atEnd = after.size() < PageRows;
    if (after.empty())
        return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(after.size()) - 1);
    m_rows.insert(m_rows.end(), after.begin(), after.end());
    endInsertRows();
}

} // namespace kestrix::equates
