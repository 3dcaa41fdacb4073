#pragma once

#include "runtime/SystemClipboard.h"

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
    std::vector<std::string> lines() const;

private:
    std::string setClipboard();

    runtime::SystemClipboard& m_clipboard;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

// Lower case outside string literals, up to the last non-blank character.
std::string lowerCaseCode(const std::string& line);

} // namespace kestrix::clipboard
