#include "runtime/ScreenPlacement.h"

#include <gtest/gtest.h>

using namespace kestrix::runtime;

namespace {
// Two screens side by side, the right one scaled to 150 %.
const Screen Left{{0, 0, 1920, 1040}, 1.0};
const Screen RightScaled{{1920, 0, 1280, 680}, 1.5}; // 1920 x 1020 device pixels
} // namespace

TEST(ScreenPlacement, APositionOnAScreenThatIsThereStays)
{
    const Rect stored{100, 80, 800, 600};
    EXPECT_EQ(placeOnScreens(stored, {Left, RightScaled}), stored);
    EXPECT_EQ(screenFor(stored, {Left, RightScaled}), 0);
}

TEST(ScreenPlacement, PositionsScaleWithTheRatioOfTheirScreen)
{
    const Rect onRight{2020, 60, 400, 300}; // as the window system gives it on the scaled screen
    const Rect device = toDevicePixels(onRight, RightScaled);
    EXPECT_EQ(device, (Rect{2070, 90, 600, 450}));
    EXPECT_EQ(fromDevicePixels(device, RightScaled), onRight);
    EXPECT_EQ(placeOnScreens(device, {Left, RightScaled}), onRight);
    // On an unscaled screen the units are the same.
    EXPECT_EQ(toDevicePixels({10, 20, 30, 40}, Left), (Rect{10, 20, 30, 40}));
    // A ratio the system did not give is taken as 1.
    EXPECT_EQ(toDevicePixels({10, 20, 30, 40}, Screen{{0, 0, 100, 100}, 0.0}), (Rect{10, 20, 30, 40}));
}

TEST(ScreenPlacement, AWindowOfARemovedScreenComesBackOnTheNearestOne)
{
    struct Case
    {
        Rect stored;
        Rect expected;
    };
    const Case cases[] = {
        // The right screen is gone: the window lands at the right edge of the left one.
        {{2500, 100, 800, 600}, {1120, 100, 800, 600}},
        // Above and left of everything: the top-left corner.
        {{-3000, -2000, 500, 400}, {0, 0, 500, 400}},
        // Below: the bottom edge, its column kept.
        {{300, 5000, 500, 400}, {300, 640, 500, 400}},
        // Larger than the screen: shrunk to it.
        {{-100, -100, 4000, 3000}, {0, 0, 1920, 1040}},
        // Half on: moved wholly on.
        {{1700, 900, 500, 400}, {1420, 640, 500, 400}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(placeOnScreens(c.stored, {Left}), c.expected) << c.stored.x << "," << c.stored.y;
}

TEST(ScreenPlacement, TheScreenHoldingMostOfTheWindowWins)
{
    // 100 device pixels on the left screen, 500 on the right one.
    const Rect stored{1820, 100, 600, 300};
    EXPECT_EQ(screenFor(stored, {Left, RightScaled}), 1);
    const Rect placed = placeOnScreens(stored, {Left, RightScaled});
    EXPECT_EQ(placed, (Rect{1920, 67, 400, 200}));
    // Nearer the second of two screens with a gap between them.
    const Screen far{{4000, 0, 1000, 1000}, 1.0};
    EXPECT_EQ(screenFor({3600, 10, 300, 300}, {Left, far}), 1);
    EXPECT_EQ(screenFor({2100, 10, 300, 300}, {Left, far}), 0);
    EXPECT_EQ(screenFor({0, 0, 10, 10}, {}), -1);
    EXPECT_EQ(placeOnScreens({5, 6, 7, 8}, {}), (Rect{5, 6, 7, 8}));
}
