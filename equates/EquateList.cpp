#include "equates/EquateList.h"

#include "equates/EquateRecord.h"
#include "runtime/FixedText.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace kestrix::equates {

namespace {
constexpr std::int64_t LowestLong = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t HighestLong = std::numeric_limits<std::int32_t>::max();
constexpr const char* MarkerType = "Z-Type";
} // namespace

EquateRow equateRow(const runtime::Record& r)
{
    EquateRow row;
    row.type = r.text(Equ::Type);
    row.searchName = r.text(Equ::SearchName);
    row.equate = r.text(Equ::Equate);
    row.notes = r.text(Equ::Notes);
    row.value = r.number(Equ::Long);
    row.hex = r.text(Equ::Hex);
    row.name = r.text(Equ::Name);
    row.file = r.text(Equ::File);
    row.loadSeq = r.number(Equ::LoadSeq);
    row.position = r.position();
    return row;
}

bool equateRowMatches(const EquateRow& row, const runtime::TextFilter& filter)
{
    return filter.empty() || filter.matches(row.searchName) || filter.matches(row.equate) ||
           filter.matches(row.notes) || filter.matches(std::to_string(row.value)) ||
           filter.matches(row.hex) || filter.matches(row.name) || filter.matches(row.file);
}

const std::vector<std::string>& equateOrderNames()
{
    static const std::vector<std::string> names = {"Name", "Sequence", "Long"};
    return names;
}

std::vector<std::string> EquateList::types()
{
    std::vector<std::string> names;
    runtime::Record r = m_file.newRecord();
    r.setText(Equ::Type, MarkerType);
    m_file.setFrom(Equ::ByType, r);
    while (m_file.next(r).ok() && runtime::sameTextNoCase(r.text(Equ::Type), MarkerType))
        names.push_back(r.text(Equ::Name));
    return names;
}

void EquateList::show(std::string type, EquateOrder order)
{
    m_type = std::move(type);
    m_order = order;
}

int EquateList::key() const
{
    switch (m_order) {
    case EquateOrder::Sequence:
        return Equ::BySeq;
    case EquateOrder::Long:
        return Equ::ByLong;
    case EquateOrder::Name:
        break;
    }
    return Equ::ByType;
}

runtime::Record EquateList::startRecord() const
{
    runtime::Record r = m_file.newRecord();
    r.setText(Equ::Type, m_type);
    r.setNumber(Equ::Long, LowestLong);
    r.setNumber(Equ::LoadSeq, LowestLong);
    return r;
}

bool EquateList::inType(const runtime::Record& record) const
{
    return runtime::sameTextNoCase(record.text(Equ::Type), m_type);
}

bool EquateList::sameKey(const EquateRow& a, const EquateRow& b) const
{
    switch (m_order) {
    case EquateOrder::Sequence:
        return a.loadSeq == b.loadSeq;
    case EquateOrder::Long:
        return a.value == b.value;
    case EquateOrder::Name:
        break;
    }
    return runtime::sameTextNoCase(a.searchName, b.searchName);
}

// Records of equal key follow their position; `skipThrough` is the row to read on from.
std::vector<EquateRow> EquateList::walk(const runtime::Record& from, std::size_t count, bool forward,
                                        const EquateRow* skipThrough)
{
    std::vector<EquateRow> rows;
    if (m_type.empty() || count == 0)
        return rows;
    m_file.setFrom(key(), from);
    runtime::Record r = m_file.newRecord();
    while (rows.size() < count && (forward ? m_file.next(r) : m_file.previous(r)).ok()) {
        if (!inType(r))
            break;
        EquateRow row = equateRow(r);
        if (!equateRowMatches(row, m_filter))
            continue;
        if (skipThrough && sameKey(row, *skipThrough) &&
            (forward ? row.position <= skipThrough->position : row.position >= skipThrough->position))
            continue;
        rows.push_back(std::move(row));
    }
    if (!forward)
        std::reverse(rows.begin(), rows.end());
    return rows;
}

std::optional<EquateRow> EquateList::find(std::int64_t position, std::string_view type, std::string_view name)
{
    const auto wanted = [type, name](const runtime::Record& r) {
        return runtime::sameTextNoCase(r.text(Equ::Type), type) &&
               (name.empty() || runtime::sameTextNoCase(r.text(Equ::Name), name));
    };
    runtime::Record record = m_file.newRecord();
    if (m_file.fetch(position, record).ok() && wanted(record))
        return equateRow(record);
    if (name.empty())
        return std::nullopt;
    runtime::Record start = m_file.newRecord();
    start.setText(Equ::Type, std::string(type));
    start.setNumber(Equ::Long, std::numeric_limits<std::int32_t>::min());
    start.setNumber(Equ::LoadSeq, std::numeric_limits<std::int32_t>::min());
    m_file.setFrom(Equ::ByType, start);
    while (m_file.next(record).ok() && runtime::sameTextNoCase(record.text(Equ::Type), type)) {
        if (wanted(record))
            return equateRow(record);
    }
    return std::nullopt;
}

std::vector<EquateRow> EquateList::first(std::size_t count)
{
    return walk(startRecord(), count, true, nullptr);
}

namespace {
runtime::Record keyRecord(runtime::Record r, const EquateRow& row)
{
    r.setText(Equ::Type, row.type);
    r.setText(Equ::SearchName, row.searchName);
    r.setNumber(Equ::Long, row.value);
    r.setNumber(Equ::LoadSeq, row.loadSeq);
    return r;
}
} // namespace

std::vector<EquateRow> EquateList::after(const EquateRow& row, std::size_t count)
{
    return walk(keyRecord(m_file.newRecord(), row), count, true, &row);
}

std::vector<EquateRow> EquateList::before(const EquateRow& row, std::size_t count)
{
    return walk(keyRecord(m_file.newRecord(), row), count, false, &row);
}

std::optional<EquateRow> EquateList::locate(std::string_view typed)
{
    runtime::Record from = startRecord();
    const std::string_view text = runtime::trim(typed);
    if (m_order == EquateOrder::Name) {
        from.setText(Equ::SearchName, runtime::upper(text));
    } else if (!text.empty()) {
        std::int64_t number = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
        if (ec != std::errc() || end != text.data() + text.size())
            return std::nullopt;
        number = std::clamp(number, LowestLong, HighestLong);
        from.setNumber(m_order == EquateOrder::Long ? Equ::Long : Equ::LoadSeq, number);
    }
    std::vector<EquateRow> found = walk(from, 1, true, nullptr);
    if (found.empty()) {
        // Beyond the last row: the last one is the nearest.
        runtime::Record end = startRecord();
        end.setText(Equ::SearchName, std::string(30, '\xFF'));
        end.setNumber(Equ::Long, HighestLong);
        end.setNumber(Equ::LoadSeq, HighestLong);
        found = walk(end, 1, false, nullptr);
    }
    if (found.empty())
        return std::nullopt;
    return found.front();
}

} // namespace kestrix::equates
