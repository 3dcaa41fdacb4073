#include "organizers/HelpList.h"

#include "runtime/FixedText.h"

#include <cstring>

namespace kestrix::organizers {

std::shared_ptr<const runtime::RecordLayout> helpListLayout()
{
    static const std::shared_ptr<const runtime::RecordLayout> layout = [] {
        auto l = std::make_shared<runtime::RecordLayout>("HLP");
        l->addString("TYPE", 1);
        l->addString("NAME", HelpNameLength);
        l->addString("FILE", HelpFileLength);
        l->addString("PATH", HelpPathLength);
        l->addKey("BYNAME", {Hlp::Type, Hlp::Name});
        return l;
    }();
    return layout;
}

std::string helpTypeName(char type)
{
    switch (runtime::upperChar(type)) {
    case 'H':
        return "Help";
    case 'X':
        return "Text";
    case 'S':
        return "Source";
    case 'C':
        return "Class";
    case 'T':
        return "Template";
    default:
        return {};
    }
}

bool isHelpType(char type)
{
    return type != '\0' && std::strchr(HelpTypeLetters, runtime::upperChar(type)) != nullptr;
}

std::string helpFullPath(const std::string& path, const std::string& file)
{
    return runtime::clip(path) + "\\" + runtime::clip(file);
}

} // namespace kestrix::organizers
