#pragma once

#include "runtime/ScreenPlacement.h"
#include "runtime/WindowPositionStore.h"

class QWidget;

// Restores a window from the position store when it opens and saves it when it closes, in the
// device pixels of its screen, brought back onto a screen that is there now.
namespace kestrix::runtime {

void restorePlacement(QWidget* window, const WindowPositionStore& store, const std::string& procedure);
void savePlacement(const QWidget* window, const WindowPositionStore& store, const std::string& procedure);
// Puts a dialog over the middle of `anchor` (the active window when `anchor` is not yet shown).
void centreOn(QWidget* dialog, const QWidget* anchor);

} // namespace kestrix::runtime
