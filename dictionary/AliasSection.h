#pragma once

#include <string>

namespace kestrix::dictionary {

class ImportRun;

// The lines of the [ALIASES] section: a file record of its own for each alias
// and a "Z" row under it and under the file it aliases.
class AliasSection final
{
public:
    explicit AliasSection(ImportRun& run) : m_run(run) {}
    void read(const std::string& text);

private:
    ImportRun& m_run;
};

} // namespace kestrix::dictionary
