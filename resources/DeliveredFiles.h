#pragma once

#include <string_view>
#include <vector>

// The data files delivered with the program (equate lists, popups, tips),
// built into it and copied into the data directory when missing there.
namespace kestrix::resources {

struct DeliveredFile final
{
    const char* name;
    std::string_view content;
};

const std::vector<DeliveredFile>& deliveredFiles();

} // namespace kestrix::resources
