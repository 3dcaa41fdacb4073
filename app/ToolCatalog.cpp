#include "app/ToolCatalog.h"

#include "runtime/FixedText.h"

namespace kestrix::app {

using runtime::ToolMenu;

const std::vector<std::string>& menuOrder(ToolMenu menu)
{
    static const std::vector<std::string> tools = {
        "MakeInput",    "StringFmt",     "TemplateCode",    "ErrorHelper",      "KeycodeFinder",
        "EquateBrowse", "ColorDesigner", "CodeStoreBrowse", "MapPick",          "AltKeyAnalysis",
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
        "MakeInput",      "StringFmt",     "TemplateCode",    "ErrorHelper",    "KeycodeFinder",
        "EquateBrowse",   "ColorDesigner", "CodeStoreBrowse", "DictionaryOpen", "MapPick",
        "AltKeyAnalysis", "AsciiTable",    "HelpBrowse",      "StickNote"};
    return buttons;
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
