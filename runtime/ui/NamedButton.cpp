#include "runtime/ui/NamedButton.h"

#include <QPushButton>

namespace kestrix::runtime {

QPushButton* namedButton(QWidget* parent, const QString& text, const char* name, const QString& tip)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tip);
    return button;
}

} // namespace kestrix::runtime
