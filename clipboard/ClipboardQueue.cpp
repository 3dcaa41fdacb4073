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

// Declared before the queue's lock, so that listeners run after it is released.
struct ClipboardQueue::NotifyOnExit
{
    ClipboardQueue& queue;
    ~NotifyOnExit() { queue.notifyListeners(); }
};

std::string ClipboardQueue::put(std::span<const std::string> source, ClipMode mode, bool addLineEnds,
                                bool lowerCase)
{
    const NotifyOnExit notify{*this};
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

void ClipboardQueue::restore(std::vector<std::string> lines)
{
    const NotifyOnExit notify{*this};
    const std::lock_guard lock(m_mutex);
    m_lines = std::move(lines);
}

std::string ClipboardQueue::reput()
{
    const NotifyOnExit notify{*this};
    const std::lock_guard lock(m_mutex);
    return setClipboard();
}

// Called with the lock held.
std::string ClipboardQueue::setClipboard()
{
    std::string text = buildText();
    m_clipboard.setText(text);
    return text;
}

std::string ClipboardQueue::buildText() const
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
    return text;
}

void ClipboardQueue::erase()
{
    const NotifyOnExit notify{*this};
    const std::lock_guard lock(m_mutex);
    m_lines.clear();
    m_clipboard.setText({});
}

std::string ClipboardQueue::text() const
{
    const std::lock_guard lock(m_mutex);
    return buildText();
}

std::string clipboardSummary(const std::string& clipboardText)
{
    if (clipboardText.empty())
        return "The clipboard is empty";
    std::size_t lines = 1;
    for (std::size_t at = clipboardText.find('\n'); at != std::string::npos;
         at = clipboardText.find('\n', at + 1))
        ++lines;
    return std::to_string(lines) + (lines == 1 ? " line" : " lines") + " of code on the clipboard";
}

std::vector<std::string> ClipboardQueue::lines() const
{
    const std::lock_guard lock(m_mutex);
    return m_lines;
}

ClipboardQueue::ListenerId ClipboardQueue::subscribe(std::function<void()> changed)
{
    const std::lock_guard lock(m_listenerMutex);
    const ListenerId id = m_nextListener++;
    m_listeners.emplace(id, std::move(changed));
    return id;
}

void ClipboardQueue::unsubscribe(ListenerId id)
{
    const std::lock_guard lock(m_listenerMutex);
    m_listeners.erase(id);
}

void ClipboardQueue::notifyListeners()
{
    const std::lock_guard lock(m_listenerMutex);
    // Over a copy of the ids: a listener may unsubscribe itself or another.
    std::vector<ListenerId> ids;
    for (const auto& entry : m_listeners)
        ids.push_back(entry.first);
    for (ListenerId id : ids) {
        const auto it = m_listeners.find(id);
        if (it != m_listeners.end()) {
            const auto changed =
                it->second; // a copy: erasing the entry must not destroy the running function
            changed();
        }
    }
}

} // namespace kestrix::clipboard
