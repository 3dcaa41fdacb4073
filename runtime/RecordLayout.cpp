#include "runtime/RecordLayout.h"

#include "runtime/FixedText.h"

#include <algorithm>

namespace kestrix::runtime {

int RecordLayout::addString(std::string name, int size, int dims)
{
    m_fields.push_back({std::move(name), FieldType::String, size, dims, m_slots});
    m_slots += dims;
    return static_cast<int>(m_fields.size()) - 1;
}

int RecordLayout::addNumber(std::string name, FieldType type, int dims)
{
    m_fields.push_back({std::move(name), type, 0, dims, m_slots});
    m_slots += dims;
    return static_cast<int>(m_fields.size()) - 1;
}

int RecordLayout::addKey(std::string name, std::vector<int> fields, bool unique, bool noCase,
                         bool excludeBlank)
{
    m_keys.push_back({std::move(name), std::move(fields), unique, noCase, excludeBlank});
    return static_cast<int>(m_keys.size()) - 1;
}

int RecordLayout::fieldIndex(const std::string& name) const
{
    std::string bare = name;
    const std::string withColon = m_prefix + ":";
    if (bare.size() > withColon.size() && sameTextNoCase(bare.substr(0, withColon.size()), withColon))
        bare = bare.substr(withColon.size());
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (sameTextNoCase(m_fields[i].name, bare))
            return static_cast<int>(i);
    }
    return -1;
}

std::string RecordLayout::columnName(int field, int element) const
{
    std::string column;
    appendColumnName(column, field, element);
    return column;
}

void RecordLayout::appendColumnName(std::string& out, int field, int element) const
{
    const FieldDef& def = m_fields.at(static_cast<std::size_t>(field));
    const std::size_t start = out.size();
    out += def.name;
    std::replace(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), ':', '_');
    if (def.dims > 1) {
        out += '_';
        out += std::to_string(element);
    }
}

} // namespace kestrix::runtime
