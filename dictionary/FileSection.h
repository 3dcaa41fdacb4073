#pragma once

#include "dictionary/FieldLine.h"
#include "dictionary/KeyLine.h"

#include <string>
#include <string_view>

namespace kestrix::dictionary {

class ImportRun;

// The lines of the [FILES] section: the FILE line with its attributes and the
// user options before it, then the file's declaration lines (each kept as a
// DEF row), its keys, its fields and the RECORD, GROUP and END lines that
// give the fields their levels.
class FileSection final
{
public:
    explicit FileSection(ImportRun& run) : m_run(run), m_keys(run), m_fields(run) {}
    // The section header: the file state starts afresh.
    void start();
    void read(std::string text);

private:
    void newFile(const std::string& text);
    void addDeclaration(std::string_view line);
    ImportRun& m_run;
    KeyLine m_keys;
    FieldLine m_fields;
    std::string m_pendingUserOptions;
};

} // namespace kestrix::dictionary
