#pragma once

#include <iosfwd>

// The `ktx` command line: the program's logic without windows, for scripts and tests.
namespace kestrix::app {

int runKtx(int argc, char** argv, std::ostream& out, std::ostream& err);

} // namespace kestrix::app
