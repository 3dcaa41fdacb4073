#include "runtime/CrashPoint.h"

#include <atomic>
#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <unistd.h>
#endif

namespace kestrix::runtime {

namespace {

struct Armed
{
    std::atomic<CrashPoint> point{CrashPoint::None};
    std::atomic<long> remaining{0};
};

Armed& armed()
{
    static Armed* state = [] {
        auto* s = new Armed;
        if (const char* text = std::getenv("KESTRIX_CRASH_AT")) {
            const std::string value(text);
            const std::size_t colon = value.find(':');
            const CrashPoint point = crashPointNamed(value.substr(0, colon));
            const long pass = colon == std::string::npos ? 1 : std::atol(value.c_str() + colon + 1);
            if (point != CrashPoint::None && pass > 0) {
                s->remaining = pass;
                s->point = point;
            }
        }
        return s;
    }();
    return *state;
}

[[noreturn]] void killSelf()
{
#ifdef _WIN32
    TerminateProcess(GetCurrentProcess(), 137);
#else
    ::kill(::getpid(), SIGKILL);
#endif
    std::abort();
}

} // namespace

CrashPoint crashPointNamed(std::string_view name)
{
    if (name == "before-rename")
        return CrashPoint::BeforeRename;
    if (name == "equate-record")
        return CrashPoint::EquateRecord;
    if (name == "popup-record")
        return CrashPoint::PopupRecord;
    if (name == "tip-record")
        return CrashPoint::TipRecord;
    return CrashPoint::None;
}

void crashPoint(CrashPoint point)
{
    Armed& state = armed();
    if (state.point.load(std::memory_order_relaxed) != point || point == CrashPoint::None)
        return;
    if (--state.remaining <= 0)
        killSelf();
}

void armCrashPoint(CrashPoint point, long pass)
{
    Armed& state = armed();
    state.remaining = pass;
    state.point = point;
}

} // namespace kestrix::runtime
