#include "runtime/ColorContrast.h"

#include <gtest/gtest.h>

using namespace kestrix::runtime;

TEST(ColorContrast, TheExtremesAndTheWeighingOfTheChannels)
{
    EXPECT_DOUBLE_EQ(relativeLuminance(0x000000), 0.0);
    EXPECT_DOUBLE_EQ(relativeLuminance(0xFFFFFF), 1.0);
    EXPECT_NEAR(contrastRatio(0x000000, 0xFFFFFF), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio(0xFFFFFF, 0x000000), 21.0, 1e-9);
    EXPECT_DOUBLE_EQ(contrastRatio(0x123456, 0x123456), 1.0);
    // Green weighs most and blue least: the layout is 0x00BBGGRR.
    EXPECT_GT(relativeLuminance(0x00FF00), relativeLuminance(0x0000FF));
    EXPECT_GT(relativeLuminance(0x0000FF), relativeLuminance(0xFF0000));
    EXPECT_NEAR(relativeLuminance(0x0000FF), 0.2126, 1e-4); // pure red
}

TEST(ColorContrast, ForegroundsAreChosenAgainstTheActualBackground)
{
    struct Case
    {
        long wanted;
        long background;
        long listText;
        long expected;
    };
    const Case cases[] = {
        {0x0000FF, 0xFFFFFF, 0x000000, 0x0000FF}, // red on white: readable, kept
        {0x800000, 0x1E1E1E, 0xFFFFFF, 0xFFFFFF}, // navy on a dark list: white instead
        {0x0000FF, 0x1E1E1E, 0xFFFFFF, 0x0000FF}, // red stands out there
        {0x000000, 0x202020, 0xE0E0E0, 0xFFFFFF}, // black text on a dark row
        {NoColor, 0x00FFFF, 0xFFFFFF, 0x000000},  // the dark theme's white text on a yellow row
        {NoColor, 0x00FFFF, 0x000000, 0x000000},  // the light theme's black text there is kept
        {NoColor, 0x202020, 0xE0E0E0, 0xE0E0E0},
        {0x808080, 0x7F7F7F, 0x000000, 0x000000}, // grey on grey: the better of black and white
    };
    for (const Case& c : cases)
        EXPECT_EQ(readableForeground(c.wanted, c.background, c.listText), c.expected)
            << std::hex << c.wanted << " on " << c.background;
}
