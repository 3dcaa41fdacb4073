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
// Applies the font and its colour when the stored font is one other than "Default".
void applyFont(QWidget* widget, const FontSpec& spec);

} // namespace kestrix::runtime
