#include "runtime/ui/AppIcons.h"

#include "runtime/FixedText.h"

#include <QDirIterator>
#include <QHash>

namespace kestrix::runtime {

namespace {

// Every icon of the resources by its upper-case base name, looked up once per program:
// a start asks for some thirty icons, and listing the resource folder for each was most of their cost.
// Never destroyed: icons outlive the application object, which they must not be freed after.
const QHash<QString, QIcon>& iconsByName()
{
    static const auto* icons = [] {
        auto* found = new QHash<QString, QIcon>;
        QDirIterator files(QStringLiteral(":/icons"), {QStringLiteral("*.svg")}, QDir::Files);
        while (files.hasNext()) {
            const QString path = files.next();
            found->insert(files.fileInfo().completeBaseName().toUpper(), QIcon(path));
        }
        return found;
    }();
    return *icons;
}

} // namespace

QIcon appIcon(const std::string& name)
{
    std::string base(runtime::trim(name));
    if (!base.empty() && base.front() == '~')
        base.erase(0, 1);
    if (const auto dot = base.rfind('.'); dot != std::string::npos)
        base.erase(dot);
    return iconsByName().value(QString::fromLatin1(runtime::upper(base).c_str()));
}

} // namespace kestrix::runtime
