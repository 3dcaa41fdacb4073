#include "app/ui/FindAnythingWindow.h"
#include "../../../equates/tests/LookupFixture.h"
#include "app/DataDirectorySetup.h"
#include "app/ui/InstalledTools.h"
#include "app/ui/MainWindow.h"
#include "config/Session.h"
#include "config/Settings.h"
#include "equates/ui/EquateHelperWindow.h"
#include "runtime/SystemClipboard.h"
#include "runtime/ui/ToolWindow.h"

#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTreeWidget>
#include <QtTest>

using namespace kestrix;

namespace {

// The hits as the window lists them: "Group (n)" lines, each hit indented under its group.
QStringList shownHits(QTreeWidget* hits)
{
    QStringList out;
    for (int g = 0; g < hits->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = hits->topLevelItem(g);
        out << group->text(0);
        for (int h = 0; h < group->childCount(); ++h)
            out << QStringLiteral("  ") + group->child(h)->text(0);
    }
    return out;
}

struct Frame
{
    equates::testing::LookupFiles files;
    runtime::MemoryClipboard clip;
    std::unique_ptr<config::Session> session;
    std::unique_ptr<app::MainWindow> frame;

    Frame()
    {
        app::prepareDataDirectory();
        files.addType("Event");
        files.addType("Color");
        files.add({"Event", "Accepted", "EVENT:Accepted", 1, 1});
        files.add({"Event", "Selected", "EVENT:Selected", 3, 2});
        files.add({"Color", "Red", "COLOR:Red", 255, 3});
        files.equates.close();
        files.popups.close();
        session = std::make_unique<config::Session>(files.dialogs, clip);
        // These equates stand for a finished load: opening the Equate Helper must not load the
        // installation's.
        session->programIni().setValue(config::Ini::EquateLoadSection, config::Ini::VersionEntry,
                                       config::Ini::CurrentLoadVersion);
        frame = std::make_unique<app::MainWindow>(*session, app::installedTools(*session));
        frame->show();
    }

    app::FindAnythingWindow* pressCtrlK()
    {
        frame->activateWindow();
        if (!QTest::qWaitForWindowActive(frame.get()))
            qWarning("the frame did not become the active window");
        QTest::keyClick(frame.get(), Qt::Key_K, Qt::ControlModifier);
        return frame->findChild<app::FindAnythingWindow*>(QStringLiteral("findAnything"));
    }

    QString activeTool() const
    {
        const QMdiSubWindow* active = frame->mdiArea()->activeSubWindow();
        const auto* tool = dynamic_cast<const runtime::ToolWindow*>(active);
        return tool ? QString::fromStdString(tool->procedure()) : QString();
    }
};

} // namespace

class FindAnythingWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void ctrlKFindsAnEquateAndOpensItSelectedInTheEquateHelper()
    {
        Frame f;
        QCOMPARE(f.frame->findAction(QStringLiteral("findAnything"))->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_K));
        app::FindAnythingWindow* find = f.pressCtrlK();
        QVERIFY(find);
        QVERIFY(find->isVisible());

        QTest::keyClicks(find->box(), QStringLiteral("SELECTED"));
        QCOMPARE(shownHits(find->hits()), (QStringList{"Equates (1)", "  EVENT:Selected = 3 (Event)"}));
        // The value finds it too, and the groups follow their fixed order.
        find->box()->clear();
        QTest::keyClicks(find->box(), QStringLiteral("255"));
        QCOMPARE(shownHits(find->hits()).mid(0, 2),
                 (QStringList{"Equates (1)", "  COLOR:Red = 255 (Color)"}));
        find->box()->setText(QStringLiteral("event:"));
        // Down moves from the first hit to the next; Enter opens it.
        QCOMPARE(find->hits()->currentItem()->text(0), QStringLiteral("EVENT:Accepted = 1 (Event)"));
        QTest::keyClick(find->box(), Qt::Key_Down);
        QCOMPARE(find->hits()->currentItem()->text(0), QStringLiteral("EVENT:Selected = 3 (Event)"));
        QPointer<app::FindAnythingWindow> closing = find;
        QTest::keyClick(find->box(), Qt::Key_Return);
        QTRY_VERIFY(!closing);

        // The frame gets the focus back only when the platform gives it: the window list is what counts here.
        QCOMPARE(f.frame->mdiArea()->subWindowList().size(), 1);
        auto* helper =
            dynamic_cast<equates::EquateHelperWindow*>(f.frame->mdiArea()->subWindowList().front());
        QVERIFY(helper);
        QCOMPARE(helper->currentEquate()->name, std::string("EVENT:Selected"));

        // With the Equate Helper open on another type, the next find moves it.
        find = f.pressCtrlK();
        QVERIFY(find);
        QTest::keyClicks(find->box(), QStringLiteral("red"));
        QVERIFY(find->openCurrent());
        QCOMPARE(f.frame->mdiArea()->subWindowList().size(), 1);
        QCOMPARE(helper->currentEquate()->name, std::string("COLOR:Red"));
    }

    void ctrlKFindsAToolByItsNameAndOpensIt()
    {
        Frame f;
        app::FindAnythingWindow* find = f.pressCtrlK();
        QVERIFY(find);
        QTest::keyClicks(find->box(), QStringLiteral("ascii"));
        const QStringList hits = shownHits(find->hits());
        QVERIFY2(hits.size() >= 2, qPrintable(hits.join(QLatin1Char('|'))));
        QCOMPARE(hits.mid(0, 2), (QStringList{"Tools (1)", "  ASCII Table"}));
        QVERIFY(find->openCurrent());
        QCOMPARE(f.activeTool(), QStringLiteral("AsciiTable"));

        // Nothing typed, nothing listed; text that is nowhere lists nothing and opens nothing.
        find = f.pressCtrlK();
        QVERIFY(find->hits()->topLevelItemCount() == 0);
        QTest::keyClicks(find->box(), QStringLiteral("no such thing"));
        QCOMPARE(find->hits()->topLevelItemCount(), 0);
        QVERIFY(!find->openCurrent());
        QVERIFY(find->isVisible());
    }
};

QTEST_MAIN(FindAnythingWindowTest)
#include "FindAnythingWindowTest.moc"
