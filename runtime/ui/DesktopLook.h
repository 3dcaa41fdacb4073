#pragma once

#include <string_view>

class QApplication;
class QPalette;

// The program looks like the desktop it runs on: a dark desktop gets dark windows.
namespace kestrix::runtime {

// The variable a user sets to "dark" or "light" to choose over what the desktop says.
inline constexpr const char* ColourSchemeVariable = "KESTRIX_COLOR_SCHEME";

// Before the application object exists: asks the window system to hand over the desktop's dark palette
// (where it does not by itself), unless the user chose a platform of their own.
void followDesktopColourScheme();
// After: a desktop that wants dark windows gets a dark palette (where the platform did not hand one
// over), drawn with a style that can draw it.
void applyDesktopLook(QApplication& application);
// Text lighter than the background it stands on.
bool isDarkPalette(const QPalette& palette);
// Whether to draw dark: the user's own choice first, then the palette the platform gave, then the GTK
// theme's name ("Adwaita:dark", "Yaru-dark"), which is how many Linux desktops tell it.
bool desktopPrefersDark(std::string_view ownChoice, bool platformPaletteDark, std::string_view gtkTheme);
// The palette for a dark desktop whose platform theme does not hand one over.
QPalette darkPalette();

} // namespace kestrix::runtime
