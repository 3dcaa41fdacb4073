#pragma once

#include <string>
#include <vector>

// Starts other programs for the user: a document through the system's "open"
// action (the program associated with its kind), or a named program with its
// arguments. Behind an interface so that tests can answer it. Paths and
// arguments are the program's own text (Windows-1252), native paths where they
// name files.
namespace kestrix::runtime {

class DocumentLauncher
{
public:
    virtual ~DocumentLauncher() = default;
    // False when no program could be started for the document.
    virtual bool openDocument(const std::string& file) = 0;
    // False when the program could not be started. Does not wait for it.
    virtual bool startProgram(const std::string& program, const std::vector<std::string>& arguments) = 0;
};

} // namespace kestrix::runtime
