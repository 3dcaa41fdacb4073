#pragma once

#include "runtime/SystemClipboard.h"

#include <functional>
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <vector>

// The one way generated code leaves the program. The queue holds the lines
// now on the clipboard; every call rebuilds the clipboard text from it, so
// that in add mode the code of successive generations piles up.
namespace kestrix::clipboard {

// Change replaces what the queue holds; Add appends to it.
enum class ClipMode { Change, Add };

constexpr std::size_t MaxLineLength = 254;
constexpr std::size_t MaxClipboardText = 20000;

class ClipboardQueue final
{
public:
    explicit ClipboardQueue(runtime::SystemClipboard& clipboard) : m_clipboard(clipboard) {}

    // Copies the source lines into the queue as `mode` says, then sets the
    // clipboard; returns the text set.
    std::string put(std::span<const std::string> source, ClipMode mode, bool addLineEnds, bool lowerCase);
    // Sets the clipboard again from the queue alone (after a switch of mode, or
    // when another program has replaced the text); returns the text set.
    std::string reput();
    // Empties the queue and the clipboard.
    void erase();
    // Takes back the lines of an earlier run; the clipboard, which may hold other text by now, is left alone.
    void restore(std::vector<std::string> lines);
    std::vector<std::string> lines() const;
    // The text the queue puts on the clipboard.
    std::string text() const;

    // Viewers follow the queue: `changed` runs after every put and erase, on
    // the caller's thread, outside the queue's lock. Unsubscribe before the
    // listener goes away; once it returns, no call is still running.
    using ListenerId = int;
    ListenerId subscribe(std::function<void()> changed);
    void unsubscribe(ListenerId id);

private:
    std::string setClipboard();
    struct NotifyOnExit;
    std::string buildText() const;
    void notifyListeners();

    runtime::SystemClipboard& m_clipboard;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
    std::recursive_mutex m_listenerMutex; // a listener may unsubscribe while it is called
    std::map<ListenerId, std::function<void()>> m_listeners;
    ListenerId m_nextListener = 1;
};

// What the clipboard holds, for a status line: "12 lines of code on the clipboard".
std::string clipboardSummary(const std::string& clipboardText);

// Lower case outside string literals, up to the last non-blank character.
std::string lowerCaseCode(const std::string& line);

} // namespace kestrix::clipboard
