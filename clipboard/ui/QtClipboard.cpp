#include "clipboard/ui/QtClipboard.h"

#include "runtime/ui/QtText.h"

#include <QClipboard>
#include <QGuiApplication>

namespace kestrix::clipboard {

void QtClipboard::setText(const std::string& text)
{
    QGuiApplication::clipboard()->setText(runtime::toQt(text));
}

std::string QtClipboard::text() const
{
    return runtime::fromQt(QGuiApplication::clipboard()->text());
}

} // namespace kestrix::clipboard
