#include "runtime/ui/DesktopLook.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QtGlobal>

namespace kestrix::runtime {

void followDesktopColourScheme()
{
#ifdef Q_OS_WIN
    // Windows gives its dark mode to programs that ask; other desktops' themes pass their palette on.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "windows:darkmode=2");
#endif
}

void applyDesktopLook(QApplication& application)
{
    if (!isDarkPalette(application.palette()))
        return;
    // The native Windows style paints its own light controls whatever the palette says.
    if (application.style() &&
        application.style()->name().compare(QStringLiteral("fusion"), Qt::CaseInsensitive) != 0 &&
        application.style()->name().startsWith(QStringLiteral("windows"), Qt::CaseInsensitive)) {
        const QPalette dark = application.palette();
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(dark);
    }
}

bool isDarkPalette(const QPalette& palette)
{
    return palette.color(QPalette::WindowText).lightness() > palette.color(QPalette::Window).lightness();
}

} // namespace kestrix::runtime
