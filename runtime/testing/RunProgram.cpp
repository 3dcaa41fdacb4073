#include "runtime/testing/RunProgram.h"

#include "runtime/WindowsApi.h"

#ifndef _WIN32
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace kestrix::runtime::testing {

#ifdef _WIN32

namespace {

// One argument quoted the way the C runtime's command-line parser splits it back.
std::wstring quoted(const std::wstring& arg)
{
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

// A path of the build tree as Windows opens it: under Wine the host's root is drive Z:.
std::wstring windowsPath(const std::filesystem::path& path)
{
    const std::wstring text = path.wstring();
    return !text.empty() && text[0] == L'/' ? L"Z:" + text : text;
}

HANDLE openNul(DWORD access, SECURITY_ATTRIBUTES* inherit)
{
    return CreateFileW(L"NUL", access, FILE_SHARE_READ | FILE_SHARE_WRITE, inherit, OPEN_EXISTING, 0,
                       nullptr);
}

HANDLE handleOf(std::intptr_t h)
{
    return reinterpret_cast<HANDLE>(h);
}

} // namespace

StartedProgram::StartedProgram(const ProgramStart& start)
{
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    std::vector<HANDLE> toClose;
    const auto keep = [&toClose](HANDLE h) {
        if (h != INVALID_HANDLE_VALUE && h != nullptr)
            toClose.push_back(h);
        return h;
    };
    HANDLE in = keep(openNul(GENERIC_READ, &inherit));
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (start.output == StandardOutput::Discarded) {
        out = keep(openNul(GENERIC_WRITE, &inherit));
    } else if (start.output != StandardOutput::Shared) {
        HANDLE reader = nullptr;
        HANDLE writer = nullptr;
        if (CreatePipe(&reader, &writer, &inherit, 0)) {
            out = keep(writer);
            if (start.output == StandardOutput::Failing) {
                // A pipe nobody reads: with its reading end closed, every write fails.
                CloseHandle(reader);
            } else {
                SetHandleInformation(reader, HANDLE_FLAG_INHERIT, 0);
                m_output = reinterpret_cast<Handle>(reader);
            }
        } else {
            out = INVALID_HANDLE_VALUE;
        }
    }
    if (!start.errors.empty()) {
        err = keep(CreateFileW(start.errors.wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (err == INVALID_HANDLE_VALUE)
            m_startProblem =
                "cannot create " + start.errors.string() + ": error " + std::to_string(GetLastError());
    }
    // The child takes this process's environment block as it is at the start: set it for that moment.
    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved;
    for (const auto& [name, value] : start.environment) {
        const std::wstring wideName = std::filesystem::path(name).wstring();
        wchar_t buffer[32768];
        const DWORD length = GetEnvironmentVariableW(wideName.c_str(), buffer, 32768);
        saved.emplace_back(wideName,
                           length > 0 && length < 32768 ? std::optional<std::wstring>(buffer) : std::nullopt);
        SetEnvironmentVariableW(wideName.c_str(), std::filesystem::path(value).wstring().c_str());
    }
    if (in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE) {
        // Shared handles are made inheritable for the start; CreateProcess needs every one so.
        for (HANDLE h : {out, err})
            SetHandleInformation(h, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        const std::wstring program = windowsPath(start.program);
        std::wstring command = quoted(program);
        for (const std::string& arg : start.args)
            command += L" " + quoted(std::filesystem::path(arg).wstring());
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = in;
        startup.hStdOutput = out;
        startup.hStdError = err;
        PROCESS_INFORMATION process{};
        std::error_code ec;
        const std::wstring directory = std::filesystem::current_path(ec).wstring();
        // Wine now and then refuses one of many starts at once with an internal error, which a second
        // attempt does not meet: a start it refused so is tried again, a few times at most.
        bool created = false;
        for (int attempt = 0; attempt < 5 && !created; ++attempt) {
            created = CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                     directory.empty() ? nullptr : directory.c_str(), &startup, &process);
            if (!created && GetLastError() != ERROR_INTERNAL_ERROR)
                break;
        }
        if (created) {
            CloseHandle(process.hThread);
            m_process = reinterpret_cast<Handle>(process.hProcess);
        } else {
            m_startProblem = "CreateProcess failed: error " + std::to_string(GetLastError());
        }
    } else if (m_startProblem.empty()) {
        m_startProblem = "cannot open the standard handles: error " + std::to_string(GetLastError());
    }
    for (const auto& [name, value] : saved)
        SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr);
    for (HANDLE h : toClose)
        CloseHandle(h);
}

std::optional<std::string> StartedProgram::readLine()
{
    for (;;) {
        if (const std::size_t end = m_pending.find('\n'); end != std::string::npos) {
            std::string line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return line;
        }
        char buffer[256];
        DWORD got = 0;
        if (m_output == Invalid || !ReadFile(handleOf(m_output), buffer, sizeof buffer, &got, nullptr) ||
            got == 0)
            return std::nullopt;
        m_pending.append(buffer, got);
    }
}

int StartedProgram::wait()
{
    if (!m_status) {
        m_status = -1;
        if (m_process != Invalid) {
            WaitForSingleObject(handleOf(m_process), INFINITE);
            DWORD exitCode = 0;
            if (GetExitCodeProcess(handleOf(m_process), &exitCode))
                m_status = static_cast<int>(exitCode);
            CloseHandle(handleOf(m_process));
        }
        if (m_output != Invalid)
            CloseHandle(handleOf(m_output));
        m_output = Invalid;
    }
    return *m_status;
}

std::filesystem::path thisProgram()
{
    std::wstring name(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    name.resize(length);
    return name;
}

#else

StartedProgram::StartedProgram(const ProgramStart& start)
{
    std::vector<std::string> argv{start.program.string()};
    argv.insert(argv.end(), start.args.begin(), start.args.end());
    std::vector<char*> arguments;
    for (std::string& arg : argv)
        arguments.push_back(arg.data());
    arguments.push_back(nullptr);
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        bool replaced = false;
        for (const auto& [name, value] : start.environment)
            replaced = replaced || text.rfind(name + "=", 0) == 0;
        if (!replaced)
            environment.push_back(text);
    }
    for (const auto& [name, value] : start.environment)
        environment.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    int pipeEnds[2] = {-1, -1};
    if (start.output == StandardOutput::Read && ::pipe(pipeEnds) != 0) {
        m_startProblem = "pipe failed: error " + std::to_string(errno);
        return;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        int out = -1;
        switch (start.output) {
        case StandardOutput::Shared:
            out = 1;
            break;
        case StandardOutput::Discarded:
            out = ::open("/dev/null", O_WRONLY);
            break;
        // /dev/full refuses every write with "no space left on device".
        case StandardOutput::Failing:
            out = ::open("/dev/full", O_WRONLY);
            break;
        case StandardOutput::Read:
            out = pipeEnds[1];
            break;
        }
        const int err =
            start.errors.empty() ? 2 : ::open(start.errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int in = ::open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || in < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0)
            ::_exit(127);
        if (pipeEnds[0] >= 0) {
            ::close(pipeEnds[0]);
            ::close(pipeEnds[1]);
        }
        ::execve(arguments[0], arguments.data(), envp.data());
        ::_exit(127);
    }
    if (pipeEnds[1] >= 0)
        ::close(pipeEnds[1]);
    if (child < 0) {
        m_startProblem = "fork failed: error " + std::to_string(errno);
        if (pipeEnds[0] >= 0)
            ::close(pipeEnds[0]);
        return;
    }
    m_process = child;
    m_output = pipeEnds[0];
}

std::optional<std::string> StartedProgram::readLine()
{
    for (;;) {
        if (const std::size_t end = m_pending.find('\n'); end != std::string::npos) {
            std::string line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            return line;
        }
        if (m_output == Invalid)
            return std::nullopt;
        char buffer[256];
        const ssize_t got = ::read(static_cast<int>(m_output), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return std::nullopt;
        m_pending.append(buffer, static_cast<std::size_t>(got));
    }
}

int StartedProgram::wait()
{
    if (!m_status) {
        m_status = -1;
        if (m_process != Invalid) {
            int status = 0;
            pid_t done = -1;
            do
                done = ::waitpid(static_cast<pid_t>(m_process), &status, 0);
            while (done < 0 && errno == EINTR);
            if (done == m_process)
                m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (m_output != Invalid)
            ::close(static_cast<int>(m_output));
        m_output = Invalid;
    }
    return *m_status;
}

std::filesystem::path thisProgram()
{
    return std::filesystem::read_symlink("/proc/self/exe");
}

#endif

StartedProgram::~StartedProgram()
{
    wait();
}

int runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
               StandardOutput output, const std::filesystem::path& errors)
{
    return StartedProgram({program, args, output, errors, {}}).wait();
}

} // namespace kestrix::runtime::testing
