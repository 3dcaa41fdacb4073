#pragma once

#include <string>
#include <vector>

namespace kestrix::dictionary {

class ImportRun;

// The RELATION blocks of the [RELATIONS] section, gathered one at a time and
// written as "R" rows under both files, the cardinality turned for the second.
class RelationSection final
{
public:
    explicit RelationSection(ImportRun& run) : m_run(run) {}
    void read(const std::string& text);

private:
    struct Pair
    {
        std::string first;
        std::string second;
    };
    void addPair(const std::string& text, const std::string& label);
    void write();

    // One RELATION block as it is read.
    struct Block
    {
        bool open = false;
        std::string type;
        std::string specs;
        int segment = 0;
        int level = 0;
        std::string file1, file2, key1, key2;
        std::vector<Pair> fields1, fields2;
        int beyond = 0; // pairs past a segment's room, left out
    };

    ImportRun& m_run;
    Block m_block;
};

} // namespace kestrix::dictionary
