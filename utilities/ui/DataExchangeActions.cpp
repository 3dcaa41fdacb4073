#include "utilities/ui/DataExchangeActions.h"

#include "config/Session.h"
#include "data/DataFileNames.h"
#include "message/MessageInsertRecord.h"
#include "message/MessageRecord.h"
#include "runtime/WholeFile.h"
#include "runtime/WinPath.h"
#include "runtime/ui/QtText.h"
#include "utilities/CodeStoreRecord.h"
#include "utilities/DataExchange.h"

#include <QFileDialog>

#include <memory>

namespace kestrix::utilities {

namespace {

constexpr const char* ExportCaption = "Data Export";
constexpr const char* ImportCaption = "Data Import";

// The four files, held open for one command.
struct HeldFiles
{
    explicit HeldFiles(data::DataFileRegistry& registry)
        : snippets(registry, data::FileName::CodeLibrary, snippetLayout()),
          types(registry, data::FileName::CodeTypes, codeTypeLayout()),
          messages(registry, data::FileName::Messages, message::messageLayout()),
          inserts(registry, data::FileName::MessageInserts, message::messageInsertLayout())
    {
    }
    bool ok() const { return snippets && types && messages && inserts; }
    ExchangeFiles files() const { return {snippets.file(), types.file(), messages.file(), inserts.file()}; }

    data::DataFileUse snippets, types, messages, inserts;
};

} // namespace

bool exportUserData(config::Session& session, const std::string& target)
{
    HeldFiles held(session.files());
    if (!held.ok())
        return false;
    ExchangeCounts counts;
    const std::string text = exportText(held.files(), {}, &counts);
    if (const std::string error = writeExport(runtime::resolveWinPath(target), text); !error.empty()) {
        session.dialogs().message({error, "EXPORT ERROR", runtime::MessageIcon::Exclamation});
        return false;
    }
    session.dialogs().message({"Exported " + std::to_string(counts.types) + " code types, " +
                                   std::to_string(counts.snippets) + " snippets, " +
                                   std::to_string(counts.messages) + " messages and " +
                                   std::to_string(counts.inserts) + " inserts to||" + target,
                               ExportCaption, runtime::MessageIcon::Asterisk});
    return true;
}

bool importUserData(config::Session& session, const std::string& source)
{
    const runtime::FileBytes read = runtime::readWholeFile(runtime::resolveWinPath(source));
    if (read.error) {
        session.dialogs().message(
            {"The file cannot be read:||" + source, "IMPORT ERROR", runtime::MessageIcon::Exclamation});
        return false;
    }
    HeldFiles held(session.files());
    if (!held.ok())
        return false;
    const ImportPlan plan = planImport(read.bytes, held.files());
    if (!plan.error.empty()) {
        session.dialogs().message({plan.error, "IMPORT ERROR", runtime::MessageIcon::Exclamation});
        return false;
    }
    DuplicateChoice choice = DuplicateChoice::Skip;
    if (plan.duplicates > 0) {
        runtime::MessageRequest ask{
            std::to_string(plan.duplicates) + " records of the file are here already (the first: " +
                plan.firstDuplicate + ").|Skip them, replace the records here, or keep both?",
            ImportCaption, runtime::MessageIcon::Question};
        ask.buttonTexts = {"&Skip", "&Replace", "&Keep Both", "Cancel"};
        ask.defaultButton = 1;
        switch (session.dialogs().message(ask)) {
        case 1:
            choice = DuplicateChoice::Skip;
            break;
        case 2:
            choice = DuplicateChoice::Replace;
            break;
        case 3:
            choice = DuplicateChoice::KeepBoth;
            break;
        default:
            return false;
        }
    }
    const ImportReport report = applyImport(plan, held.files(), choice);
    if (!report.error.empty()) {
        session.dialogs().message({report.error, "IMPORT ERROR", runtime::MessageIcon::Exclamation});
        return false;
    }
    session.dialogs().message({"Imported from " + source + ":|" + importSummary(report), ImportCaption,
                               runtime::MessageIcon::Asterisk});
    return true;
}

void exportUserDataAsked(QWidget* parent, config::Session& session)
{
    const QString target = QFileDialog::getSaveFileName(parent, QStringLiteral("Export Data"),
                                                        QStringLiteral("kestrix-data.json"),
                                                        QStringLiteral("JSON Files (*.json);;All Files (*)"));
    if (!target.isEmpty())
        exportUserData(session, runtime::fromQt(target));
}

void importUserDataAsked(config::Session& session)
{
    const auto source = session.dialogs().openFile({"Import Data", "JSON Files|*.json|All Files|*.*", {}});
    if (source)
        importUserData(session, *source);
}

} // namespace kestrix::utilities
