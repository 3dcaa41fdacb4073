#include "config/testing/ScratchSession.h"
#include "dictionary/DictionaryStore.h"
#include "dictionary/ui/DictionaryTools.h"
#include "runtime/testing/ScriptedDde.h"
#include "runtime/ui/ProgressDialog.h"
#include "runtime/ui/ToolShelf.h"

#include <QThread>
#include <QTimer>
#include <QtTest>

using namespace kestrix;

namespace {
const std::string Sample = std::string(KESTRIX_SOURCE_DIR) + "/samples/dictionaries/SHOP.TXD";
}

class DictionaryImportUiTest : public QObject
{
    Q_OBJECT

private slots:
    void theMenuImportRunsBehindTheLoadingWindow()
    {
        config::testing::ScratchSession scratch;
        auto& dialogs = scratch.dialogs;
        auto& session = scratch.session;
        runtime::ToolShelf shelf;
        std::string imported;
        dictionary::registerDictionaryTools(shelf, session,
                                            [&](const std::string& store) { imported = store; });
        const runtime::ToolRegistration* tool = shelf.find("DictionaryImport");
        QVERIFY(tool && tool->open);
        QCOMPARE(QString::fromStdString(tool->spec.menuText), QStringLiteral("&Import"));

        QString title;
        QTimer::singleShot(0, [&] { // inside the progress window's own loop
            if (runtime::ProgressDialog* running = runtime::ProgressDialog::running()) {
                title = running->windowTitle();
            }
        });
        dialogs.fileAnswers = {Sample};
        QCOMPARE(tool->open(runtime::StartReason::FromMenu), nullptr);
        QCOMPARE(imported, std::string("SHOP.dic"));
        QCOMPARE(dialogs.dialogTitles, std::vector<std::string>{"Select Dictionary to Import"});
        QCOMPARE(title, QStringLiteral("Loading Dictionary"));
        QVERIFY(dialogs.shown.empty());

        dictionary::DictionaryStore store("SHOP.dic");
        QCOMPARE(store.openForBrowsing(dialogs), dictionary::OpenState::Ready);
        QCOMPARE(store.files().records(), 6);
    }

    void messagesOfTheWorkerAreShownOnTheGuiThread()
    {
        config::testing::ScratchSession scratch;
        auto& dialogs = scratch.dialogs;
        auto& session = scratch.session;
        runtime::testing::ScriptedDdeServer ide;
        ide.running = false;
        dictionary::ImportRunOptions options;
        options.dde = ide.factory();
        const dictionary::ImportResult result =
            dictionary::importWithProgress(session, "C:\\APP\\SHOP.DCT", options);
        QVERIFY(!result.completed);
        QCOMPARE(dialogs.captions(), std::vector<std::string>{"CW NOT RUNNING"});
        QCOMPARE(ide.log, std::vector<std::string>{"connect ClarionWin|"});

        // The update reads the source named in the store.
        dialogs.shown.clear();
        QVERIFY(dictionary::importWithProgress(session, Sample, options).completed);
        const dictionary::ImportResult again = dictionary::reimportWithProgress(session, "SHOP.dic", options);
        QVERIFY(again.completed);
        QCOMPARE(again.files, std::int64_t{5});
    }
};

QTEST_MAIN(DictionaryImportUiTest)
#include "DictionaryImportUiTest.moc"
