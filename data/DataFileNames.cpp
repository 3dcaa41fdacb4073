#include "data/DataFileNames.h"

#include "runtime/FixedText.h"

namespace kestrix::data {

std::string rebuildSource(const std::string& name)
{
    if (runtime::sameTextNoCase(name, FileName::Equates))
        return "the Clarion equate files";
    if (runtime::sameTextNoCase(name, FileName::Popups))
        return "POPUP.TXT and POPUPABC.TXT";
    if (runtime::sameTextNoCase(name, FileName::Tips))
        return "the delivered tips";
    if (runtime::sameTextNoCase(name, FileName::Errors) ||
        runtime::sameTextNoCase(name, FileName::ErrorCategories))
        return "ERRORS5.TXT";
    return {};
}

} // namespace kestrix::data
