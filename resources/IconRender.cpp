// Draws the program's SVG icons as PNG pictures at each size the windows ask for, once, while
// the program is built: reading and drawing an SVG for every icon cost a start more than the
// rest of its pictures. The SVG files stay the icons' source.
//
// A picture is stored as its premultiplied ARGB32 pixels, row by row, in the byte order of the
// machine that built it (the one it runs on): reading it is a copy, where decoding an image file
// first looked for image format plug-ins.
//
// Usage: kestrix_icon_render OUTDIR SIZE[,SIZE...] SVG...
// Writes OUTDIR/<size>/<name>.argb for every size and SVG file.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s OUTDIR SIZE[,SIZE...] SVG...\n", argv[0]);
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    QList<int> sizes;
    for (const QString& size : QString::fromLatin1(argv[2]).split(u',')) {
        bool ok = false;
        const int pixels = size.toInt(&ok);
        if (!ok || pixels <= 0) {
            std::fprintf(stderr, "not a picture size: %s\n", qPrintable(size));
            return 2;
        }
        sizes.append(pixels);
    }
    for (int i = 3; i < argc; ++i) {
        const QString svg = QString::fromLocal8Bit(argv[i]);
        QSvgRenderer renderer(svg);
        if (!renderer.isValid()) {
            std::fprintf(stderr, "cannot read the icon %s\n", argv[i]);
            return 1;
        }
        for (const int pixels : sizes) {
            QImage picture(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
            picture.fill(Qt::transparent);
            QPainter painter(&picture);
            renderer.render(&painter);
            painter.end();
            const QString folder = outDir + u'/' + QString::number(pixels);
            QFile file(folder + u'/' + QFileInfo(svg).completeBaseName() + QStringLiteral(".argb"));
            const auto bytes = static_cast<qint64>(picture.sizeInBytes());
            if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly) ||
                file.write(reinterpret_cast<const char*>(picture.constBits()), bytes) != bytes) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
                return 1;
            }
        }
    }
    return 0;
}
