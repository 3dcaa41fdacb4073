#include "runtime/testing/RunProgram.h"

#include "runtime/WindowsApi.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
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

} // namespace

int runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
               StandardOutput output, const std::filesystem::path& errors)
{
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE in = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                            0, nullptr);
    HANDLE out = INVALID_HANDLE_VALUE;
    if (output == StandardOutput::Discarded) {
        out = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                          0, nullptr);
    } else {
        // A pipe nobody reads: with its reading end closed, every write fails.
        HANDLE reader = nullptr;
        if (CreatePipe(&reader, &out, &inherit, 0))
            CloseHandle(reader);
        else
            out = INVALID_HANDLE_VALUE;
    }
    HANDLE err = CreateFileW(errors.wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    int code = -1;
    if (in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE) {
        std::wstring command = quoted(program.wstring());
        for (const std::string& arg : args)
            command += L" " + quoted(std::filesystem::path(arg).wstring());
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = in;
        startup.hStdOutput = out;
        startup.hStdError = err;
        PROCESS_INFORMATION process{};
        if (CreateProcessW(program.wstring().c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                           nullptr, &startup, &process)) {
            WaitForSingleObject(process.hProcess, INFINITE);
            DWORD exitCode = 0;
            if (GetExitCodeProcess(process.hProcess, &exitCode))
                code = static_cast<int>(exitCode);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }
    for (HANDLE h : {in, out, err})
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    return code;
}

#else

int runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
               StandardOutput output, const std::filesystem::path& errors)
{
    std::vector<std::string> argv{program.string()};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& arg : argv)
        pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        // /dev/full refuses every write with "no space left on device".
        const int out = ::open(output == StandardOutput::Discarded ? "/dev/null" : "/dev/full", O_WRONLY);
        const int err = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0)
            ::_exit(127);
        ::execv(pointers[0], pointers.data());
        ::_exit(127);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

#endif

} // namespace kestrix::runtime::testing
