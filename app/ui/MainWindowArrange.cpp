#include "app/ui/MainWindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

// The Window menu's arrangements of the tool windows.
namespace kestrix::app {

namespace {

// The tool windows an arrangement moves: shown and not minimized.
QList<QMdiSubWindow*> arrangedWindows(QMdiArea* mdi)
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : mdi->subWindowList()) {
        if (!w->isMinimized() && w->isVisible()) {
            w->showNormal();
            windows << w;
        }
    }
    return windows;
}

QSize atLeastMinimum(const QMdiSubWindow* w, QSize size)
{
    return size.expandedTo(w->minimumSize()).expandedTo(w->minimumSizeHint());
}

} // namespace

// Rows of windows, each row as wide as the area and the windows in it side by side; a window
// never shrinks below its minimum, and what the area cannot hold is reached by scrolling.
void MainWindow::arrangeRows(int columns)
{
    const QList<QMdiSubWindow*> windows = arrangedWindows(m_mdi);
    if (windows.isEmpty())
        return;
    const QRect area = m_mdi->viewport()->rect();
    const int n = static_cast<int>(windows.size());
    columns = std::clamp(columns, 1, n);
    const int rows = (n + columns - 1) / columns;
    int y = 0;
    for (int row = 0; row < rows; ++row) {
        int x = 0;
        int rowHeight = 0;
        for (int column = 0; column < columns && row * columns + column < n; ++column) {
            QMdiSubWindow* w = windows[row * columns + column];
            const QSize size = atLeastMinimum(w, QSize(area.width() / columns, area.height() / rows));
            w->setGeometry(QRect(QPoint(x, y), size));
            x += size.width();
            rowHeight = std::max(rowHeight, size.height());
        }
        y += rowHeight;
    }
}

void MainWindow::arrangeGrid()
{
    const int n = static_cast<int>(arrangedWindows(m_mdi).size());
    int columns = 1;
    while (columns * columns < n)
        ++columns;
    arrangeRows(columns);
}

void MainWindow::arrangeTiled(Qt::Orientation orientation)
{
    arrangeRows(orientation == Qt::Horizontal ? static_cast<int>(arrangedWindows(m_mdi).size()) : 1);
}

void MainWindow::arrangeCascade()
{
    const QList<QMdiSubWindow*> windows = arrangedWindows(m_mdi);
    const QRect area = m_mdi->viewport()->rect();
    const int step = std::max(m_mdi->fontMetrics().height() + 8, 16);
    for (int i = 0; i < static_cast<int>(windows.size()); ++i) {
        QMdiSubWindow* w = windows[i];
        const QSize size = atLeastMinimum(w, QSize(area.width() * 2 / 3, area.height() * 2 / 3));
        w->setGeometry(QRect(QPoint(i * step, i * step), size));
        w->raise();
    }
    if (!windows.isEmpty())
        m_mdi->setActiveSubWindow(windows.back());
}

void MainWindow::arrangeIcons()
{
    const QRect area = m_mdi->viewport()->rect();
    int x = 0;
    int y = area.bottom();
    for (QMdiSubWindow* w : m_mdi->subWindowList()) {
        if (!w->isMinimized())
            continue;
        const QSize size = w->size();
        if (x + size.width() > area.width() && x > 0) {
            x = 0;
            y -= size.height();
        }
        w->move(x, y - size.height() + 1);
        x += size.width();
    }
}
} // namespace kestrix::app
