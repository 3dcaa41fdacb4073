#pragma once

#include "runtime/DocumentLauncher.h"

#include <string>
#include <vector>

// Records what would have been started and answers whether it started, for tests.
namespace kestrix::runtime::testing {

class ScriptedLauncher final : public DocumentLauncher
{
public:
    bool openDocument(const std::string& file) override
    {
        documents.push_back(file);
        return documentsStart;
    }
    bool startProgram(const std::string& program, const std::vector<std::string>& arguments) override
    {
        std::vector<std::string> command{program};
        command.insert(command.end(), arguments.begin(), arguments.end());
        programs.push_back(command);
        return programsStart;
    }

    bool documentsStart = true;
    bool programsStart = true;
    std::vector<std::string> documents;
    std::vector<std::vector<std::string>> programs; // each: the program, then its arguments
};

} // namespace kestrix::runtime::testing
