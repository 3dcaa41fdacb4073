#include "runtime/ui/QtDocumentLauncher.h"

#include "runtime/ui/QtText.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace kestrix::runtime {

bool QtDocumentLauncher::openDocument(const std::string& file)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(toQt(file)));
}

bool QtDocumentLauncher::startProgram(const std::string& program, const std::vector<std::string>& arguments)
{
    QStringList args;
    for (const std::string& a : arguments)
        args << toQt(a);
    return QProcess::startDetached(toQt(program), args);
}

} // namespace kestrix::runtime
