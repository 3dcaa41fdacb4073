#include "runtime/ui/FilterBox.h"
#include "runtime/ui/BrowseList.h"
#include "runtime/ui/testing/WidgetDriving.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>
#include <QtTest>

using namespace kestrix::runtime;
using kestrix::runtime::testing::listRows;
using kestrix::runtime::testing::treeColumn;

class FilterBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void typingHidesRowsWithoutTheTextInAShownColumnAndKeepsTheOrder()
    {
        QTreeWidget list;
        list.setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Value"), QStringLiteral("Hidden")});
        list.setColumnHidden(2, true);
        for (const auto& row : {QStringList{"Zulu", "10", "x"}, QStringList{"Alpha", "2", "x"},
                                QStringList{"Bravo", "310", "x"}, QStringList{"Charlie", "4", "zzz"}})
            new QTreeWidgetItem(&list, row);
        list.sortItems(0, Qt::DescendingOrder);
        FilterBox box;
        filterTree(&box, &list);

        QTest::keyClicks(&box, QStringLiteral("A"));
        QCOMPARE(treeColumn(&list, 0, true), (QStringList{"Charlie", "Bravo", "Alpha"}));
        QTest::keyClicks(&box, QStringLiteral("L"));
        QCOMPARE(treeColumn(&list, 0, true), QStringList{"Alpha"});
        box.setText(QStringLiteral("10"));
        QCOMPARE(treeColumn(&list, 0, true), (QStringList{"Zulu", "Bravo"}));
        // A hidden column is not searched.
        box.setText(QStringLiteral("zzz"));
        QVERIFY(treeColumn(&list, 0, true).isEmpty());

        // Esc empties the box and every row is back, in the list's order.
        QTest::keyClick(&box, Qt::Key_Escape);
        QVERIFY(box.text().isEmpty());
        QCOMPARE(treeColumn(&list, 0, true), (QStringList{"Zulu", "Charlie", "Bravo", "Alpha"}));
    }

    void rowsAddedOrChangedLaterAreFilteredToo()
    {
        QTreeWidget list;
        list.setHeaderLabels({QStringLiteral("Name")});
        FilterBox box;
        filterTree(&box, &list);
        box.setText(QStringLiteral("ok"));
        new QTreeWidgetItem(&list, QStringList{"Book"});
        new QTreeWidgetItem(&list, QStringList{"Pen"});
        QCOMPARE(treeColumn(&list, 0, true), QStringList{"Book"});
        list.topLevelItem(1)->setText(0, QStringLiteral("Notebook"));
        list.topLevelItem(0)->setText(0, QStringLiteral("Pencil"));
        QCOMPARE(treeColumn(&list, 0, true), QStringList{"Notebook"});
        // A list filled again keeps the filter.
        list.clear();
        for (const char* name : {"Okra", "Elm", "Cook"})
            new QTreeWidgetItem(&list, QStringList{QString::fromLatin1(name)});
        QCOMPARE(treeColumn(&list, 0, true), (QStringList{"Okra", "Cook"}));
    }

    void aOneColumnListIsFilteredAsItIsTypedAndRefilled()
    {
        QListWidget list;
        list.addItems({QStringLiteral("Épée CODE"), QStringLiteral("  x = 1"), QStringLiteral("code end")});
        FilterBox box;
        filterList(&box, &list);
        list.setCurrentRow(1);
        box.setText(QStringLiteral("éPÉE")); // keyClicks types ASCII only
        QCOMPARE(listRows(&list, true), QStringList{QStringLiteral("Épée CODE")});
        // The highlighted row went out of sight, so nothing is highlighted.
        QCOMPARE(list.currentItem(), nullptr);
        box.setText(QStringLiteral("code"));
        QCOMPARE(listRows(&list, true),
                 (QStringList{QStringLiteral("Épée CODE"), QStringLiteral("code end")}));
        list.addItem(QStringLiteral("Decoder"));
        list.addItem(QStringLiteral("none"));
        list.item(1)->setText(QStringLiteral("x = CODE"));
        QCOMPARE(listRows(&list, true).size(), 4);
        QVERIFY(!listRows(&list, true).contains(QStringLiteral("none")));
        QTest::keyClick(&box, Qt::Key_Escape);
        QCOMPARE(listRows(&list, true), listRows(&list));
    }

    void aParentStaysWhileARowUnderItMatches()
    {
        QTreeWidget list;
        list.setHeaderLabels({QStringLiteral("Name")});
        FilterBox box;
        filterTree(&box, &list);
        auto* files = new QTreeWidgetItem(&list, QStringList{"Files"});
        new QTreeWidgetItem(files, QStringList{"Customer"});
        new QTreeWidgetItem(files, QStringList{"Orders"});
        auto* keys = new QTreeWidgetItem(&list, QStringList{"Keys"});
        new QTreeWidgetItem(keys, QStringList{"ByName"});
        box.setText(QStringLiteral("cust"));
        QVERIFY(!files->isHidden());
        QVERIFY(!files->child(0)->isHidden());
        QVERIFY(files->child(1)->isHidden());
        QVERIFY(keys->isHidden());
        // A matching row added under a hidden parent brings the parent back.
        new QTreeWidgetItem(keys, QStringList{"ByCustomer"});
        QVERIFY(!keys->isHidden());
        QVERIFY(keys->child(0)->isHidden());
    }

    void escInAnEmptyBoxGoesOnToTheWindow()
    {
        QWidget window;
        auto* box = new FilterBox(&window);
        int escapes = 0;
        struct Catcher : QObject
        {
            int* count;
            explicit Catcher(int* c) : count(c) {}
            bool eventFilter(QObject*, QEvent* e) override
            {
                if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape)
                    ++*count;
                return false;
            }
        } catcher(&escapes);
        window.installEventFilter(&catcher);
        box->setText(QStringLiteral("x"));
        QTest::keyClick(box, Qt::Key_Escape);
        QCOMPARE(escapes, 0);
        QVERIFY(box->text().isEmpty());
        QTest::keyClick(box, Qt::Key_Escape);
        QCOMPARE(escapes, 1);
    }

    void aBrowseListLocatesAmongTheRowsTheFilterKeeps()
    {
        QLineEdit locator;
        BrowseList list({QStringLiteral("Description"), QStringLiteral("Caption")}, &locator);
        FilterBox box;
        list.setFilterBox(&box);
        list.setRows({{"Confirm Delete", "Delete?"},
                      {"Order saved", "Saved"},
                      {"Out of stock", "Stock"},
                      {"Save failed", "Error"}},
                     {"CONFIRM DELETE", "ORDER SAVED", "OUT OF STOCK", "SAVE FAILED"});
        box.setText(QStringLiteral("sav"));
        QCOMPARE(treeColumn(&list, 0, true), (QStringList{"Order saved", "Save failed"}));
        // The locator's jump on a key prefix works among the kept rows...
        locator.setText(QStringLiteral("s"));
        QCOMPARE(list.currentRow(), std::optional<std::size_t>(3));
        QCOMPARE(treeColumn(&list, 0, true), (QStringList{"Order saved", "Save failed"}));
        // ...and a prefix of a row the filter left out does not bring it back.
        locator.setText(QStringLiteral("conf"));
        QCOMPARE(list.currentRow(), std::optional<std::size_t>(1));
        QVERIFY(list.topLevelItem(0)->isHidden());
        locator.clear();
        QTest::keyClick(&box, Qt::Key_Escape);
        QCOMPARE(treeColumn(&list, 0, true).size(), 4);
        // Refilled rows are filtered as the box stands.
        box.setText(QStringLiteral("stock"));
        list.setRows({{"Low stock", "Stock"}, {"Quit", "Sure?"}}, {"LOW STOCK", "QUIT"});
        QCOMPARE(treeColumn(&list, 0, true), QStringList{"Low stock"});
    }
};

QTEST_MAIN(FilterBoxTest)
#include "FilterBoxTest.moc"
