#include "runtime/ColorContrast.h"

#include <algorithm>
#include <cmath>

namespace kestrix::runtime {

namespace {

double linear(long channel)
{
    const double c = static_cast<double>(channel & 0xFF) / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

constexpr long Black = 0x000000;
constexpr long White = 0xFFFFFF;

} // namespace

double relativeLuminance(long bgr)
{
    return 0.2126 * linear(bgr) + 0.7152 * linear(bgr >> 8) + 0.0722 * linear(bgr >> 16);
}

double contrastRatio(long a, long b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

long readableForeground(long wanted, long background, long listText)
{
    const long text = wanted == NoColor ? listText : wanted;
    if (contrastRatio(text, background) >= ReadableContrast)
        return text;
    return contrastRatio(Black, background) >= contrastRatio(White, background) ? Black : White;
}

} // namespace kestrix::runtime
