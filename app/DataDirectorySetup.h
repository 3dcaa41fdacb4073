#pragma once

#include <string>
#include <vector>

// Makes a data directory ready for use: the delivered files that are missing
// there are copied in, and the tips file is built from its text when missing.
namespace kestrix::app {

struct SetupResult final
{
    std::vector<std::string> installed;   // names of the files written now
    std::string problem;                  // why a file could not be written, empty when none
};

// Works in the current directory (the data directory).
SetupResult prepareDataDirectory();

} // namespace kestrix::app
