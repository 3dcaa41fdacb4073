#include "runtime/ui/AppIcons.h"

#include "runtime/FixedText.h"

#include <QDirIterator>
#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>

namespace kestrix::runtime {

namespace {

constexpr int DisabledGrey = 150;    // the middle of the band
constexpr int DisabledContrast = 30; // percent of the picture's own contrast kept

// The icon files of the resources by upper-case base name, listed once per program: a start
// asks for some thirty icons, and listing the resource folder for each was most of their cost.
// Each icon is made on first use and shared after, so its pictures are rendered once.
// Never destroyed: icons must not outlive the application object.
struct IconIndex
{
    QHash<QString, QString> files;
    QHash<QString, QIcon> made;
};

IconIndex& iconIndex()
{
    static auto* index = [] {
        auto* found = new IconIndex;
        QDirIterator files(QStringLiteral(":/icons"), {QStringLiteral("*.svg")}, QDir::Files);
        while (files.hasNext()) {
            const QString path = files.next();
            found->files.insert(files.fileInfo().completeBaseName().toUpper(), path);
        }
        return found;
    }();
    return *index;
}

// Every picture's disabled look is made the same way: its shades pressed into one narrow band of
// grey, so that a light picture and a dark one look equally switched off and neither vanishes.
QPixmap disabledLook(const QPixmap& normal)
{
    QImage image = normal.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            const int grey = DisabledGrey + (qGray(pixel) - 128) * DisabledContrast / 100;
            line[x] = qRgba(grey, grey, grey, qAlpha(pixel));
        }
    }
    QPixmap result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(normal.devicePixelRatio());
    return result;
}

class DisabledLookEngine final : public QIconEngine
{
public:
    explicit DisabledLookEngine(QIcon drawn) : m_drawn(std::move(drawn)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size() * painter->device()->devicePixelRatio(), mode, state));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        if (mode != QIcon::Disabled)
            return m_drawn.pixmap(size, scale, mode, state);
        return disabledLook(m_drawn.pixmap(size, scale, QIcon::Normal, state));
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return m_drawn.actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return m_drawn.availableSizes(mode, state);
    }
    bool isNull() override { return m_drawn.isNull(); }
    QIconEngine* clone() const override { return new DisabledLookEngine(m_drawn); }

private:
    QIcon m_drawn;
};

} // namespace

QIcon withDisabledLook(const QIcon& drawn)
{
    return drawn.isNull() ? drawn : QIcon(new DisabledLookEngine(drawn));
}

QIcon appIcon(const std::string& name)
{
    std::string base(runtime::trim(name));
    if (!base.empty() && base.front() == '~')
        base.erase(0, 1);
    if (const auto dot = base.rfind('.'); dot != std::string::npos)
        base.erase(dot);
    IconIndex& index = iconIndex();
    const QString key = QString::fromLatin1(runtime::upper(base).c_str());
    if (const auto made = index.made.constFind(key); made != index.made.cend())
        return *made;
    const auto file = index.files.constFind(key);
    if (file == index.files.cend())
        return QIcon();
    return *index.made.insert(key, withDisabledLook(QIcon(*file)));
}

} // namespace kestrix::runtime
