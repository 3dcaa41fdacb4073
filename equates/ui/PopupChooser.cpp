#include "equates/ui/PopupChooser.h"

#include "equates/PopupLoader.h"
#include "runtime/ui/QtText.h"

#include <QCursor>
#include <QMenu>

namespace kestrix::equates {

std::string choosePopupCode(QWidget* parent, runtime::KeyedFile& popups, const std::string& type,
                            const std::string& conversions, std::size_t maxLength)
{
    const auto menu = popupMenu(popups, type);
    if (!menu)
        return {};
    QMenu popup(parent);
    popup.setObjectName(QStringLiteral("popupCode"));
    for (std::size_t i = 0; i < menu->items.size(); ++i) {
        const std::string& item = menu->items[i];
        if (item == "-") {
            popup.addSeparator()->setData(static_cast<int>(i + 1));
            continue;
        }
        popup.addAction(runtime::toQt(item))->setData(static_cast<int>(i + 1));
    }
    const QAction* chosen = popup.exec(QCursor::pos());
    if (!chosen)
        return {};
    return popupTemplate(popups, type, chosen->data().toInt(), conversions, maxLength);
}

} // namespace kestrix::equates
