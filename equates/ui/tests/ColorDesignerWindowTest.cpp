#include "equates/ui/ColorDesignerWindow.h"
#include "config/Session.h"
#include "equates/EquateRecord.h"
#include "equates/ui/AsciiTableWindow.h"
#include "runtime/testing/RequireOk.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"
#include "runtime/ui/testing/WidgetDriving.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using namespace kestrix;
using runtime::testing::child;
using namespace kestrix::equates;

namespace {

struct Setup
{
    runtime::testing::TempDir dir;
    runtime::testing::ScriptedDialogs dialogs;
    runtime::MemoryClipboard clip;
    config::Session session{dialogs, clip};
    runtime::KeyedFile equates{"Equates5.tps", equateLayout()};

    Setup()
    {
        runtime::testing::requireOk(equates.create(), "create");
        runtime::testing::requireOk(equates.open(), "open");
        add("Color", "COLOR:Red", "Red", 0x0000FF);
        add("Color", "COLOR:Blue", "Blue", 0xFF0000);
        add("Color Win", "COLOR:WINDOW", "Window", static_cast<std::int32_t>(0x80000005u));
    }
    void add(const char* type, const char* name, const char* shortName, std::int64_t value)
    {
        runtime::Record r = equates.newRecord();
        r.setText(Equ::Type, type);
        r.setText(Equ::Name, name);
        r.setText(Equ::SearchName, shortName);
        r.setNumber(Equ::Long, value);
        runtime::testing::requireOk(equates.add(r), "add");
    }
};

// Picks the popup menu's item `index` once the menu is shown.
void answerPopup(int index)
{
    QTimer::singleShot(0, [index] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        menu->setActiveAction(menu->actions().at(index));
        QTest::keyClick(menu, Qt::Key_Return);
    });
}

void doubleClickRow(QTreeWidget* list, const QString& text)
{
    const auto found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    list->scrollToItem(found.first());
    const QPoint at = list->visualItemRect(found.first()).center();
    // The view takes a double-click only on the row its press went to.
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

void selectRow(QTreeWidget* list, const QString& text)
{
    const auto found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    list->setCurrentItem(found.first());
}

} // namespace

class ColorDesignerWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void aColourAppliedToEntry1ShowsOnTheSampleAndGoesToTheClipboard()
    {
        Setup s;
        auto window = std::make_unique<ColorDesignerWindow>(s.session, s.equates);
        window->show();
        auto* foreground = child<QTreeWidget>(window.get(), "foreground");
        QCOMPARE(foreground->topLevelItemCount(), 4);
        QCOMPARE(foreground->topLevelItem(3)->text(0), QStringLiteral("<none>"));
        QCOMPARE(foreground->topLevelItem(1)->foreground(1).color(), QColor(255, 0, 0)); // the Red sample
        auto* object = child<QComboBox>(window.get(), "object");
        QCOMPARE(object->count(), 16);
        object->setCurrentIndex(object->findText(QStringLiteral("Entry1")));

        const QColor entry2Text = child<QLineEdit>(window.get(), "entry2")->palette().color(QPalette::Text);
        doubleClickRow(foreground, QStringLiteral("Red"));
        QCOMPARE(child<QLineEdit>(window.get(), "entry1")->palette().color(QPalette::Text),
                 QColor(255, 0, 0));
        QCOMPARE(child<QLineEdit>(window.get(), "entry2")->palette().color(QPalette::Text), entry2Text);

        answerPopup(1); // Control COLOR()
        child<QPushButton>(window.get(), "toClip")->click();
        QCOMPARE(s.clip.text(),
                 std::string("Entry1: FONT(,,COLOR:Red), COLOR(COLOR:None,COLOR:None,COLOR:None)"));
        int iconized = 0;
        window->setFrameIconizer([&] { ++iconized; });
        answerPopup(0); // Color Equates
        child<QPushButton>(window.get(), "toClipMinimize")->click();
        QCOMPARE(s.clip.text(), std::string("Entry1: COLOR:Red COLOR:None COLOR:None COLOR:None"));
        QCOMPARE(iconized, 1);

        // Another object has nothing applied; Entry1's colours come back into the lists.
        object->setCurrentIndex(object->findText(QStringLiteral("Button2")));
        child<QPushButton>(window.get(), "resetToObject")->click();
        QCOMPARE(s.dialogs.captions(), std::vector<std::string>{"NO COLOR APPLIED"});
        object->setCurrentIndex(object->findText(QStringLiteral("Entry1")));
        selectRow(foreground, QStringLiteral("Blue"));
        child<QPushButton>(window.get(), "resetToObject")->click();
        QCOMPARE(foreground->currentItem()->text(0), QStringLiteral("Red"));
        child<QPushButton>(window.get(), "resetToNone")->click();
        QCOMPARE(foreground->currentItem()->text(0), QStringLiteral("<none>"));
        QCOMPARE(child<QLineEdit>(window.get(), "entry1")->palette().color(QPalette::Text), entry2Text);
    }

    void aCellOfTheSampleListTakesItsOwnColour()
    {
        Setup s;
        auto window = std::make_unique<ColorDesignerWindow>(s.session, s.equates);
        window->show();
        auto* object = child<QComboBox>(window.get(), "object");
        object->setCurrentIndex(object->findText(QStringLiteral("Cell")));
        auto* sample = child<QTableWidget>(window.get(), "sampleList");
        sample->setCurrentCell(2, 1);
        selectRow(child<QTreeWidget>(window.get(), "background"), QStringLiteral("Blue"));
        child<QPushButton>(window.get(), "apply")->click();
        QCOMPARE(sample->item(2, 1)->background().color(), QColor(0, 0, 255));
        QCOMPARE(sample->item(2, 2)->background().style(), Qt::NoBrush);
        QCOMPARE(sample->item(2, 1)->text(), QStringLiteral("Cell 3,2"));
        QCOMPARE(sample->item(1, 0)->text(), QStringLiteral("Line 2"));
        QVERIFY(sample->item(0, 1)->text().endsWith(QStringLiteral(" Point")));
        // A system colour is drawn in the platform's own colour for it.
        QCOMPARE(platformColor(static_cast<std::int32_t>(0x80000005u), sample->palette()),
                 sample->palette().color(QPalette::Base));
    }

    void customColoursAreAddedOnceAndDeletedOnYes()
    {
        Setup s;
        auto window = std::make_unique<ColorDesignerWindow>(s.session, s.equates);
        window->setColorPicker([] { return std::optional<QColor>(QColor(0x40, 0x80, 0xFF)); });
        child<QPushButton>(window.get(), "addCustom")->click();
        auto* selectedBackground = child<QTreeWidget>(window.get(), "selectedBackground");
        QCOMPARE(selectedBackground->topLevelItem(3)->text(0), QStringLiteral("00FF8040H"));
        QVERIFY(s.dialogs.shown.empty());
        child<QPushButton>(window.get(), "addCustom")->click();
        QCOMPARE(s.dialogs.captions(), std::vector<std::string>{"CUSTOM COLOR"});

        selectRow(selectedBackground, QStringLiteral("00FF8040H"));
        s.dialogs.answers = {runtime::Button::No};
        child<QPushButton>(window.get(), "deleteColor")->click();
        QCOMPARE(selectedBackground->topLevelItemCount(), 5);
        s.dialogs.answers = {runtime::Button::Yes};
        child<QPushButton>(window.get(), "deleteColor")->click();
        QCOMPARE(selectedBackground->topLevelItemCount(), 4);
        QCOMPARE(s.dialogs.shown.back().caption, std::string("CONFIRM DELETE COLOR"));
        QCOMPARE(s.equates.records(), 3);
    }

    void theAsciiTableFindsWhatIsTypedAndCopiesItsLiteral()
    {
        Setup s;
        auto window = std::make_unique<AsciiTableWindow>(s.session);
        window->show();
        auto* search = child<QLineEdit>(window.get(), "search");
        auto* ascii = child<QTableWidget>(window.get(), "ascii");
        QCOMPARE(ascii->rowCount(), 128);
        QCOMPARE(ascii->item(0, 0)->text(), QString(QChar(0x2400))); // code 0 is not an empty cell
        QTest::keyClicks(search, QStringLiteral("41H"));
        QCOMPARE(ascii->currentRow(), 65);
        QCOMPARE(ascii->currentColumn(), 0);
        search->setText(QStringLiteral("\u2588"));
        QCOMPARE(ascii->currentRow(), 219 - 128);
        QCOMPARE(ascii->currentColumn(), 3);

        auto* sheet = child<QTabWidget>(window.get(), "sheet");
        sheet->setCurrentIndex(2);
        auto* ansi = child<QTableWidget>(window.get(), "ansi");
        search->setText(QStringLiteral("\u00E9"));
        QCOMPARE(ansi->currentRow(), 233 - 128);
        QCOMPARE(ansi->currentColumn(), 3);
        window->copyLiteral(ansi, ansi->currentRow(), ansi->currentColumn());
        QCOMPARE(s.clip.text(), std::string("'<233>'"));

        sheet->setCurrentIndex(1);
        auto* control = child<QTableWidget>(window.get(), "control");
        search->setText(QStringLiteral("9"));
        QCOMPARE(control->currentRow(), 9);
        QCOMPARE(control->item(9, 2)->text(), QStringLiteral("^I"));
        QVERIFY(!window->find(QStringLiteral("65")));

        // The filter keeps the rows with the text in any column, in code order; Esc brings every row back.
        auto* filter = child<QLineEdit>(window.get(), "filter");
        QTest::keyClicks(filter, QStringLiteral("eSCAPE"));
        QStringList shown;
        for (int row = 0; row < control->rowCount(); ++row) {
            if (!control->isRowHidden(row))
                shown << control->item(row, 3)->text();
        }
        QCOMPARE(shown, (QStringList{"Data Link Escape", "Escape"}));
        // The locator still finds a row, and a row the filter hides brings the whole table back.
        search->setText(QStringLiteral("27"));
        QCOMPARE(control->currentRow(), 27);
        QCOMPARE(filter->text(), QStringLiteral("eSCAPE"));
        search->setText(QStringLiteral("7"));
        QCOMPARE(control->currentRow(), 7);
        QVERIFY(filter->text().isEmpty());
        QVERIFY(!control->isRowHidden(7) && !control->isRowHidden(0));
        QTest::keyClicks(filter, QStringLiteral("41"));
        QVERIFY(!ascii->isRowHidden(65)); // "41" in its Hex column
        QVERIFY(ascii->isRowHidden(66));
        QTest::keyClick(filter, Qt::Key_Escape);
        for (int row = 0; row < ascii->rowCount(); ++row)
            QVERIFY(!ascii->isRowHidden(row));
    }
};

QTEST_MAIN(ColorDesignerWindowTest)
#include "ColorDesignerWindowTest.moc"
