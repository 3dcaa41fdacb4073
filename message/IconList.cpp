#include "message/IconList.h"

#include "equates/EquateRecord.h"
#include "runtime/FixedText.h"

namespace kestrix::message {

const std::vector<std::string>& standardIconNames()
{
    // Names that begin another name come first: the decompiler keeps the last match.
    static const std::vector<std::string> names = {
        "None",      "Application", "Hand",    "Question",       "Exclamation", "Asterisk",
        "Pick",      "Save",        "Print",   "Print1",         "Paste",       "Open",
        "New",       "Help",        "Cut",     "Copy",           "Child",       "Frame",
        "Clarion",   "NoPrint",     "Zoom",    "NextPage",       "PrevPage",    "JumpPage",
        "Thumbnail", "Tick",        "Cross",   "Connect",        "Ellipsis",    "VCRtop",
        "VCRrewind", "VCRback",     "VCRplay", "VCRfastforward", "VCRbottom",   "VCRlocate",
    };
    return names;
}

std::vector<std::string> iconNames(runtime::KeyedFile* equates)
{
    std::vector<std::string> names;
    if (equates && equates->isOpen()) {
        runtime::Record r = equates->newRecord();
        r.setText(equates::Equ::Type, "Icon");
        equates->setFrom(equates::Equ::BySeq, r);
        while (equates->next(r).ok() && runtime::sameTextNoCase(r.text(equates::Equ::Type), "Icon"))
            names.push_back(r.text(equates::Equ::SearchName));
    }
    if (names.empty())
        return standardIconNames();
    return names;
}

} // namespace kestrix::message
