#pragma once

#include "runtime/KeyedFile.h"

#include <QPoint>

#include <string>

class QWidget;

namespace kestrix::equates {

// The popup-code routine: shows the menu of a popup type at `where` (the mouse
// position by default) and returns the chosen template, converted; blank when
// the type has no menu or nothing was chosen.
std::string choosePopupCode(QWidget* parent, runtime::KeyedFile& popups, const std::string& type,
                            const std::string& conversions, std::size_t maxLength = 512);

} // namespace kestrix::equates
