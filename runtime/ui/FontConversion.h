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
// Applies the stored font and its colour; "Default" (or blank) gives the widget `base` and the
// palette it inherits, so a font applied again after a change undoes the one before.
void applyFont(QWidget* widget, const FontSpec& spec, const QFont& base = QFont());

} // namespace kestrix::runtime
