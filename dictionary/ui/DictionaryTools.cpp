#include "dictionary/ui/DictionaryTools.h"

#include "config/Session.h"
#include "dictionary/ui/DictFilesWindow.h"
#include "runtime/ui/GuiThreadDialogs.h"
#include "runtime/ui/ProgressDialog.h"
#include "runtime/ui/ToolShelf.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>

namespace kestrix::dictionary {

namespace {

ImportResult runBehindProgress(config::Session& session, const ImportRunOptions& options,
                               const std::function<ImportResult(DictionaryImporter&)>& job)
{
    QWidget* parent = options.parent ? options.parent : QApplication::activeWindow();
    runtime::ProgressDialog progress(QStringLiteral("Loading Dictionary"), parent);
    // The bar is the percentage of the text dictionary read; there are no file or record counts to show.
    if (auto* counts = progress.findChild<QLabel*>(QStringLiteral("counts")))
        counts->hide();
    progress.bar()->setFormat(QStringLiteral("%p%"));
    runtime::GuiThreadDialogs dialogs(session.dialogs(), &progress);
    DictionaryImporter importer(dialogs, session.programIni(), options.dde);
    ImportResult result;
    progress.runJob([&](runtime::ProgressReport& report) {
        report.setFiles(0, 100);
        importer.setProgress([&report](const std::string& text, int percent) {
            report.setFiles(percent, 100);
            report.step(text);
        });
        importer.setCancelCheck([&report] { return report.cancelRequested(); });
        result = job(importer);
    });
    return result;
}

} // namespace

ImportResult importFromMenu(config::Session& session, const ImportRunOptions& options)
{
    // The dialog is asked on the GUI thread; only the import itself runs behind the progress window.
    DictionaryImporter chooser(session.dialogs(), session.programIni(), options.dde);
    const std::optional<std::string> source = chooser.chooseSource();
    if (!source)
        return {};
    return importWithProgress(session, *source, options);
}

ImportResult importWithProgress(config::Session& session, const std::string& source,
                                const ImportRunOptions& options)
{
    return runBehindProgress(session, options,
                             [&source](DictionaryImporter& importer) { return importer.importFrom(source); });
}

ImportResult reimportWithProgress(config::Session& session, const std::string& store,
                                  const ImportRunOptions& options)
{
    return runBehindProgress(session, options,
                             [&store](DictionaryImporter& importer) { return importer.reimport(store); });
}

std::optional<std::string> chooseStore(config::Session& session)
{
    const std::optional<std::string> chosen = session.dialogs().openFile(
        {"Select Dictionary to Open", "KTX Dictionary (*.DIC)|*.DIC", std::string()});
    if (!chosen)
        return std::nullopt;
    // Only the name: the store is opened from the current directory.
    std::string name = *chosen;
    if (const std::size_t slash = name.find_last_of("\\/"); slash != std::string::npos)
        name.erase(0, slash + 1);
    return name;
}

void registerDictionaryTools(runtime::ToolShelf& shelf, config::Session& session, ImportedHandler onImported)
{
    shelf.add({"DictionaryOpen",
               runtime::ToolMenu::Dictionary,
               "&Open",
               "Open Dictionary, for import use menu",
               "TBDICT",
               {},
               {},
               "dictionaryOpen"},
              [&session](runtime::StartReason) -> runtime::ToolWindow* {
                  const std::optional<std::string> store = chooseStore(session);
                  return store ? DictFilesWindow::open(session, *store) : nullptr;
              });
    // A command rather than a window: the import runs modally and opens no tool window of its own.
    shelf.add(
        {"DictionaryImport", runtime::ToolMenu::Dictionary, "&Import", {}, {}, {}, {}, "dictionaryImport"},
        [&session, onImported](runtime::StartReason) -> runtime::ToolWindow* {
            const ImportResult result = importFromMenu(session);
            if (!result.completed)
                return nullptr;
            if (onImported) {
                onImported(result.store);
                return nullptr;
            }
            return DictFilesWindow::open(session, result.store);
        });
}

} // namespace kestrix::dictionary
