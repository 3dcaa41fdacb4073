#pragma once

#include <string>

namespace kestrix::dictionary {

class ImportRun;

// A KEY or INDEX line of a file: one row for the key, one per component.
class KeyLine final
{
public:
    explicit KeyLine(ImportRun& run) : m_run(run) {}
    // `keyWord`: "KEY(" or the INDEX form the line uses.
    void read(const std::string& text, const std::string& keyWord);

private:
    void addComponent(std::string component);
    ImportRun& m_run;
};

} // namespace kestrix::dictionary
