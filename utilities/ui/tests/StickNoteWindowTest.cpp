#include "utilities/ui/StickNoteWindow.h"
#include "config/ConfigRecord.h"
#include "config/Session.h"
#include "config/testing/ScratchSession.h"
#include "runtime/ui/FontConversion.h"
#include "runtime/ui/ToolShelf.h"
#include "runtime/ui/ToolWindow.h"
#include "utilities/ui/UtilityTools.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <filesystem>

using namespace kestrix;
using namespace kestrix::utilities;

namespace {

struct Setup : config::testing::ScratchSession
{
    runtime::ToolShelf shelf;

    Setup()
    {
        session.tools().setSingleThreadOnly(false);
        registerUtilityTools(shelf, session);
    }
    StickNoteWindow* open()
    {
        auto* window =
            qobject_cast<StickNoteWindow*>(shelf.find("StickNote")->open(runtime::StartReason::FromMenu));
        if (window)
            window->show();
        return window;
    }
};

void closeAndWait(StickNoteWindow* window)
{
    QPointer<StickNoteWindow> guard(window);
    window->close();
    QTRY_VERIFY(guard.isNull()); // deleted on close
}

} // namespace

class StickNoteWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void aNoteTypedClosedAndOpenedAgainIsKept()
    {
        Setup s;
        StickNoteWindow* note = s.open();
        QVERIFY(note);
        QCOMPARE(note->windowTitle(), QStringLiteral("Stick Note"));
        QTest::keyClicks(note->editor(), QStringLiteral("  Buy milk"));
        QTest::keyClick(note->editor(), Qt::Key_Return);
        QTest::keyClicks(note->editor(), QStringLiteral("and bread"));
        QCOMPARE(note->windowTitle(), QStringLiteral("Buy milk and bread   - Stick Note"));
        StickNoteWindow* second = s.open();
        QVERIFY(second);
        QCOMPARE(second->editor()->toPlainText(), QString()); // a note open elsewhere is not taken twice
        QTest::keyClicks(second->editor(), QStringLiteral("Second"));
        closeAndWait(note);
        closeAndWait(second);

        StickNoteWindow* again = s.open();
        QCOMPARE(again->editor()->toPlainText(), QStringLiteral("  Buy milk\nand bread"));
        StickNoteWindow* other = s.open();
        QCOMPARE(other->editor()->toPlainText(), QStringLiteral("Second"));
        QVERIFY(s.dialogs.shown.empty());
        closeAndWait(again);
        closeAndWait(other);
    }

    void colourFontAndScrollBarsStartTheNextNote()
    {
        Setup s;
        StickNoteWindow* note = s.open();
        QCOMPARE(note->editor()->palette().color(QPalette::Base), runtime::toQColor(0x00FFFF)); // Yellow
        QTimer::singleShot(0, [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QCOMPARE(menu->actions().size(), 8);
            menu->setActiveAction(menu->actions().at(1)); // Lime
            QTest::keyClick(menu, Qt::Key_Return);
        });
        note->chooseColor(note->mapToGlobal(QPoint(10, 10)));
        QCOMPARE(note->editor()->palette().color(QPalette::Base), runtime::toQColor(0x00FF00));
        s.dialogs.fontAnswers = {runtime::FontSpec{"Courier New", 14, 0x0000FF, runtime::FontStyle::Normal}};
        note->chooseFont();
        QCOMPARE(s.dialogs.dialogTitles.back(), std::string("Select Font for Notes"));
        QCOMPARE(note->editor()->font().pointSize(), 14);
        note->findChild<QAction*>(QStringLiteral("bars3"))->trigger(); // vertical only
        QCOMPARE(note->editor()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(note->editor()->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        QCOMPARE(s.session.configuration().number(config::Cfg::NoteColor), 2);
        QCOMPARE(s.session.configuration().number(config::Cfg::NoteBars), 3);
        QCOMPARE(s.session.configuration().text(config::Cfg::NoteFont), std::string("Courier New"));
        closeAndWait(note);

        StickNoteWindow* next = s.open();
        QCOMPARE(next->editor()->palette().color(QPalette::Base), runtime::toQColor(0x00FF00));
        QCOMPARE(next->editor()->font().pointSize(), 14);
        QVERIFY(next->findChild<QAction*>(QStringLiteral("bars3"))->isChecked());
        closeAndWait(next);
    }

    void aNoteLongerThan3000CharactersCannotBeTyped()
    {
        Setup s;
        StickNoteWindow* note = s.open();
        note->editor()->setPlainText(QString(3000, QLatin1Char('x')));
        QCOMPARE(note->editor()->toPlainText().size(), 3000);
        note->editor()->moveCursor(QTextCursor::End);
        QTest::keyClick(note->editor(), Qt::Key_Y);
        QCOMPARE(note->editor()->toPlainText().size(), 3000);
        QCOMPARE(s.dialogs.beeps, 1);
        note->editor()->insertPlainText(QStringLiteral("pasted text"));
        QCOMPARE(note->editor()->toPlainText(), QString(3000, QLatin1Char('x')));
        QCOMPARE(s.dialogs.captions(), std::vector<std::string>{"STICK NOTE"});
        closeAndWait(note);
        QCOMPARE(s.open()->editor()->toPlainText().size(), 3000);
    }

    void aNoteFileThatCannotBeReadIsSaidAndLeftAlone()
    {
        Setup s;
        std::filesystem::create_directories(std::filesystem::path(NoteFolder) / "Note1.txt");
        StickNoteWindow* note = s.open();
        QVERIFY(note);
        QCOMPARE(s.dialogs.captions(), std::vector<std::string>{"STICK NOTE"});
        QVERIFY(s.dialogs.shown.front().text.find("Note1.txt cannot be read") != std::string::npos);
        QCOMPARE(note->number(), 2);
        QTest::keyClicks(note->editor(), QStringLiteral("new"));
        closeAndWait(note);
        QVERIFY(std::filesystem::is_directory(std::filesystem::path(NoteFolder) / "Note1.txt"));
    }
};

QTEST_MAIN(StickNoteWindowTest)
#include "StickNoteWindowTest.moc"
