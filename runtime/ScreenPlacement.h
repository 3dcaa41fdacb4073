#pragma once

#include <vector>

// Where a window goes back to when the screens are not those it was saved on.
// Positions are stored in device pixels, so a window keeps its physical place
// and size when the scale of its screen changes; a position on a screen that
// is gone is moved onto the nearest screen there is.
namespace kestrix::runtime {

struct Rect final
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

// A screen's usable area in the window system's units, and its device pixel ratio. The area's top-left
// corner is the same in both units; its size in device pixels is the size times the ratio.
struct Screen final
{
    Rect area;
    double ratio = 1.0;
};

// Device pixels of a rectangle that lies on `screen`.
Rect toDevicePixels(const Rect& r, const Screen& screen);
Rect fromDevicePixels(const Rect& r, const Screen& screen);

// The screen that holds most of a stored rectangle (device pixels), else the nearest one;
// -1 when there are no screens.
int screenFor(const Rect& stored, const std::vector<Screen>& screens);

// A stored rectangle (device pixels) as it opens now: in the units of the screen chosen above,
// no larger than its area and wholly on it. Unchanged when there are no screens.
Rect placeOnScreens(const Rect& stored, const std::vector<Screen>& screens);

// `r` shrunk to `area` where it is larger and moved just far enough to lie wholly in it.
Rect fitInto(Rect r, const Rect& area);

} // namespace kestrix::runtime
