#include "app/DataDirectorySetup.h"
#include "app/cli/ConsoleDialogs.h"
#include "app/ui/InstalledTools.h"
#include "app/ui/InstanceLock.h"
#include "app/ui/MainWindow.h"
#include "clipboard/ui/QtClipboard.h"
#include "config/Session.h"
#include "data/DataFileOpener.h"
#include "runtime/DataDirectory.h"
#include "runtime/ui/DesktopLook.h"
#include "runtime/ui/QtDialogs.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QTimer>

#include <iostream>
#include <memory>

using namespace kestrix;

namespace {

struct Options
{
    QString dataDir;
    bool exitAfterStart = false;
    bool analysisDebugTabs = false;
};

void describeProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("Kestrix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRIX_VERSION));
}

// Read before the window system is touched, so that --help, --version and a mistyped
// option work without a display; they end the program here.
Options readOptions(int argc, char** argv)
{
    QCoreApplication probe(argc, argv);
    describeProgram();
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dataDir(
        QStringLiteral("data-dir"), QStringLiteral("Folder with the program's data files."),
        QStringLiteral("DIR"), QString::fromStdString(runtime::defaultDataDirectory().string()));
    const QCommandLineOption exitAfterStart(
        QStringLiteral("exit-after-start"),
        QStringLiteral(
            "End the program as soon as start-up has finished, without waiting for anyone: a first run takes "
            "the default configuration and messages go to stderr."));
    const QCommandLineOption analysisDebugTabs(
        QStringLiteral("analysis-debug-tabs"),
        QStringLiteral(
            "Show the Read and Debug tabs of the Window Key Analysis (for testing the analysis)."));
    parser.addOption(dataDir);
    parser.addOption(exitAfterStart);
    parser.addOption(analysisDebugTabs);
    parser.process(probe);
    return {parser.value(dataDir), parser.isSet(exitAfterStart), parser.isSet(analysisDebugTabs)};
}

} // namespace

int main(int argc, char** argv)
{
    const Options options = readOptions(argc, argv);
    runtime::followDesktopColourScheme();
    QApplication application(argc, argv);
    runtime::applyDesktopLook(application);
    describeProgram();

    const auto entered = runtime::enterDataDirectory(options.dataDir.toStdString());
    if (!entered.ok) {
        std::cerr << entered.message << '\n';
        if (!options.exitAfterStart)
            QMessageBox::critical(nullptr, QStringLiteral("Kestrix"),
                                  QString::fromStdString(entered.message));
        return 1;
    }
    app::InstanceLock lock(std::filesystem::current_path());
    if (!lock.acquired()) {
        const std::string refusal = lock.refusal(lock.askHolderToComeForward());
        std::cerr << runtime::messageLines(refusal) << '\n';
        if (!options.exitAfterStart)
            QMessageBox::information(nullptr, QStringLiteral("Kestrix"),
                                     QString::fromStdString(runtime::messageLines(refusal)));
        return 1;
    }

    if (const auto setup = app::prepareDataDirectory(); !setup.problem.empty())
        std::cerr << setup.problem << '\n';

    // Unattended, every message box is written to stderr and answered with its default button.
    runtime::QtDialogs windowDialogs;
    app::ConsoleDialogs consoleDialogs(std::cerr);
    runtime::DialogService& dialogs =
        options.exitAfterStart ? static_cast<runtime::DialogService&>(consoleDialogs) : windowDialogs;
    clipboard::QtClipboard systemClipboard;
    config::Session session(dialogs, systemClipboard);
    app::ToolOptions toolOptions;
    toolOptions.analysisDebugTabs = options.analysisDebugTabs;
    app::MainWindow frame(session, app::installedTools(session, toolOptions));
    frame.setUnattended(options.exitAfterStart);
    windowDialogs.setParent(&frame);
    QObject::connect(&lock, &app::InstanceLock::comeForwardRequested, &frame, &app::MainWindow::comeForward);
    switch (frame.start()) {
    case app::MainWindow::StartResult::Halted:
        // A data file cannot be used: the user has been told which and why.
        std::cerr << data::HaltText << '\n';
        return 1;
    case app::MainWindow::StartResult::Cancelled:
        return 0;
    case app::MainWindow::StartResult::Started:
        break;
    }
    if (options.exitAfterStart)
        QTimer::singleShot(0, &frame, &QWidget::close);
    return application.exec();
}
