#include "runtime/ui/WindowPlacement.h"

#include <QWidget>

namespace kestrix::runtime {

void restorePlacement(QWidget* window, const WindowPositionStore& store, const std::string& procedure)
{
    const auto position = store.restore(procedure);
    if (!position)
        return;
    if (position->width > 0 && position->height > 0)
        window->setGeometry(position->x, position->y, position->width, position->height);
    else
        window->move(position->x, position->y);
    if (position->maximized)
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

void savePlacement(const QWidget* window, const WindowPositionStore& store, const std::string& procedure)
{
    // The size of the window when it is not maximised is what is kept.
    const QRect normal = window->isMaximized() || window->isMinimized() ? window->normalGeometry() : window->geometry();
    store.save(procedure, {normal.x(), normal.y(), normal.width(), normal.height(), window->isMaximized()});
}

} // namespace kestrix::runtime
