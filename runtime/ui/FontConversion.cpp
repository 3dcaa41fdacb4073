#include "runtime/ui/FontConversion.h"

#include "runtime/ColorContrast.h"
#include "runtime/FixedText.h"
#include "runtime/ui/QtText.h"

#include <QFontDatabase>
#include <QPalette>
#include <QWidget>

namespace kestrix::runtime {

QFont toQFont(const FontSpec& spec, const QFont& base)
{
    QFont font = base;
    if (sameTextNoCase(spec.name, "Fixedsys")) {
        // Not on every system: the system's fixed font stands in for it.
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    } else if (!isBlank(spec.name) && !sameTextNoCase(spec.name, "Default")) {
        font.setFamily(toQt(spec.name));
    }
    if (spec.size > 0)
        font.setPointSize(static_cast<int>(spec.size));
    const long weight = spec.style & FontStyle::WeightMask;
    if (weight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp<long>(weight, 100, 900)));
    font.setItalic(spec.style & FontStyle::Italic);
    font.setUnderline(spec.style & FontStyle::Underline);
    font.setStrikeOut(spec.style & FontStyle::Strikeout);
    return font;
}

FontSpec fromQFont(const QFont& font)
{
    FontSpec spec;
    spec.name = fromQt(font.family());
    spec.size = font.pointSize() > 0 ? font.pointSize() : 8;
    spec.style = static_cast<long>(font.weight());
    if (font.italic())
        spec.style |= FontStyle::Italic;
    if (font.underline())
        spec.style |= FontStyle::Underline;
    if (font.strikeOut())
        spec.style |= FontStyle::Strikeout;
    return spec;
}

QColor toQColor(long bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

long toBgr(const QColor& colour)
{
    return static_cast<long>(colour.red()) | (static_cast<long>(colour.green()) << 8) |
           (static_cast<long>(colour.blue()) << 16);
}

void applyFont(QWidget* widget, const FontSpec& spec, const QFont& base)
{
    widget->setFont(base);
    widget->setPalette(QPalette());
    if (isBlank(spec.name) || sameTextNoCase(spec.name, "Default"))
        return;
    widget->setFont(toQFont(spec, widget->font()));
    QPalette palette = widget->palette();
    const auto readableOn = [&palette, &spec](QPalette::ColorRole background, QPalette::ColorRole text) {
        return toQColor(
            readableForeground(spec.color, toBgr(palette.color(background)), toBgr(palette.color(text))));
    };
    palette.setColor(QPalette::Text, readableOn(QPalette::Base, QPalette::Text));
    palette.setColor(QPalette::WindowText, readableOn(QPalette::Window, QPalette::WindowText));
    widget->setPalette(palette);
}

} // namespace kestrix::runtime
