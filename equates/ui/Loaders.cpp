#include "equates/ui/Loaders.h"

#include "config/ConfigRecord.h"
#include "config/Settings.h"
#include "data/DataFileNames.h"
#include "data/DataFileRegistry.h"
#include "equates/EquateRecord.h"
#include "equates/PopupLoader.h"
#include "equates/PopupRecord.h"
#include "runtime/TextLineFile.h"
#include "runtime/WinPath.h"
#include "runtime/ui/GuiThreadDialogs.h"
#include "runtime/ui/ProgressDialog.h"

#include <QApplication>

#include <algorithm>
#include <set>

namespace kestrix::equates {

namespace {

// The source files the list files name, as the loader reports them.
std::set<std::string> equateSources(const std::string& clarionRoot)
{
    std::set<std::string> sources;
    for (const std::string& list : EquateLoader::listFiles()) {
        const runtime::TextLines text = runtime::readTextLines(runtime::resolveWinPath(list));
        if (text.error)
            continue;
        for (const ListEntry& entry : readListEntries(text.lines, clarionRoot))
            sources.insert(runtime::toWinPath(runtime::resolveWinPath(entry.folder + entry.file)));
    }
    return sources;
}

} // namespace

EquateLoadResult loadEquatesWithProgress(config::Session& session, QWidget* parent)
{
    // Windows reading the equates let go of them before the file is rebuilt.
    session.tools().broadcast(runtime::ToolEvent::EquatesLoading);
    data::DataFileUse equates(session.files(), data::FileName::Equates, equateLayout());
    EquateLoadResult result;
    if (!equates)
        return result;
    runtime::ProgressDialog progress(QStringLiteral("Loading Equates"), parent);
    runtime::GuiThreadDialogs dialogs(session.dialogs(), &progress);
    const std::string root = session.configuration().text(config::Cfg::CwPath);
    EquateLoader loader(*equates.file(), root, dialogs);
    const runtime::IniFile ini = session.programIni();
    loader.setWhenBusy(WhenBusy::Wait); // the progress line says why nothing moves
    progress.runJob([&](runtime::ProgressReport& report) {
        const std::set<std::string> sources = equateSources(root);
        const int total = static_cast<int>(sources.size());
        int done = 0;
        report.setFiles(0, total);
        loader.setProgress([&](const std::string& step) {
            const bool source = sources.count(step) != 0;
            if (source)
                ++done;
            report.setFiles(source ? done - 1 : done, total); // a file named is the one now being read
            if (equates.file()->isOpen())
                report.setRecords(equates.file()->records());
            report.step(step);
        });
        loader.setCancelCheck([&report] { return report.cancelRequested(); });
        result = loader.run(ini);
    });
    return result;
}

bool loadEquatesIfUnfinished(config::Session& session, QWidget* parent)
{
    const runtime::IniFile ini = session.programIni();
    if (!equateLoadUnfinished(ini))
        return true;
    if (!offerUnfinishedEquateLoad(ini, session.dialogs()))
        return false;
    return loadEquatesWithProgress(session, parent).completed;
}

PopupLoadResult loadPopupsWithProgress(config::Session& session, QWidget* parent)
{
    data::DataFileUse popups(session.files(), data::FileName::Popups, popupLayout());
    PopupLoadResult result;
    if (!popups)
        return result;
    runtime::ProgressDialog progress(QStringLiteral("Loading Popups"), parent);
    runtime::GuiThreadDialogs dialogs(session.dialogs(), &progress);
    PopupLoader loader(*popups.file(), dialogs);
    const runtime::IniFile ini = session.programIni();
    loader.setWhenBusy(WhenBusy::Wait);
    progress.runJob([&](runtime::ProgressReport& report) {
        const auto files = PopupLoader::popupFiles();
        const int total = static_cast<int>(files.size());
        int done = 0;
        loader.setProgress([&](const std::string& name) {
            // Only a file name counts; the other lines say why nothing moves.
            if (std::find(files.begin(), files.end(), name) != files.end())
                report.setFiles(done++, total);
            report.setRecords(popups.file()->records());
            report.step(name);
        });
        loader.setCancelCheck([&report] { return report.cancelRequested(); });
        result = loader.run(ini);
    });
    return result;
}

} // namespace kestrix::equates
