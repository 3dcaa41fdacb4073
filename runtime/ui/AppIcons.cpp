#include "runtime/ui/AppIcons.h"

#include "runtime/FixedText.h"

#include <QDirIterator>
#include <QHash>

namespace kestrix::runtime {

namespace {

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
    return *index.made.insert(key, QIcon(*file));
}

} // namespace kestrix::runtime
