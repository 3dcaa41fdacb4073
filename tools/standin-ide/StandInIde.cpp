// A stand-in for the IDE's DDE server, for the tests of the DDE client: it serves the service
// "ClarionWin" with an empty topic over raw WM_DDE_* messages, one conversation at a time.
//
//   standin_ide [--dictionary TXD | --write-nothing] [--fail FILE]... [--error-number N]
//               [--error-text TEXT] [--silent]
//
// [ExportDct(dct,txd,0)] copies the --dictionary file to txd (with --write-nothing it reports success
// and writes nothing); [RegisterTemplateChain(path,1)] fails
// when the file name of path is one given with --fail (GetErrorNum and GetErrorMsg then answer
// --error-number and --error-text), otherwise succeeds. --silent never answers an execute or a
// request. Prints "ready" once its window exists, then one line per command or request received;
// ends when its standard input ends.
#include <windows.h>

#include <dde.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Options
{
    std::string dictionary;
    bool writeNothing = false;
    std::vector<std::string> failing;
    std::string errorNumber = "0";
    std::string errorText;
    bool silent = false;
};

const char* const Service = "ClarionWin";
// An empty topic is answered under this name: the initiate acknowledgement must carry one.
const char* const AnsweredTopic = "System";

Options g_options;
std::string g_lastErrorNumber = "0";
std::string g_lastErrorText;
HWND g_client = nullptr;

void report(const std::string& line)
{
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

std::string upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string atomName(ATOM atom)
{
    char name[256] = {};
    if (atom == 0 || GlobalGetAtomNameA(atom, name, sizeof name) == 0)
        return {};
    return name;
}

// The argument list of "[Name(args)]" when the command has that name.
bool argumentsOf(const std::string& command, const std::string& name, std::string& arguments)
{
    const std::string head = "[" + upper(name) + "(";
    if (upper(command.substr(0, head.size())) != head || command.size() < head.size() + 2 ||
        command.compare(command.size() - 2, 2, ")]") != 0)
        return false;
    arguments = command.substr(head.size(), command.size() - head.size() - 2);
    return true;
}

bool exportDictionary(const std::string& arguments)
{
    const auto first = arguments.find(',');
    const auto last = arguments.rfind(',');
    if (first == std::string::npos || last == first)
        return false;
    if (g_options.writeNothing)
        return true;
    if (g_options.dictionary.empty())
        return false;
    const std::string target = arguments.substr(first + 1, last - first - 1);
    return CopyFileA(g_options.dictionary.c_str(), target.c_str(), FALSE) != 0;
}

bool registerTemplate(const std::string& arguments)
{
    const auto comma = arguments.rfind(',');
    const std::string path = arguments.substr(0, comma);
    const auto slash = path.find_last_of("\\/");
    const std::string file = upper(slash == std::string::npos ? path : path.substr(slash + 1));
    for (const std::string& failing : g_options.failing) {
        if (upper(failing) == file) {
            g_lastErrorNumber = g_options.errorNumber;
            g_lastErrorText = g_options.errorText;
            return false;
        }
    }
    return true;
}

bool carryOut(const std::string& command)
{
    std::string arguments;
    if (argumentsOf(command, "ExportDct", arguments))
        return exportDictionary(arguments);
    if (argumentsOf(command, "RegisterTemplateChain", arguments))
        return registerTemplate(arguments);
    return false;
}

void onInitiate(HWND self, HWND client, LPARAM lParam)
{
    const std::string service = atomName(LOWORD(lParam));
    const std::string topic = atomName(HIWORD(lParam));
    const bool serviceMatches = LOWORD(lParam) == 0 || upper(service) == upper(Service);
    const bool topicMatches = HIWORD(lParam) == 0 || upper(topic) == upper(AnsweredTopic);
    if (!serviceMatches || !topicMatches || g_client)
        return;
    report("initiate " + service + "|" + topic);
    g_client = client;
    // The acknowledgement's atoms are new ones: the client deletes them.
    const ATOM app = GlobalAddAtomA(Service);
    const ATOM answered = GlobalAddAtomA(AnsweredTopic);
    SendMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(self), MAKELPARAM(app, answered));
}

void onExecute(HWND self, HWND client, LPARAM lParam)
{
    UINT_PTR unused = 0;
    UINT_PTR handle = 0;
    UnpackDDElParam(WM_DDE_EXECUTE, lParam, &unused, &handle);
    const HGLOBAL commands = reinterpret_cast<HGLOBAL>(handle);
    std::string command;
    if (const char* text = static_cast<const char*>(GlobalLock(commands))) {
        command.assign(text, strnlen(text, GlobalSize(commands)));
        GlobalUnlock(commands);
    }
    report("execute " + command);
    if (g_options.silent) {
        FreeDDElParam(WM_DDE_EXECUTE, lParam);
        return;
    }
    const WORD status = carryOut(command) ? 0x8000 : 0; // fAck
    const LPARAM ack = ReuseDDElParam(lParam, WM_DDE_EXECUTE, WM_DDE_ACK, status, handle);
    if (!PostMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(self), ack))
        FreeDDElParam(WM_DDE_ACK, ack);
}

HGLOBAL textData(const std::string& text)
{
    const SIZE_T size = offsetof(DDEDATA, Value) + text.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
    if (!block)
        return nullptr;
    auto* data = static_cast<DDEDATA*>(GlobalLock(block));
    std::memset(data, 0, size);
    data->fResponse = 1;
    data->fRelease = 1; // the client frees the block
    data->cfFormat = CF_TEXT;
    std::memcpy(data->Value, text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    return block;
}

void onRequest(HWND self, HWND client, LPARAM lParam)
{
    const UINT format = LOWORD(lParam);
    const ATOM itemAtom = HIWORD(lParam);
    const std::string item = atomName(itemAtom);
    report("request " + item);
    if (g_options.silent) {
        GlobalDeleteAtom(itemAtom);
        return;
    }
    const std::string name = upper(item);
    const bool known = format == CF_TEXT && (name == "GETERRORNUM" || name == "GETERRORMSG");
    if (known) {
        if (HGLOBAL block = textData(name == "GETERRORNUM" ? g_lastErrorNumber : g_lastErrorText)) {
            const LPARAM data = PackDDElParam(WM_DDE_DATA, reinterpret_cast<UINT_PTR>(block), itemAtom);
            if (PostMessageA(client, WM_DDE_DATA, reinterpret_cast<WPARAM>(self), data))
                return;
            FreeDDElParam(WM_DDE_DATA, data);
            GlobalFree(block);
        }
    }
    const LPARAM refused = PackDDElParam(WM_DDE_ACK, 0, itemAtom);
    if (!PostMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(self), refused)) {
        FreeDDElParam(WM_DDE_ACK, refused);
        GlobalDeleteAtom(itemAtom);
    }
}

LRESULT CALLBACK serverWindow(HWND self, UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND client = reinterpret_cast<HWND>(wParam);
    switch (message) {
    case WM_DDE_INITIATE:
        onInitiate(self, client, lParam);
        return 0;
    case WM_DDE_EXECUTE:
        onExecute(self, client, lParam);
        return 0;
    case WM_DDE_REQUEST:
        onRequest(self, client, lParam);
        return 0;
    case WM_DDE_TERMINATE:
        report("terminate");
        PostMessageA(client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(self), 0);
        if (client == g_client)
            g_client = nullptr;
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(self, message, wParam, lParam);
    }
}

// The test ends the stand-in by closing its standard input.
DWORD WINAPI watchInput(void* window)
{
    char buffer[64];
    DWORD read = 0;
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    while (ReadFile(input, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    }
    PostMessageA(static_cast<HWND>(window), WM_CLOSE, 0, 0);
    return 0;
}

bool parse(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--silent" || option == "--write-nothing") {
            (option == "--silent" ? options.silent : options.writeNothing) = true;
            continue;
        }
        if (i + 1 >= argc)
            return false;
        const std::string value = argv[++i];
        if (option == "--dictionary")
            options.dictionary = value;
        else if (option == "--fail")
            options.failing.push_back(value);
        else if (option == "--error-number")
            options.errorNumber = value;
        else if (option == "--error-text")
            options.errorText = value;
        else
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (!parse(argc, argv, g_options)) {
        std::fputs("usage: standin_ide [--dictionary TXD | --write-nothing] [--fail FILE]... "
                   "[--error-number N] [--error-text TEXT] [--silent]\n",
                   stderr);
        return 2;
    }
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = serverWindow;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KestrixStandInIde";
    if (!RegisterClassA(&windowClass))
        return 1;
    // A hidden top-level window: a message-only one would not see the broadcast initiate.
    const HWND window = CreateWindowA(windowClass.lpszClassName, "Stand-in IDE", WS_OVERLAPPED, 0, 0, 0, 0,
                                      nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window)
        return 1;
    const HANDLE watcher = CreateThread(nullptr, 0, watchInput, window, 0, nullptr);
    if (!watcher)
        return 1;
    CloseHandle(watcher);
    report("ready");
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
