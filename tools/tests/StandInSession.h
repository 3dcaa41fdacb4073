#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Runs DDE conversations with the stand-in IDE on a desktop of their own: a DDE initiate is
// broadcast to the windows of one desktop only, so neither a stand-in of another test nor one left
// over from an earlier run answers, and no other test's client meets this one's stand-in.
namespace kestrix::tools::testing {

// A path of the build tree as a Windows program opens it: under Wine the host's root is drive Z:.
std::string windowsPath(const std::string& hostPath);

class PrivateDesktop final
{
public:
    PrivateDesktop();
    ~PrivateDesktop();
    PrivateDesktop(const PrivateDesktop&) = delete;
    PrivateDesktop& operator=(const PrivateDesktop&) = delete;

    bool created() const { return m_desktop != nullptr; }
    const std::string& name() const { return m_name; }
    // Runs `work` on a new thread attached to this desktop and waits for it; the system's error
    // when the thread could not be attached (and `work` did not run), otherwise 0.
    DWORD run(const std::function<void()>& work) const;

private:
    std::string m_name;
    HDESK m_desktop = nullptr;
};

// The stand-in IDE as a child process on a desktop. Starting returns once it has said its window
// exists; stopping closes its standard input, which ends it, and collects what it reported.
class StandInIde final
{
public:
    StandInIde(const PrivateDesktop& desktop, const std::vector<std::string>& arguments);
    ~StandInIde();
    StandInIde(const StandInIde&) = delete;
    StandInIde& operator=(const StandInIde&) = delete;

    // True once the stand-in printed "ready"; otherwise why not.
    bool ready() const { return m_ready; }
    const std::string& failure() const { return m_failure; }
    // Ends the stand-in; the lines it reported after "ready" (one per initiate, execute, request
    // and terminate it received) and its exit code.
    std::vector<std::string> stop();
    DWORD exitCode() const { return m_exitCode; }

private:
    std::string readLine();

    PROCESS_INFORMATION m_process = {};
    HANDLE m_input = nullptr;
    HANDLE m_output = nullptr;
    std::string m_pending;
    bool m_ready = false;
    std::string m_failure;
    DWORD m_exitCode = STILL_ACTIVE;
};

} // namespace kestrix::tools::testing
