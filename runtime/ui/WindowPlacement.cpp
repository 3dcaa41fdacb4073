#include "runtime/ui/WindowPlacement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace kestrix::runtime {

namespace {

// Where the window can be seen: its parent's area for a child (an MDI tool), else the
// screen the stored position lies on, or the primary one when it lies on none.
QRect visibleArea(const QWidget* window, const QPoint& at)
{
    if (!window->isWindow() && window->parentWidget())
        return window->parentWidget()->rect();
    const QScreen* screen = QGuiApplication::screenAt(at);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QRect fittedInto(QRect r, const QRect& area)
{
    if (area.isEmpty())
        return r;
    r.setWidth(std::min(r.width(), area.width()));
    r.setHeight(std::min(r.height(), area.height()));
    r.moveLeft(std::clamp(r.left(), area.left(), area.right() - r.width() + 1));
    r.moveTop(std::clamp(r.top(), area.top(), area.bottom() - r.height() + 1));
    return r;
}

} // namespace

void restorePlacement(QWidget* window, const WindowPositionStore& store, const std::string& procedure)
{
    const auto position = store.restore(procedure);
    if (!position)
        return;
    // Screens and frames change between runs: what was stored is brought back where it can be seen and
    // reached.
    const QSize size = position->width > 0 && position->height > 0 ? QSize(position->width, position->height)
                                                                   : window->size();
    const QRect stored(QPoint(position->x, position->y), size);
    window->setGeometry(fittedInto(stored, visibleArea(window, stored.center())));
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
    store.save(procedure, {normal.x(), normal.y(), normal.width(), normal.height(), window->isMaximized()});
}

} // namespace kestrix::runtime
