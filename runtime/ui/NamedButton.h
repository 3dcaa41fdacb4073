#pragma once

class QPushButton;
class QString;
class QWidget;

namespace kestrix::runtime {

// A push button the tests and the window settings find by `name`, with its tooltip.
QPushButton* namedButton(QWidget* parent, const QString& text, const char* name, const QString& tip);

} // namespace kestrix::runtime
