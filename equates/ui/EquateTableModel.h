#pragma once

#include "equates/EquateList.h"

#include <QAbstractTableModel>

#include <deque>
#include <optional>

namespace kestrix::equates {

// The Equate Helper's list: the rows of an EquateList read a page at a time as
// the view scrolls towards either end, never the whole type at once.
class EquateTableModel final : public QAbstractTableModel
{
public:
    // A page is about two screens of rows: reading more before the view asks costs a seek per row.
    static constexpr std::size_t PageRows = 50;

    EquateTableModel(EquateList& list, QObject* parent) : QAbstractTableModel(parent), m_list(list) {}

    // Reads the first page, or the page around `at`; returns the row of `at` (0 without).
    int reload(const std::optional<EquateRow>& at);
    std::optional<EquateRow> rowAt(int row) const;
    // The row of the record at `position` among those read; nothing when it was not read.
    std::optional<int> rowOf(std::int64_t position) const;
    bool canFetchPrevious() const { return !m_atStart; }
    // Reads the page before the first row; returns how many rows were added at the top.
    int fetchPrevious();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    EquateList& m_list;
    std::deque<EquateRow> m_rows;
    bool m_atStart = true;
    bool m_atEnd = true;
};

} // namespace kestrix::equates
