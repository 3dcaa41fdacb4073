#include "config/ClipboardKeeper.h"

#include "clipboard/QueueFile.h"
#include "config/ConfigRecord.h"

namespace kestrix::config {

bool keepsClipboardQueue(const runtime::Record& config)
{
    return config.number(Cfg::FutBytes, FutByte::KeepClipboardQueue) != 0;
}

ClipboardKeeper::ClipboardKeeper(Session& session, std::filesystem::path file)
    : m_session(session), m_file(std::move(file))
{
    m_listener = m_session.clipboardQueue().subscribe([this] {
        if (keepsClipboardQueue(m_session.configuration()))
            save();
    });
}

ClipboardKeeper::~ClipboardKeeper()
{
    m_session.clipboardQueue().unsubscribe(m_listener);
}

std::string ClipboardKeeper::restore()
{
    if (!keepsClipboardQueue(m_session.configuration()))
        return {};
    clipboard::QueueFileRead read = clipboard::loadQueueFile(m_file);
    if (!read.lines.empty())
        m_session.clipboardQueue().restore(std::move(read.lines));
    return read.problem;
}

void ClipboardKeeper::configurationChanged()
{
    if (keepsClipboardQueue(m_session.configuration())) {
        save();
        return;
    }
    const std::lock_guard lock(m_mutex);
    std::error_code ec;
    std::filesystem::remove(m_file, ec);
    m_lastError =
        ec ? "The kept clipboard queue " + m_file.string() + " could not be removed: " + ec.message()
           : std::string();
}

std::string ClipboardKeeper::lastError() const
{
    const std::lock_guard lock(m_mutex);
    return m_lastError;
}

void ClipboardKeeper::save()
{
    // Tools put code from their own threads: one write at a time, each of the queue as it is then.
    const std::lock_guard lock(m_mutex);
    const runtime::FileError error = clipboard::saveQueueFile(m_file, m_session.clipboardQueue().lines());
    m_lastError = error.ok() ? std::string() : "The clipboard queue could not be kept: " + error.describe();
}

} // namespace kestrix::config
