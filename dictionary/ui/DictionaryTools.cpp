#include "dictionary/ui/DictionaryTools.h"

#include "config/Session.h"
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

void registerDictionaryTools(runtime::ToolShelf& shelf, config::Session& session, ImportedHandler onImported)
{
    // A command rather than a window: the import runs modally and opens no tool window of its own.
    shelf.add(
        {"DictionaryImport", runtime::ToolMenu::Dictionary, "&Import", {}, {}, {}, {}, "dictionaryImport"},
        [&session, onImported](runtime::StartReason) -> runtime::ToolWindow* {
            const ImportResult result = importFromMenu(session);
            if (result.completed && onImported)
                onImported(result.store);
            return nullptr;
        });
}

} // namespace kestrix::dictionary
