#pragma once

#include "config/Session.h"

#include <filesystem>
#include <mutex>
#include <string>

// Keeps the clipboard queue for the next run when the configuration asks for
// it: every change is written to the queue's own file in the data directory,
// and the next start takes it back.
namespace kestrix::config {

bool keepsClipboardQueue(const runtime::Record& config);

class ClipboardKeeper final
{
public:
    explicit ClipboardKeeper(Session& session, std::filesystem::path file);
    ~ClipboardKeeper();
    ClipboardKeeper(const ClipboardKeeper&) = delete;
    ClipboardKeeper& operator=(const ClipboardKeeper&) = delete;

    // The last run's queue into the session's, when it is kept; what could not be read, or "".
    std::string restore();
    // After the configuration was saved: a queue no longer kept leaves the disk, one now kept is written.
    void configurationChanged();
    // The last write that failed, "" when the file is up to date.
    std::string lastError() const;

private:
    void save();

    Session& m_session;
    std::filesystem::path m_file;
    clipboard::ClipboardQueue::ListenerId m_listener = 0;
    mutable std::mutex m_mutex;
    std::string m_lastError;
};

} // namespace kestrix::config
