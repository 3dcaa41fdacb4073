#pragma once

#include "runtime/FileError.h"
#include "runtime/Record.h"

#include <cstdint>
#include <vector>

// Sequential reading of a keyed file: SET(file) / SET(key) / SET(key, key), then
// NEXT or PREVIOUS. A NEXT or PREVIOUS that no SET started is refused: reading
// on from wherever an earlier walk or lookup left off gives the wrong records.
namespace kestrix::runtime {

class KeyedConnection;
class KeyedSchema;

class KeyedCursor final
{
public:
    static constexpr int FileOrder = -1;

    void setOrder(int key);
    void setFrom(const KeyedSchema& schema, int key, const Record& start);
    // Forgets the position: the next NEXT or PREVIOUS needs a SET first.
    void reset() { *this = {}; }
    bool isSet() const { return m_set; }

    FileError step(KeyedConnection& connection, const KeyedSchema& schema, bool forward, Record& record);

private:
    int m_key = FileOrder;
    bool m_set = false;
    bool m_started = false;                 // a record was returned since SET
    bool m_hasStart = false;                // SET(key, key) given
    std::vector<Record::Value> m_keyValues; // start, then the last record's key values
    std::int64_t m_rowid = 0;
    int m_beyond = 0; // +1 after NEXT ran off the end, -1 after PREVIOUS ran off the start
};

} // namespace kestrix::runtime
