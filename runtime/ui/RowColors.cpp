#include "runtime/ui/RowColors.h"

#include "runtime/ColorContrast.h"
#include "runtime/ui/FontConversion.h"

#include <QPalette>
#include <QTreeWidget>

namespace kestrix::runtime {

void paintRow(QTreeWidgetItem* item, int columns, long foreground, long background)
{
    if (foreground == NoColor && background == NoColor)
        return; // the list's own colours, which the theme keeps readable
    const QPalette palette = item->treeWidget() ? item->treeWidget()->palette() : QPalette();
    const long drawnOn = background == NoColor ? toBgr(palette.color(QPalette::Base)) : background;
    const long text = readableForeground(foreground, drawnOn, toBgr(palette.color(QPalette::Text)));
    for (int col = 0; col < columns; ++col) {
        item->setForeground(col, toQColor(text));
        if (background != NoColor)
            item->setBackground(col, toQColor(background));
    }
}

void showListBold(QWidget* list, bool bold)
{
    QFont font = list->font();
    font.setBold(bold);
    list->setFont(font);
}

} // namespace kestrix::runtime
