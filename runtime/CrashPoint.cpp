#include "runtime/CrashPoint.h"

#include <atomic>
#include <cstdlib>
#include <string>

#include "runtime/WindowsApi.h"

#ifndef _WIN32
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
            const CrashSetting setting = crashSettingFrom(text);
            s->remaining = setting.pass;
            s->point = setting.point;
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

CrashSetting crashSettingFrom(std::string_view text)
{
    const std::size_t colon = text.find(':');
    CrashSetting setting{crashPointNamed(text.substr(0, colon)), 1};
    if (colon != std::string_view::npos) {
        const std::string number(text.substr(colon + 1));
        char* end = nullptr;
        setting.pass = std::strtol(number.c_str(), &end, 10);
        if (number.empty() || *end != '\0')
            setting.pass = 0;
    }
    if (setting.point == CrashPoint::None || setting.pass <= 0)
        return {};
    return setting;
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
