#include "runtime/ScreenPlacement.h"

#include <algorithm>
#include <cmath>

namespace kestrix::runtime {

namespace {

int scaled(int value, double ratio)
{
    return static_cast<int>(std::lround(value * ratio));
}

Rect deviceArea(const Screen& screen)
{
    return {screen.area.x, screen.area.y, scaled(screen.area.width, screen.ratio),
            scaled(screen.area.height, screen.ratio)};
}

long long overlap(const Rect& a, const Rect& b)
{
    const long long w = std::min<long long>(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
    const long long h = std::min<long long>(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? w * h : 0;
}

// Squared distance from the middle of `r` to the nearest point of `area`.
long long distance(const Rect& r, const Rect& area)
{
    const long long cx = r.x + r.width / 2;
    const long long cy = r.y + r.height / 2;
    const long long dx = std::max<long long>({area.x - cx, 0, cx - (area.x + area.width - 1)});
    const long long dy = std::max<long long>({area.y - cy, 0, cy - (area.y + area.height - 1)});
    return dx * dx + dy * dy;
}

double safeRatio(double ratio)
{
    return ratio > 0 ? ratio : 1.0;
}

} // namespace

Rect toDevicePixels(const Rect& r, const Screen& screen)
{
    const double ratio = safeRatio(screen.ratio);
    return {screen.area.x + scaled(r.x - screen.area.x, ratio),
            screen.area.y + scaled(r.y - screen.area.y, ratio), scaled(r.width, ratio),
            scaled(r.height, ratio)};
}

Rect fromDevicePixels(const Rect& r, const Screen& screen)
{
    const double inverse = 1.0 / safeRatio(screen.ratio);
    return {screen.area.x + scaled(r.x - screen.area.x, inverse),
            screen.area.y + scaled(r.y - screen.area.y, inverse), scaled(r.width, inverse),
            scaled(r.height, inverse)};
}

int screenFor(const Rect& stored, const std::vector<Screen>& screens)
{
    int best = -1;
    long long bestOverlap = 0;
    for (int i = 0; i < static_cast<int>(screens.size()); ++i) {
        const long long shared = overlap(stored, deviceArea(screens[i]));
        if (shared > bestOverlap) {
            bestOverlap = shared;
            best = i;
        }
    }
    if (best >= 0)
        return best;
    long long nearest = 0;
    for (int i = 0; i < static_cast<int>(screens.size()); ++i) {
        const long long d = distance(stored, deviceArea(screens[i]));
        if (best < 0 || d < nearest) {
            nearest = d;
            best = i;
        }
    }
    return best;
}

Rect placeOnScreens(const Rect& stored, const std::vector<Screen>& screens)
{
    const int index = screenFor(stored, screens);
    if (index < 0)
        return stored;
    const Screen& screen = screens[static_cast<std::size_t>(index)];
    return fitInto(fromDevicePixels(stored, screen), screen.area);
}

Rect fitInto(Rect r, const Rect& area)
{
    if (area.width <= 0 || area.height <= 0)
        return r;
    r.width = std::clamp(r.width, 1, area.width);
    r.height = std::clamp(r.height, 1, area.height);
    r.x = std::clamp(r.x, area.x, area.x + area.width - r.width);
    r.y = std::clamp(r.y, area.y, area.y + area.height - r.height);
    return r;
}

} // namespace kestrix::runtime
