#pragma once

#include "runtime/KeyedFile.h"
#include "runtime/TextFilter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The equates of one type in one of the Equate Helper's sort orders, read from
// the key a page at a time, so a long type is never read whole.
namespace kestrix::equates {

enum class EquateOrder { Name, Sequence, Long };

struct EquateRow final
{
    std::string type;
    std::string searchName;
    std::string equate;
    std::string notes;
    std::int64_t value = 0;
    std::string hex;
    std::string name;
    std::string file;
    std::int64_t loadSeq = 0;
    std::int64_t position = 0; // to fetch the record again
};

EquateRow equateRow(const runtime::Record& record);
// Whether the filter's text is in one of the columns the Equate Helper shows for the row.
bool equateRowMatches(const EquateRow& row, const runtime::TextFilter& filter);
// "Name", "Sequence", "Long" in the order of the Sort list.
const std::vector<std::string>& equateOrderNames();

class EquateList final
{
public:
    explicit EquateList(runtime::KeyedFile& equates) : m_file(equates) {}

    // The equate a search found as record `position`, when it still is that equate of `type` (named `name`
    // when one is given); otherwise, since a load renumbers the records, the one named `name` in `type`.
    std::optional<EquateRow> find(std::int64_t position, std::string_view type, std::string_view name);

    // The categories: the names of the "Z-Type" marker records, in name order.
    std::vector<std::string> types();

    void show(std::string type, EquateOrder order);
    const std::string& type() const { return m_type; }
    EquateOrder order() const { return m_order; }
    // Rows without the text are passed over by every read below, in the same key order. The cost
    // is a read of the type's records up to the first page of rows that hold it.
    void setFilter(runtime::TextFilter filter) { m_filter = std::move(filter); }
    const runtime::TextFilter& filter() const { return m_filter; }

    // Up to `count` rows from the start of the type.
    std::vector<EquateRow> first(std::size_t count);
    // Up to `count` rows following `row`, in order.
    std::vector<EquateRow> after(const EquateRow& row, std::size_t count);
    // Up to `count` rows preceding `row`, in order (the nearest one last).
    std::vector<EquateRow> before(const EquateRow& row, std::size_t count);
    // The first row whose sort field is not below what was typed (the short name's leading
    // characters, or a number for the numeric orders); the last row when every one is below.
    // Nothing for a type without rows or a number that is not one.
    std::optional<EquateRow> locate(std::string_view typed);

private:
    int key() const;
    runtime::Record startRecord() const;
    bool inType(const runtime::Record& record) const;
    bool sameKey(const EquateRow& a, const EquateRow& b) const;
    std::vector<EquateRow> walk(const runtime::Record& from, std::size_t count, bool forward,
                                const EquateRow* skipThrough);

    runtime::KeyedFile& m_file;
    std::string m_type;
    EquateOrder m_order = EquateOrder::Name;
    runtime::TextFilter m_filter;
};

} // namespace kestrix::equates
