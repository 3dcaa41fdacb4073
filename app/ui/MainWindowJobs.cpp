#include "app/ui/MainWindow.h"

#include "equates/ui/Loaders.h"
#include "runtime/ui/ProgressDialog.h"

#include <QAction>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

// The long jobs the frame runs in its own thread: the equate and popup loads.
namespace kestrix::app {

void MainWindow::loadEquates()
{
    runLongJob([this] {
        const equates::EquateLoadResult result = equates::loadEquatesWithProgress(m_session, this);
        statusBar()->showMessage(
            result.completed
                ? QStringLiteral("Loaded %1 equates of %2 types")
                      .arg(result.records)
                      .arg(static_cast<qulonglong>(result.types))
                : QStringLiteral("The equates were not loaded; the load runs again at the next start"));
    });
}

void MainWindow::loadPopups()
{
    runLongJob([this] {
        const equates::PopupLoadResult result = equates::loadPopupsWithProgress(m_session, this);
        statusBar()->showMessage(
            result.completed
                ? QStringLiteral("Loaded %1 popup entries").arg(result.records)
                : QStringLiteral("The popups were not loaded; the load runs again at the next start"));
    });
}

void MainWindow::runLongJob(const std::function<void()>& job)
{
    std::vector<std::pair<QAction*, bool>> blocked;
    for (QAction* menu : menuBar()->actions()) {
        const QString own =
            menu->property("ownText").isValid() ? menu->property("ownText").toString() : menu->text();
        if (own != QStringLiteral("&Help") && own != QStringLiteral("&Window"))
            blocked.emplace_back(menu, menu->isEnabled());
    }
    for (auto& [action, enabled] : blocked)
        action->setEnabled(false);
    const bool toolBarEnabled = m_toolBar->isEnabled();
    const bool mdiEnabled = m_mdi->isEnabled();
    m_toolBar->setEnabled(false);
    m_mdi->setEnabled(false);
    ++m_runningJobs;
    job();
    --m_runningJobs;
    m_toolBar->setEnabled(toolBarEnabled);
    m_mdi->setEnabled(mdiEnabled);
    for (auto& [action, enabled] : blocked)
        action->setEnabled(enabled);
    if (m_closeAfterJob && m_runningJobs == 0) {
        m_closeAfterJob = false;
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}
} // namespace kestrix::app
