#include "runtime/ui/AppIcons.h"

#include "runtime/FixedText.h"

#include <QDir>

namespace kestrix::runtime {

QIcon appIcon(const std::string& name)
{
    std::string base(runtime::trim(name));
    if (!base.empty() && base.front() == '~')
        base.erase(0, 1);
    if (const auto dot = base.rfind('.'); dot != std::string::npos)
        base.erase(dot);
    const QDir icons(QStringLiteral(":/icons"));
    for (const QString& file : icons.entryList({QStringLiteral("*.svg")})) {
        if (runtime::sameTextNoCase(file.chopped(4).toStdString(), base))
            return QIcon(icons.filePath(file));
    }
    return QIcon();
}

} // namespace kestrix::runtime
