#pragma once

#include <string>
#include <vector>

// Makes a data directory ready for use: the delivered files that are missing
// (or were left empty by an interrupted copy) are copied in whole, and the tips
// file is built from its text when it is missing, empty or damaged. A file that
// holds anything is the user's and stays as it is.
namespace kestrix::app {

struct SetupResult final
{
    std::vector<std::string> installed; // names of the files written now
    std::string problem;                // the first file that could not be written and why, empty when none
};

// Works in the current directory (the data directory).
SetupResult prepareDataDirectory();

} // namespace kestrix::app
