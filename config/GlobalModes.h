#pragma once

// The settings the frame owns and every tool reads.
namespace kestrix::config {

struct GlobalModes final
{
    bool clipAddMode = false;     // generated code is appended to the clipboard queue
    bool abcMode = true;          // ABC template family, else CW2
    bool singleThreadOnly = true; // a second start activates the running tool
};

} // namespace kestrix::config
