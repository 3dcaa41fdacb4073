#pragma once

#include <string>

// The settings the frame owns and every tool reads.
namespace kestrix::config {

namespace Request {
constexpr long Insert = 1;
constexpr long Change = 2;
constexpr long Delete = 3;
constexpr long Select = 4;
} // namespace Request
namespace Response {
constexpr long Completed = 1;
constexpr long Cancelled = 2;
} // namespace Response

struct GlobalModes final
{
    bool clipAddMode = false;      // generated code is appended to the clipboard queue
    bool abcMode = true;           // ABC template family, else CW2
    bool singleThreadOnly = true;  // a second start activates the running tool
    std::string toolParameter;     // request word for the next tool started (up to 80)
    long globalRequest = 0;
    long globalResponse = 0;
};

} // namespace kestrix::config
