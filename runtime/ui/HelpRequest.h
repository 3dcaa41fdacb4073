#pragma once

#include <QString>

#include <functional>

class QWidget;

// One road to the help viewer for every window and dialog: the frame installs
// the handler, windows ask for a topic ("~Message_Maker").
namespace kestrix::runtime {

void setHelpHandler(std::function<void(const QString& topic)> handler);
void requestHelp(const QString& topic);
// F1 on `widget` (or any of its children) asks for `topic`.
void addHelpKey(QWidget* widget, const QString& topic);

} // namespace kestrix::runtime
