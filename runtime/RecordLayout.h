#pragma once

#include <string>
#include <vector>

// The declaration of a keyed file's record: its fields (fixed-length strings
// and integers, optionally dimensioned) and its keys.
namespace kestrix::runtime {

enum class FieldType { String, Byte, Short, Long };

struct FieldDef final
{
    std::string name; // without the prefix, e.g. "CWPATH", "LOOK:FONT"
    FieldType type = FieldType::String;
    int size = 0;      // declared length of a string
    int dims = 1;      // array elements
    int firstSlot = 0; // index of element 1 among the record's values
};

struct KeyDef final
{
    std::string name; // e.g. "BYNAME"
    std::vector<int> fields;
    bool unique = false;
    bool noCase = true;
    bool excludeBlank = true;
};

class RecordLayout final
{
public:
    explicit RecordLayout(std::string prefix) : m_prefix(std::move(prefix)) {}

    // Each returns the index of the new field or key.
    int addString(std::string name, int size, int dims = 1);
    int addNumber(std::string name, FieldType type, int dims = 1);
    int addKey(std::string name, std::vector<int> fields, bool unique = false, bool noCase = true,
               bool excludeBlank = true);

    const std::string& prefix() const { return m_prefix; }
    const std::vector<FieldDef>& fields() const { return m_fields; }
    const std::vector<KeyDef>& keys() const { return m_keys; }
    const FieldDef& field(int index) const { return m_fields.at(index); }
    int slotCount() const { return m_slots; }
    // Field index by name (with or without the prefix), -1 when unknown.
    int fieldIndex(const std::string& name) const;
    // SQL column of one element: "LOOK_FONT_3".
    std::string columnName(int field, int element = 1) const;
    void appendColumnName(std::string& out, int field, int element = 1) const;

private:
    std::string m_prefix;
    std::vector<FieldDef> m_fields;
    std::vector<KeyDef> m_keys;
    int m_slots = 0;
};

} // namespace kestrix::runtime
