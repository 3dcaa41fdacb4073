#include "equates/ui/Loaders.h"

#include "config/ConfigRecord.h"
#include "data/DataFileNames.h"
#include "data/DataFileRegistry.h"
#include "equates/EquateRecord.h"
#include "equates/PopupLoader.h"
#include "equates/PopupRecord.h"
#include "runtime/ui/GuiThreadDialogs.h"
#include "runtime/ui/ProgressDialog.h"

#include <QApplication>

namespace kestrix::equates {

EquateLoadResult loadEquatesWithProgress(config::Session& session, QWidget* parent)
{
    data::DataFileUse equates(session.files(), data::FileName::Equates, equateLayout());
    EquateLoadResult result;
    if (!equates)
        return result;
    runtime::ProgressDialog progress(QStringLiteral("Loading Equates"), parent);
    runtime::GuiThreadDialogs dialogs(session.dialogs(), &progress);
    EquateLoader loader(*equates.file(), session.configuration().text(config::Cfg::CwPath), dialogs);
    const runtime::IniFile ini = session.programIni();
    loader.setWhenBusy(WhenBusy::Wait); // the progress line says why nothing moves
    progress.run([&](const runtime::ProgressDialog::Report& report) {
        loader.setProgress(report);
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

std::int64_t loadPopupsWithProgress(config::Session& session, QWidget* parent)
{
    data::DataFileUse popups(session.files(), data::FileName::Popups, popupLayout());
    if (!popups)
        return 0;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    runtime::ProgressDialog progress(QStringLiteral("Loading Popups"), parent);
    runtime::GuiThreadDialogs dialogs(session.dialogs(), &progress);
    PopupLoader loader(*popups.file(), dialogs);
    const runtime::IniFile ini = session.programIni();
    std::int64_t loaded = 0;
    loader.setWhenBusy(WhenBusy::Wait);
    progress.run([&](const runtime::ProgressDialog::Report& report) {
        loader.setProgress(report);
        loaded = loader.run(ini).records;
    });
    QApplication::restoreOverrideCursor();
    return loaded;
}

} // namespace kestrix::equates
