#include "runtime/ui/DesktopLook.h"

#include "runtime/FixedText.h"

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

namespace {

// With no palette given, the style's own light one.
void useFusion(const QPalette* palette)
{
    QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"));
    QApplication::setStyle(fusion); // the application takes it
    QApplication::setPalette(palette ? *palette : fusion->standardPalette());
}

} // namespace

void applyDesktopLook(QApplication& application)
{
    const std::string ownChoice = qEnvironmentVariable(ColourSchemeVariable).toStdString();
    const bool platformDark = isDarkPalette(application.palette());
    const bool dark =
        desktopPrefersDark(ownChoice, platformDark, qEnvironmentVariable("GTK_THEME").toStdString());
    if (dark && !platformDark) {
        const QPalette palette = darkPalette();
        useFusion(&palette);
        return;
    }
    if (!dark) {
        if (platformDark) // the user asked for light windows on a dark desktop
            useFusion(nullptr);
        return;
    }
    // The native Windows style paints its own light controls whatever the palette says.
    if (application.style() &&
        application.style()->name().compare(QStringLiteral("fusion"), Qt::CaseInsensitive) != 0 &&
        application.style()->name().startsWith(QStringLiteral("windows"), Qt::CaseInsensitive)) {
        const QPalette palette = application.palette();
        useFusion(&palette);
    }
}

bool isDarkPalette(const QPalette& palette)
{
    return palette.color(QPalette::WindowText).lightness() > palette.color(QPalette::Window).lightness();
}

bool desktopPrefersDark(std::string_view ownChoice, bool platformPaletteDark, std::string_view gtkTheme)
{
    const std::string choice = upper(trim(ownChoice));
    if (choice == "DARK")
        return true;
    if (choice == "LIGHT")
        return false;
    return platformPaletteDark || findNoCase(gtkTheme, "DARK") != std::string::npos;
}

QPalette darkPalette()
{
    const QColor window(0x2D, 0x2D, 0x2D);
    const QColor base(0x1E, 0x1E, 0x1E);
    const QColor text(0xE8, 0xE8, 0xE8);
    const QColor disabled(0x80, 0x80, 0x80);
    QPalette p(window);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, disabled);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::red);
    p.setColor(QPalette::Link, QColor(0x6C, 0xB4, 0xFF));
    p.setColor(QPalette::Highlight, QColor(0x2A, 0x6E, 0xBB));
    p.setColor(QPalette::HighlightedText, Qt::white);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    return p;
}

} // namespace kestrix::runtime
