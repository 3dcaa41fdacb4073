#include "app/ToolCatalog.h"

#include "runtime/FixedText.h"

namespace kestrix::app {

using runtime::ToolMenu;

const std::vector<std::string>& menuOrder(ToolMenu menu)
{
    static const std::vector<std::string> tools = {
        "MakeInput",    "StringBuilder", "TemplateCode",    "ErrorHelper",      "KeycodeFinder",
        "EquateBrowse", "ColorDesigner", "CodeStoreBrowse", "MapViewer",        "AltKeyAnalysis",
        "AsciiTable",   "HelpBrowse",    "StickNote",       "TemplateRegistrar"};
    static const std::vector<std::string> dictionary = {"DictionaryOpen", "DictionaryImport"};
    static const std::vector<std::string> settings = {"MsgInsertBrowse"};
    static const std::vector<std::string> help = {"TipOfTheDay"};
    switch (menu) {
    case ToolMenu::Tools:
        return tools;
    case ToolMenu::Dictionary:
        return dictionary;
    case ToolMenu::Settings:
        return settings;
    case ToolMenu::Help:
        return help;
    }
    return tools;
}

const std::vector<std::string>& toolbarOrder()
{
    static const std::vector<std::string> buttons = {
        "MakeInput",      "StringBuilder", "TemplateCode",    "ErrorHelper",    "KeycodeFinder",
        "EquateBrowse",   "ColorDesigner", "CodeStoreBrowse", "DictionaryOpen", "MapViewer",
        "AltKeyAnalysis", "AsciiTable",    "HelpBrowse",      "StickNote"};
    return buttons;
}

const std::vector<runtime::ToolSpec>& plannedTools()
{
    static const std::vector<runtime::ToolSpec> tools = {
        {"StringBuilder", ToolMenu::Tools, "&String Builder", "String Builder", "TBSTRING"},
        {"TemplateCode", ToolMenu::Tools, "&Template Code", "Template Code", "TBTPL"},
        {"ErrorHelper", ToolMenu::Tools, "&Error Helper", "Error Helper", "TBERROR"},
        {"KeycodeFinder", ToolMenu::Tools, "&Keycode Helper", "Keycode Helper", "TBKEYCOD"},
        {"EquateBrowse", ToolMenu::Tools, "E&quate Helper", "Equate Helper", "TBEQUATE"},
        {"ColorDesigner", ToolMenu::Tools, "&Color Designer", "Color Designer", "TBCOLORC"},
        {"CodeStoreBrowse", ToolMenu::Tools, "Code &Library", "Code Library", "TBCODLIB"},
        {"MapViewer", ToolMenu::Tools, "&Map Viewer", "Map Viewer", "TBMAPUS"},
        {"AsciiTable", ToolMenu::Tools, "&ASCII Table", "ASCII Table", "TBASCII"},
        {"HelpBrowse", ToolMenu::Tools, "&Help organizer", "Help Organizer", "TBHELPLS"},
        {"StickNote", ToolMenu::Tools, "Stick &Note", "Stick Note", "TBNOTE"},
        {"TemplateRegistrar", ToolMenu::Tools, "Template Registrar"},
        {"DictionaryOpen",
         ToolMenu::Dictionary,
         "&Open",
         "Open Dictionary, for import use menu",
         "TBDICT",
         {},
         {},
         "dictionaryOpen"},
    };
    return tools;
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
