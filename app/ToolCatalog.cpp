#include "app/ToolCatalog.h"

#include "runtime/FixedText.h"

namespace kestrix::app {

const std::vector<ToolEntry>& toolsMenu()
{
    static const std::vector<ToolEntry> tools = {
        {"MakeInput", "&Message Maker", "Message Maker", "TBMSG"},
        {"StringBuilder", "&String Builder", "String Builder", "TBSTRING"},
        {"TemplateCode", "&Template Code", "Template Code", "TBTPL"},
        {"ErrorHelper", "&Error Helper", "Error Helper", "TBERROR"},
        {"KeycodeFinder", "&Keycode Helper", "Keycode Helper", "TBKEYCOD"},
        {"EquateBrowse", "E&quate Helper", "Equate Helper", "TBEQUATE"},
        {"ColorDesigner", "&Color Designer", "Color Designer", "TBCOLORC"},
        {"CodeStoreBrowse", "Code &Library", "Code Library", "TBCODLIB"},
        {"MapViewer", "&Map Viewer", "Map Viewer", "TBMAPUS"},
        {"AltKeyAnalysis", "&Window Key Analysis", "Window Key Analysis", "TBKEYANA"},
        {"AsciiTable", "&ASCII Table", "ASCII Table", "TBASCII"},
        {"HelpBrowse", "&Help organizer", "Help Organizer", "TBHELPLS"},
        {"StickNote", "Stick &Note", "Stick Note", "TBNOTE"},
        {"TemplateRegistrar", "Template Registrar", "", ""},
    };
    return tools;
}

const ToolEntry* findTool(const std::string& procedure)
{
    for (const ToolEntry& tool : toolsMenu()) {
        if (runtime::sameTextNoCase(tool.procedure, procedure))
            return &tool;
    }
    return nullptr;
}

std::string helpPageFor(const std::string& topic)
{
    std::string page(runtime::trim(topic));
    if (!page.empty() && page.front() == '~')
        page.erase(0, 1);
    for (char& c : page) {
        if (c == ' ')
            c = '_';
    }
    return runtime::lower(page) + ".html";
}

} // namespace kestrix::app
