#include "runtime/ui/WindowPlacement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace kestrix::runtime {

namespace {

Rect toRect(const QRect& r)
{
    return {r.x(), r.y(), r.width(), r.height()};
}

QRect toQRect(const Rect& r)
{
    return {r.x, r.y, r.width, r.height};
}

// Where the window can be: its parent's area for a child (an MDI tool), at the scale of the screen the
// frame is on; else every screen there is now.
std::vector<Screen> placesFor(const QWidget* window)
{
    if (!window->isWindow() && window->parentWidget()) {
        const QScreen* screen = window->screen();
        return {Screen{toRect(window->parentWidget()->rect()), screen ? screen->devicePixelRatio() : 1.0}};
    }
    std::vector<Screen> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.push_back({toRect(screen->availableGeometry()), screen->devicePixelRatio()});
    return screens;
}

} // namespace

void restorePlacement(QWidget* window, const WindowPositionStore& store, const std::string& procedure)
{
    const auto position = store.restore(procedure);
    if (!position)
        return;
    // Screens, their scales and frames change between runs: what was stored is brought back where it can be
    // seen and reached.
    QSize size(position->width, position->height);
    if (size.width() <= 0 || size.height() <= 0) {
        const qreal ratio = window->screen() ? window->screen()->devicePixelRatio() : 1.0;
        size = window->size() * ratio;
    }
    const Rect stored{position->x, position->y, size.width(), size.height()};
    window->setGeometry(toQRect(placeOnScreens(stored, placesFor(window))));
    if (position->maximized)
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

void centreOn(QWidget* dialog, const QWidget* anchor)
{
    if (!anchor || !anchor->isVisible())
        anchor = QApplication::activeWindow();
    QRect over;
    if (anchor)
        over = QRect(anchor->mapToGlobal(QPoint(0, 0)), anchor->size());
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        over = screen->availableGeometry();
    if (over.isEmpty())
        return;
    dialog->adjustSize();
    QRect placed(QPoint(), dialog->size());
    placed.moveCenter(over.center());
    dialog->move(placed.topLeft());
}

void savePlacement(const QWidget* window, const WindowPositionStore& store, const std::string& procedure)
{
    // The size of the window when it is not maximised is what is kept.
    const QRect normal =
        window->isMaximized() || window->isMinimized() ? window->normalGeometry() : window->geometry();
    const std::vector<Screen> places = placesFor(window);
    const int on = screenFor(toRect(normal), places);
    const Rect device =
        on < 0 ? toRect(normal) : toDevicePixels(toRect(normal), places[static_cast<std::size_t>(on)]);
    store.save(procedure, {device.x, device.y, device.width, device.height, window->isMaximized()});
}

} // namespace kestrix::runtime
