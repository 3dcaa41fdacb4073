#pragma once

#include <string>
#include <vector>

// The tools the frame starts, in menu order, with their menu text, toolbar
// tip and icon. A tool whose window is not registered shows disabled.
namespace kestrix::app {

struct ToolEntry final
{
    std::string procedure;    // also the section of its window position
    std::string menuText;     // "" when the tool has no Tools-menu item
    std::string toolbarTip;   // "" when the tool has no toolbar button
    std::string icon;
};

// The fourteen items of the Tools menu.
const std::vector<ToolEntry>& toolsMenu();
// The entry of a procedure, nullptr when unknown.
const ToolEntry* findTool(const std::string& procedure);

// Procedures of the other windows the frame starts.
namespace Procedure {
constexpr const char* MessageMaker = "MakeInput";
constexpr const char* MessageInserts = "MsgInsertBrowse";
constexpr const char* DictionaryBrowse = "DicSetForm";
constexpr const char* ClipView = "ClipView";
constexpr const char* TipOfTheDay = "TipOfTheDay";
} // namespace Procedure

// Help topic ("~Configuration") to the name of its page ("configuration.html").
std::string helpPageFor(const std::string& topic);

} // namespace kestrix::app
