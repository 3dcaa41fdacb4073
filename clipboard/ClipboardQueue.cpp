#include "clipboard/ClipboardQueue.h"

#include "runtime/FixedText.h"

namespace kestrix::clipboard {

std::string lowerCaseCode(const std::string& line)
{
    std::string out = line;
    const auto last = out.find_last_not_of(' ');
    if (last == std::string::npos)
        return out;
    bool inQuotes = false;
    for (std::size_t i = 0; i <= last; ++i) {
        if (out[i] == '\'')
            inQuotes = !inQuotes;
        else if (!inQuotes)
            out[i] = runtime::lowerChar(out[i]);
    }
    return out;
}

std::string ClipboardQueue::put(std::span<const std::string> source, ClipMode mode, bool addLineEnds, bool lowerCase)
{
    const std::lock_guard lock(m_mutex);
    if (mode == ClipMode::Change)
        m_lines.clear();
    for (const std::string& line : source) {
        std::string entry = lowerCase ? lowerCaseCode(line) : line;
        // The cut keeps the line end, so that an overlong line never joins the next one.
        const std::size_t room = addLineEnds ? MaxLineLength - 2 : MaxLineLength;
        if (entry.size() > room)
            entry.resize(room);
        if (addLineEnds)
            entry += "\r\n";
        m_lines.push_back(std::move(entry));
    }
    return setClipboard();
}

std::string ClipboardQueue::reput()
{
    const std::lock_guard lock(m_mutex);
    return setClipboard();
}

// Called with the lock held.
std::string ClipboardQueue::setClipboard()
{
    std::string text;
    text.reserve(MaxClipboardText);
    for (const std::string& line : m_lines) {
        if (text.size() + line.size() > MaxClipboardText)
            break; // the rest stays queued but does not fit
        text += line;
    }
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
        text.resize(text.size() - 2);
    m_clipboard.setText(text);
    return text;
}

void ClipboardQueue::erase()
{
    const std::lock_guard lock(m_mutex);
    m_lines.clear();
    m_clipboard.setText({});
}

std::vector<std::string> ClipboardQueue::lines() const
{
    const std::lock_guard lock(m_mutex);
    return m_lines;
}

} // namespace kestrix::clipboard
