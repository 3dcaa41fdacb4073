#include "equates/PopupLoader.h"
#include "equates/PopupRecord.h"
#include "equates/TipsFile.h"
#include "equates/ui/PopupChooser.h"
#include "equates/ui/TipOfTheDayWindow.h"
#include "runtime/testing/RequireOk.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"
#include "runtime/ui/GuiThreadDialogs.h"
#include "runtime/ui/ProgressDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QtTest>

using namespace kestrix;

class EquatesUiTest : public QObject
{
    Q_OBJECT

private slots:
    void aWorkerAsksItsQuestionsOnTheGuiThread()
    {
        runtime::testing::ScriptedDialogs answers;
        answers.answers = {runtime::Button::Abort};
        runtime::ProgressDialog progress(QStringLiteral("Loading Equates"));
        runtime::GuiThreadDialogs dialogs(answers, &progress);
        unsigned answer = 0;
        bool workerThread = false;
        progress.run([&](const runtime::ProgressDialog::Report& report) {
            workerThread = QThread::currentThread() != qApp->thread();
            report("Creating Equate File");
            answer = dialogs.message({"add failed", "FILE ADD ERROR", runtime::MessageIcon::Asterisk,
                                      runtime::Button::Ok | runtime::Button::Abort});
            report("Build Index");
        });
        QVERIFY(workerThread);
        QCOMPARE(answer, runtime::Button::Abort);
        QCOMPARE(answers.captions(), std::vector<std::string>{"FILE ADD ERROR"});
        QTRY_COMPARE(progress.text(), QStringLiteral("Build Index"));
        QCOMPARE(progress.windowTitle(), QStringLiteral("Loading Equates"));
    }

    void thePopupMenuReturnsTheChosenTemplate()
    {
        runtime::testing::TempDir dir;
        runtime::KeyedFile popups("Config\\!PopData", equates::popupLayout());
        kestrix::runtime::testing::requireOk(popups.create(), "popups.create()");
        kestrix::runtime::testing::requireOk(popups.open(), "popups.open()");
        runtime::testing::ScriptedDialogs dialogs;
        equates::PopupLoader(popups, dialogs)
            .loadLines({"TYPE=KEYCODE FIND", "Alert                        ALERT(^)",
                        "Case                         CASE KEYCODE()|OF ^|END"});
        QTimer::singleShot(0, [] { // runs inside the menu's own event loop, once it is shown
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QCOMPARE(menu->actions().size(), 2);
            menu->setActiveAction(menu->actions().at(1));
            QTest::keyClick(menu, Qt::Key_Return);
        });
        const std::string chosen = equates::choosePopupCode(nullptr, popups, "keycode find", "|");
        QCOMPARE(chosen, std::string("CASE KEYCODE()\r\nOF ^\r\nEND"));
        QCOMPARE(equates::choosePopupCode(nullptr, popups, "NO SUCH MENU", "|"), std::string());
    }

    void tipsPageAndRememberTheStartupChoice()
    {
        runtime::testing::TempDir dir;
        runtime::KeyedFile tips(equates::TipsFileName, equates::tipLayout());
        kestrix::runtime::testing::requireOk(tips.create(), "tips.create()");
        kestrix::runtime::testing::requireOk(tips.open(), "tips.open()");
        equates::buildTipsFile(tips, {"TIP=A", "one", "TIP=B", "two", "TIP=C", "three"});
        runtime::ToolRegistry registry;
        auto* window =
            new equates::TipOfTheDayWindow(tips, runtime::IniFile("KTX4.INI"), false, registry,
                                           runtime::WindowPositionStore(runtime::IniFile("ktx5.INI")));
        QVERIFY(window->showNext());
        QCOMPARE(window->currentText(), QStringLiteral("one"));
        window->findChild<QPushButton*>(QStringLiteral("previous"))->click();
        QCOMPARE(window->currentText(), QStringLiteral("three"));
        window->findChild<QPushButton*>(QStringLiteral("next"))->click();
        QCOMPARE(window->currentText(), QStringLiteral("one"));
        window->findChild<QCheckBox*>(QStringLiteral("showOnStartup"))->setChecked(false);
        QVERIFY(!equates::TipBrowser::showOnStartup(runtime::IniFile("KTX4.INI")));
        delete window;
    }
};

QTEST_MAIN(EquatesUiTest)
#include "EquatesUiTest.moc"
