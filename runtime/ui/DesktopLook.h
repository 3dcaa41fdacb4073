#pragma once

class QApplication;
class QPalette;

// The program looks like the desktop it runs on: a dark desktop gets dark windows.
namespace kestrix::runtime {

// Before the application object exists: asks the window system to hand over the desktop's dark palette
// (where it does not by itself), unless the user chose a platform of their own.
void followDesktopColourScheme();
// After: a dark palette is drawn with a style that can draw it.
void applyDesktopLook(QApplication& application);
// Text lighter than the background it stands on.
bool isDarkPalette(const QPalette& palette);

} // namespace kestrix::runtime
