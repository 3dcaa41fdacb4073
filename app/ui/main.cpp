#include "app/DataDirectorySetup.h"
#include "app/ui/InstalledTools.h"
#include "app/ui/MainWindow.h"
#include "clipboard/ui/QtClipboard.h"
#include "config/Session.h"
#include "data/DataFileOpener.h"
#include "runtime/DataDirectory.h"
#include "runtime/ui/QtDialogs.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QTimer>

#include <iostream>

using namespace kestrix;

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrix"));
    QApplication::setApplicationVersion(QStringLiteral(KESTRIX_VERSION));

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dataDir(QStringLiteral("data-dir"), QStringLiteral("Folder with the program's data files."),
                                     QStringLiteral("DIR"),
                                     QString::fromStdString(runtime::defaultDataDirectory().string()));
    const QCommandLineOption exitAfterStart(QStringLiteral("exit-after-start"),
                                            QStringLiteral("End the program as soon as start-up has finished."));
    const QCommandLineOption analysisDebugTabs(
        QStringLiteral("analysis-debug-tabs"),
        QStringLiteral("Show the Read and Debug tabs of the Window Key Analysis (for testing the analysis)."));
    parser.addOption(dataDir);
    parser.addOption(exitAfterStart);
    parser.addOption(analysisDebugTabs);
    parser.process(application);

    const auto entered = runtime::enterDataDirectory(parser.value(dataDir).toStdString());
    if (!entered.ok) {
        std::cerr << entered.message << '\n';
        QMessageBox::critical(nullptr, QStringLiteral("Kestrix"), QString::fromStdString(entered.message));
        return 1;
    }

    if (const auto setup = app::prepareDataDirectory(); !setup.problem.empty())
        std::cerr << setup.problem << '\n';

    runtime::QtDialogs dialogs;
    clipboard::QtClipboard systemClipboard;
    config::Session session(dialogs, systemClipboard);
    app::ToolOptions toolOptions;
    toolOptions.analysisDebugTabs = parser.isSet(analysisDebugTabs);
    app::MainWindow frame(session, app::installedTools(session, toolOptions));
    dialogs.setParent(&frame);
    switch (frame.start()) {
    case app::MainWindow::StartResult::Halted:
        // A data file cannot be used: the user has been told which and why.
        std::cerr << data::HaltText << '\n';
        return 1;
    case app::MainWindow::StartResult::Cancelled: return 0;
    case app::MainWindow::StartResult::Started: break;
    }
    if (parser.isSet(exitAfterStart))
        QTimer::singleShot(0, &frame, &QWidget::close);
    return application.exec();
}
