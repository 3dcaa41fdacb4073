#include "runtime/ui/AppIcons.h"

#include "runtime/FixedText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace kestrix::runtime {

namespace {

constexpr int DisabledGrey = 150;    // the middle of the band
constexpr int DisabledContrast = 30; // percent of the picture's own contrast kept

// The icons' pictures by upper-case base name, one resource file per size (":/icons/<size>/<name>.argb":
// drawn from the SVG sources when the program was built, premultiplied ARGB32 pixels row by row), listed
// once per program: a start asks for some thirty icons. Every icon is drawn at every size, so the sizes
// and each icon's file name make every path. Each icon is made on first use and shared after.
// Never destroyed: icons must not outlive the application object.
struct IconIndex
{
    QList<int> sizes; // ascending
    QHash<QString, QString> files;
    QHash<QString, QIcon> made;
};

const QString& iconRoot()
{
    static const QString root = QStringLiteral(":/icons");
    return root;
}

IconIndex& iconIndex()
{
    static auto* index = [] {
        auto* found = new IconIndex;
        // One folder names them all (an iterator over the resources cost more than reading the pictures).
        const QDir root(iconRoot());
        for (const QString& folder : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            bool isSize = false;
            const int size = folder.toInt(&isSize);
            if (isSize)
                found->sizes.append(size);
        }
        if (found->sizes.isEmpty())
            return found;
        std::sort(found->sizes.begin(), found->sizes.end());
        const QDir first(root.filePath(QString::number(found->sizes.first())));
        for (const QString& file : first.entryList({QStringLiteral("*.argb")}, QDir::Files))
            found->files.insert(QFileInfo(file).completeBaseName().toUpper(), file);
        return found;
    }();
    return *index;
}

QPixmap readPicture(const QString& path, int side)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray pixels = file.readAll();
    if (pixels.size() != qsizetype(side) * side * 4)
        return {};
    const QImage picture(reinterpret_cast<const uchar*>(pixels.constData()), side, side,
                         QImage::Format_ARGB32_Premultiplied);
    return QPixmap::fromImage(picture.copy());
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

// An icon drawn ahead at several sizes: a size asked for is read when first needed (reading them
// all up front cost more than the SVG did), taken from the nearest larger picture when not drawn
// exactly, and kept. Its disabled form is the program's one disabled look.
class PrerenderedIconEngine final : public QIconEngine
{
public:
    PrerenderedIconEngine(QString file, QList<int> sizes) : m_file(std::move(file)), m_sizes(std::move(sizes))
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device()->devicePixelRatio();
        painter->drawPixmap(rect, scaledPixmap(rect.size() * ratio, mode, state, ratio));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal) override
    {
        const int side = qMin(size.width(), size.height());
        if (side <= 0 || m_sizes.isEmpty())
            return {};
        const bool disabled = mode == QIcon::Disabled;
        QPixmap& kept = (disabled ? m_disabled : m_normal)[side];
        if (kept.isNull())
            kept = disabled ? disabledLook(picture(side)) : picture(side);
        return kept;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = qMin(size.width(), size.height());
        return QSize(side, side);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const int side : m_sizes)
            sizes.append(QSize(side, side));
        return sizes;
    }
    bool isNull() override { return m_sizes.isEmpty(); }
    QIconEngine* clone() const override { return new PrerenderedIconEngine(m_file, m_sizes); }

private:
    QPixmap picture(int side) const
    {
        const auto larger = std::lower_bound(m_sizes.cbegin(), m_sizes.cend(), side);
        const int drawn = larger == m_sizes.cend() ? m_sizes.last() : *larger;
        QPixmap read = readPicture(iconRoot() + u'/' + QString::number(drawn) + u'/' + m_file, drawn);
        if (!read.isNull() && drawn != side)
            read = read.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return read;
    }

    QString m_file;
    QList<int> m_sizes;
    QHash<int, QPixmap> m_normal;
    QHash<int, QPixmap> m_disabled;
};

} // namespace

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
    return *index.made.insert(key, QIcon(new PrerenderedIconEngine(*file, index.sizes)));
}

} // namespace kestrix::runtime
