#pragma once

#include "runtime/WindowPositionStore.h"

class QWidget;

// Restores a window from the position store when it opens and saves it when it closes.
namespace kestrix::runtime {

void restorePlacement(QWidget* window, const WindowPositionStore& store, const std::string& procedure);
void savePlacement(const QWidget* window, const WindowPositionStore& store, const std::string& procedure);

} // namespace kestrix::runtime
