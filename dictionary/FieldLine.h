#pragma once

#include "runtime/Record.h"

#include <string>

namespace kestrix::dictionary {

class ImportRun;

// A field of a file (also MEMO, BLOB, GROUP, MULTI and the RECORD's label): one
// row with its declaration, the PICTURE and VALID of the "!" line that may
// follow it, and its comment. Remembers it for the LIKE rows that name it.
class FieldLine final
{
public:
    explicit FieldLine(ImportRun& run) : m_run(run) {}
    void read(const std::string& text);

private:
    // The "!" line after a field, consumed; empty (and the line put back) when the next line is another.
    std::string extraInformation();
    // `resolved`: a LIKE row already written with its type.
    void remember(const runtime::Record& row, const std::string& label, const std::string& declaration,
                  bool resolved);
    ImportRun& m_run;
};

} // namespace kestrix::dictionary
