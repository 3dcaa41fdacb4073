#include "runtime/testing/RequireOk.h"

#include <cstdlib>
#include <iostream>

namespace kestrix::runtime::testing {

void requireOk(const FileError& error, const char* what)
{
    if (error.ok())
        return;
    std::cerr << what << " failed: " << error.describe() << '\n';
    std::abort();
}

} // namespace kestrix::runtime::testing
