#pragma once

#include "runtime/DialogService.h"

#include <QColor>
#include <QFont>

class QWidget;

// The stored font form (name, size, 0x00BBGGRR colour, weight plus flags) and Qt's.
namespace kestrix::runtime {

QFont toQFont(const FontSpec& spec, const QFont& base = QFont());
FontSpec fromQFont(const QFont& font);
QColor toQColor(long bgr);
long toBgr(const QColor& colour);
// Applies the stored font and its colour; "Default" (or blank) gives the widget `base` and the
// palette it inherits, so a font applied again after a change undoes the one before. A colour that
// would not stand out from the widget's background (black on a dark theme) gives way to one that does.
void applyFont(QWidget* widget, const FontSpec& spec, const QFont& base = QFont());

} // namespace kestrix::runtime
