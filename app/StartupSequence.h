#pragma once

#include "config/Session.h"

// The frame's start-up and shut-down steps that are not window work: the
// shared files, the configuration read, which loaders are due, the ABC mode.
namespace kestrix::app {

class StartupSequence final
{
public:
    explicit StartupSequence(config::Session& session) : m_session(session) {}

    // Opens (creating when missing) the configuration, equates and popup files
    // and holds them. False when one cannot be used and the program must stop.
    bool openSharedFiles();
    void closeSharedFiles();

    // Reads the first configuration record into the session's buffer; false
    // when the file holds none (the Configuration window must run first).
    bool readConfiguration();

    bool equatesNeedLoading();
    bool popupsNeedLoading();
    void readAbcMode();

private:
    bool loadIsDue(const char* fileName, const char* section);

    config::Session& m_session;
    bool m_holdsFiles = false;
};

// A stored load version below the current one (compared as text, blank included).
bool loadVersionIsOld(const std::string& stored);

} // namespace kestrix::app
