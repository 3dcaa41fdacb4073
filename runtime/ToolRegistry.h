#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>

// Keeps track of the running tools: which open window owns each tool (the
// per-tool thread number of a threaded program), the single-instance rule,
// and delivery of the frame's broadcasts to every open tool.
namespace kestrix::runtime {

// EquatesLoading goes out as a load of the equates begins, EquatesReloaded once it is over;
// ConfigurationChanged when the configuration was saved, so windows apply its fonts again.
enum class ToolEvent {
    Activate,
    EquatesLoading,
    EquatesReloaded,
    Iconize,
    Restore,
    Close,
    ConfigurationChanged
};

// Why a tool is started: the frame's own call at start-up, or the user's choice.
enum class StartReason { FromMenu, AtStartup };

// The frame's menu in which a tool's item stands.
enum class ToolMenu { Tools, Dictionary, Settings, Help };

// How the frame offers a tool: its menu item and, optionally, its toolbar button.
struct ToolSpec final
{
    std::string procedure; // the tool's name; also the section of its window position
    ToolMenu menu = ToolMenu::Tools;
    std::string menuText;
    std::string toolbarTip;      // "" without a toolbar button
    std::string icon;            // of the toolbar button
    std::string shortcut;        // a key sequence such as "Ctrl+M", "" without one
    std::string tip;             // the menu item's tip
    std::string actionName;      // the menu item's object name, "tool_<procedure>" when blank
    bool opensAtStartup = false; // the frame starts it once start-up is over
};

// What another part of the program asks an open tool to show: an equate, a saved message, a
// snippet ... Each tool reads the fields it needs; `key` and `subKey` are Windows-1252 texts.
struct ShowRequest final
{
    std::string key;
    std::string subKey;
    std::int64_t number = 0;
};

class ToolInstance
{
public:
    virtual ~ToolInstance() = default;
    virtual void deliver(ToolEvent event) = 0;
    // Shows what was asked for; false when this tool cannot or the item is not there.
    virtual bool showItem(const ShowRequest&) { return false; }
};

class ToolRegistry final
{
public:
    enum class StartOutcome { Started, Activated, Refused };

    bool singleThreadOnly() const { return m_singleThreadOnly; }
    void setSingleThreadOnly(bool on) { m_singleThreadOnly = on; }

    // Starts `tool`: with the single-instance rule on and a copy running, the
    // running copy is activated; otherwise `create` makes a new instance
    // (nullptr when it could not), which owns the tool if no other copy does.
    StartOutcome start(const std::string& tool, const std::function<ToolInstance*()>& create);
    // Called by an instance as it closes; clears ownership only if it owns the tool.
    void closed(const std::string& tool, ToolInstance* instance);
    void broadcast(ToolEvent event);
    // Hands the request to the window that owns `tool`; false when none is open or it could not show it.
    bool showItem(const std::string& tool, const ShowRequest& request);

    ToolInstance* owner(const std::string& tool) const;
    bool isRunning(const std::string& tool) const { return owner(tool) != nullptr; }
    std::size_t openCount() const { return m_open.size(); }

private:
    bool m_singleThreadOnly = true;
    std::map<std::string, ToolInstance*> m_owners;
    std::multimap<std::string, ToolInstance*> m_open;
};

} // namespace kestrix::runtime
