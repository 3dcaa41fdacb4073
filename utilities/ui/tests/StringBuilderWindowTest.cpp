#include "utilities/ui/StringBuilderWindow.h"
#include "config/Session.h"
#include "config/testing/ScratchSession.h"
#include "runtime/IniFile.h"
#include "runtime/ui/testing/WidgetDriving.h"
#include "utilities/ui/StringTextEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using namespace kestrix;
using namespace kestrix::utilities;
using kestrix::runtime::testing::child;

namespace {

struct Setup : config::testing::ScratchSession
{
    StringBuilderWindow window{session, {"STOP(", "MESSAGE(", "Loc:Text"}};
    StringTextEdit* text() { return child<StringTextEdit>(&window, "text"); }
    QCheckBox* enter() { return child<QCheckBox>(&window, "enter"); }
    void click(const char* name) { child<QPushButton>(&window, name)->click(); }
    void chooseVariable(const QString& variable)
    {
        QLineEdit* edit = child<QComboBox>(&window, "variable")->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, variable);
        QTest::keyClick(edit, Qt::Key_Return); // accepted
    }
    void cleanMenu(const QString& item)
    {
        for (QAction* a : window.cleanMenu()->actions()) {
            if (a->text() == item)
                a->trigger();
        }
    }
};

} // namespace

class StringBuilderWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void typedTextGoesToTheClipboardAsAStringExpression()
    {
        Setup s;
        s.window.show();
        QCOMPARE(child<QComboBox>(&s.window, "variable")->count(), 3);
        s.chooseVariable(QStringLiteral("STOP("));
        QVERIFY(s.enter()->isChecked());
        QVERIFY(s.enter()->isHidden()); // a call: Enter is decided by the Variable
        s.text()->setFocus();
        QTest::keyClicks(s.text(), QStringLiteral("line one"));
        QTest::keyClick(s.text(), Qt::Key_Return);
        QTest::keyClicks(s.text(), QStringLiteral("line two"));
        s.click("toClip");
        QCOMPARE(s.clip.text(), std::string("STOP('line one' &|\r\n'<13,10>line two' )"));

        s.chooseVariable(QStringLiteral("Msg"));
        QVERIFY(!s.enter()->isHidden());
        QVERIFY(!s.enter()->isChecked());
        s.click("new");
        QCOMPARE(s.text()->toPlainText(), QString());
        QTest::keyClicks(s.text(), QStringLiteral("aaaa bbbb cccc dddd eeee ffff gggg"));
        child<QSpinBox>(&s.window, "indent")->setValue(3);
        child<QSpinBox>(&s.window, "nest")->setValue(2);
        child<QSpinBox>(&s.window, "end")->setValue(30);
        int minimized = 0;
        s.window.setFrameIconizer([&minimized] { ++minimized; });
        s.click("toClipMinimize");
        QCOMPARE(s.clip.text(),
                 std::string("  Msg = 'aaaa bbbb cccc ' &|\r\n      'dddd eeee ffff ' &|\r\n      'gggg'"));
        QCOMPARE(minimized, 1);

        s.click("new");
        QTest::keyClicks(s.text(), QStringLiteral("a } b {"));
        s.click("toClipMinimize");
        QCOMPARE(s.dialogs.captions(), std::vector<std::string>{"INVALID MESSAGE TEXT"});
        QCOMPARE(s.clip.text(), std::string("Unbalanced Curly Braces"));
        QCOMPARE(minimized, 1);

        s.window.close();
        QVERIFY(runtime::IniFile("ktx5.INI").hasEntry("StringFmt", "XPosit"));
    }

    void theTextBoxHoldsNoMoreThanItsSize()
    {
        Setup s;
        s.window.show();
        s.window.setText(std::string(2998, 'x'));
        s.text()->moveCursor(QTextCursor::End);
        s.text()->setFocus();
        QTest::keyClicks(s.text(), QStringLiteral("abcd"));
        QCOMPARE(s.window.text(), std::string(2998, 'x') + "ab");
        QVERIFY(s.dialogs.beeps > 0);
    }

    void cleanMenuDecompileAndInserts()
    {
        Setup s;
        s.window.show();
        QCOMPARE(s.window.cleanMenu()->actions().size(), 8); // six commands and two separators
        s.window.setText("  two\tcols  \r\nnext\x01  line");
        s.cleanMenu(QStringLiteral("Remove Tabs"));
        QCOMPARE(s.window.text(), std::string("  two cols  \r\nnext\x01  line"));
        s.cleanMenu(QStringLiteral("Remove Non-ASCII"));
        s.cleanMenu(QStringLiteral("Remove Extra Spaces"));
        QCOMPARE(s.window.text(), std::string("two cols \r\nnext line"));
        s.cleanMenu(QStringLiteral("Remove Returns"));
        QCOMPARE(s.window.text(), std::string("two cols  next line"));

        s.clip.setText("Msg = 'Total: '&CLIP(Amt)&' it''s' &|\r\n   '<13,10>done'");
        s.cleanMenu(QStringLiteral("Decompile from Clipboard"));
        QCOMPARE(s.window.text(), std::string("Total: {CLIP(Amt)} it's\r\ndone"));
        s.clip.setText("no quotes here");
        s.cleanMenu(QStringLiteral("Decompile from Clipboard"));
        QCOMPARE(s.dialogs.captions(), std::vector<std::string>{"NO STRING FOUND"});
        QCOMPARE(s.window.text(), std::string("Total: {CLIP(Amt)} it's\r\ndone"));

        s.window.setPopupCode([](const std::string& type) { return type == "MSG{Q}" ? "{TODAY()}" : ""; });
        s.text()->moveCursor(QTextCursor::End);
        s.click("quickInsert");
        QVERIFY(s.window.text().ends_with("done{TODAY()}"));

        s.session.draggedFields() = {{"CUS:Name", "STRING(20)", ""}, {"CUS:Since", "LONG", "@d6"}};
        QMimeData data;
        data.setData(QString::fromLatin1(config::DraggedFieldsMime), QByteArray("x"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(s.text()->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(s.text()->viewport(), &drop);
        QVERIFY(s.window.text().ends_with("{TODAY()}{CUS:Name}{FORMAT(CUS:Since,@d6)}"));
    }

    void addReturnsAtBreaksKeepsTheVisibleWrapping()
    {
        Setup s;
        s.window.resize(300, 400);
        s.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.window));
        std::string words;
        for (int i = 0; i < 4; ++i)
            words += "one two three four five six seven eight nine ten eleven twelve thirteen fourteen ";
        words += "twenty";
        s.window.setText(words + "\r\nlast");
        const std::vector<std::string> shown = s.text()->displayedLines();
        QVERIFY(shown.size() > 3); // wrapped
        s.cleanMenu(QStringLiteral("Add Returns at Breaks"));
        std::string expected;
        for (const std::string& line : shown) {
            std::string trimmed = line;
            while (!trimmed.empty() && trimmed.back() == ' ')
                trimmed.pop_back();
            expected += (expected.empty() ? "" : "\r\n") + trimmed;
        }
        QCOMPARE(s.window.text(), expected);
        QVERIFY(s.window.text().ends_with("twenty\r\nlast"));
    }
};

QTEST_MAIN(StringBuilderWindowTest)
#include "StringBuilderWindowTest.moc"
