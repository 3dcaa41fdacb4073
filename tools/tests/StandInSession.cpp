#include "tools/tests/StandInSession.h"

#include <atomic>
#include <sstream>
#include <thread>

namespace kestrix::tools::testing {

std::string windowsPath(const std::string& hostPath)
{
    return !hostPath.empty() && hostPath[0] == '/' ? "Z:" + hostPath : hostPath;
}

PrivateDesktop::PrivateDesktop()
{
    static std::atomic<int> count{0};
    m_name = "kestrix-dde-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
    m_desktop = CreateDesktopA(m_name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
}

PrivateDesktop::~PrivateDesktop()
{
    if (m_desktop)
        CloseDesktop(m_desktop);
}

DWORD PrivateDesktop::run(const std::function<void()>& work) const
{
    DWORD error = ERROR_INVALID_HANDLE;
    // A thread that owns no window yet may change desktops; the conversation's windows follow it.
    std::thread worker([&] {
        if (!m_desktop)
            return;
        // A handle of its own: a thread's desktop handle may end with the thread.
        HANDLE own = nullptr;
        if (!DuplicateHandle(GetCurrentProcess(), m_desktop, GetCurrentProcess(), &own, 0, FALSE,
                             DUPLICATE_SAME_ACCESS) ||
            !SetThreadDesktop(static_cast<HDESK>(own))) {
            error = GetLastError();
            return;
        }
        error = ERROR_SUCCESS;
        work();
    });
    worker.join();
    return error;
}

namespace {

std::string quoted(const std::string& argument)
{
    std::string text = "\"";
    for (const char c : argument)
        text += c == '"' ? std::string("\\\"") : std::string(1, c);
    return text + "\"";
}

} // namespace

StandInIde::StandInIde(const PrivateDesktop& desktop, const std::vector<std::string>& arguments)
{
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE childInput = nullptr;
    HANDLE childOutput = nullptr;
    if (!CreatePipe(&childInput, &m_input, &inherited, 0) ||
        !CreatePipe(&m_output, &childOutput, &inherited, 0)) {
        m_failure = "no pipe: error " + std::to_string(GetLastError());
        return;
    }
    SetHandleInformation(m_input, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(m_output, HANDLE_FLAG_INHERIT, 0);

    std::string command = quoted(windowsPath(STANDIN_IDE));
    for (const std::string& a : arguments)
        command += " " + quoted(a);
    std::string desktopName = desktop.name();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.lpDesktop = desktopName.data();
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput;
    startup.hStdOutput = childOutput;
    startup.hStdError = childOutput;
    const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &m_process);
    const DWORD error = GetLastError();
    CloseHandle(childInput);
    CloseHandle(childOutput);
    if (!started) {
        m_process = {};
        m_failure = "cannot start " + command + ": error " + std::to_string(error);
        return;
    }
    // Blocks until the stand-in's window exists or the stand-in has ended.
    const std::string first = readLine();
    m_ready = first == "ready";
    if (!m_ready)
        m_failure = "the stand-in said \"" + first + "\" instead of ready";
}

StandInIde::~StandInIde()
{
    stop();
}

std::string StandInIde::readLine()
{
    char buffer[256];
    DWORD read = 0;
    while (m_pending.find('\n') == std::string::npos && m_output &&
           ReadFile(m_output, buffer, sizeof buffer, &read, nullptr) && read > 0)
        m_pending.append(buffer, read);
    const auto end = m_pending.find('\n');
    std::string line = m_pending.substr(0, end);
    m_pending.erase(0, end == std::string::npos ? std::string::npos : end + 1);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

std::vector<std::string> StandInIde::stop()
{
    std::vector<std::string> lines;
    if (m_input) {
        CloseHandle(m_input);
        m_input = nullptr;
    }
    if (m_output) {
        // Everything up to the end of the stand-in's output, which closes when the stand-in ends.
        char buffer[256];
        DWORD read = 0;
        while (ReadFile(m_output, buffer, sizeof buffer, &read, nullptr) && read > 0)
            m_pending.append(buffer, read);
        CloseHandle(m_output);
        m_output = nullptr;
        std::istringstream text(m_pending);
        for (std::string line; std::getline(text, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
        }
        m_pending.clear();
    }
    if (m_process.hProcess) {
        WaitForSingleObject(m_process.hProcess, INFINITE);
        GetExitCodeProcess(m_process.hProcess, &m_exitCode);
        CloseHandle(m_process.hProcess);
        CloseHandle(m_process.hThread);
        m_process = {};
    }
    return lines;
}

} // namespace kestrix::tools::testing
