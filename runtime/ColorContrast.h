#pragma once

// Text that stays readable on the background it is actually drawn on: a row's
// own colour where it stands out enough, else black or white, whichever stands
// out more. Colours are 0x00BBGGRR; -1 is "no colour" (the list's default).
namespace kestrix::runtime {

constexpr long NoColor = -1;
// The least contrast at which a row's own foreground is kept (the usual figure for bold or large text and
// for marks that carry meaning by colour).
constexpr double ReadableContrast = 3.0;

// 0 for black to 1 for white, as the eye weighs the channels.
double relativeLuminance(long bgr);
// 1 (none) to 21 (black on white).
double contrastRatio(long a, long b);
// The foreground to draw on `background`; `wanted` may be NoColor (the list's own text colour, given as
// `listText`).
long readableForeground(long wanted, long background, long listText);

} // namespace kestrix::runtime
