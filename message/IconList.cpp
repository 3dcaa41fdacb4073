#include "message/IconList.h"

namespace kestrix::message {

const std::vector<std::string>& standardIconNames()
{
    // Names that begin another name come first: the decompiler keeps the last match.
    static const std::vector<std::string> names = {
        "None",     "Application", "Hand",     "Question", "Exclamation", "Asterisk", "Pick",      "Save",
        "Print",    "Print1",      "Paste",    "Open",     "New",         "Help",     "Cut",       "Copy",
        "Child",    "Frame",       "Clarion",  "NoPrint",  "Zoom",        "NextPage", "PrevPage",  "JumpPage",
        "Thumbnail", "Tick",       "Cross",    "Connect",  "Ellipsis",    "VCRtop",   "VCRrewind", "VCRback",
        "VCRplay",  "VCRfastforward", "VCRbottom", "VCRlocate",
    };
    return names;
}

} // namespace kestrix::message
