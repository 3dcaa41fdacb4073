#pragma once

#include <QKeyEvent>

#include <optional>

namespace kestrix::equates {

// The keycode of a Qt key event, read through the keycode table by the key's name;
// nothing for a press of a modifier alone. A key the table does not name takes
// the system's own key number (the Windows key code where there is one).
std::optional<int> keycodeFromQt(const QKeyEvent& event);

} // namespace kestrix::equates
