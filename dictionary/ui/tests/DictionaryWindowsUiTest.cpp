#include "config/Session.h"
#include "dictionary/DictionaryImport.h"
#include "dictionary/DictionaryStore.h"
#include "dictionary/FileCode.h"
#include "dictionary/ui/AssignmentDialog.h"
#include "dictionary/ui/DictFilesWindow.h"
#include "dictionary/ui/DictTreeWindow.h"
#include "dictionary/ui/DictionaryTools.h"
#include "dictionary/ui/SetLoopDialog.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"
#include "runtime/ui/ToolShelf.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

using namespace kestrix;

namespace {

const std::string Sample = std::string(KESTRIX_SOURCE_DIR) + "/samples/dictionaries/SHOP.TXD";

struct Fixture
{
    runtime::testing::TempDir dir;
    runtime::testing::ScriptedDialogs dialogs;
    config::Session session{dialogs};
    Fixture()
    {
        dictionary::DictionaryImporter importer(dialogs, session.programIni());
        QVERIFY(importer.importFrom(Sample).completed);
    }
    std::string clipboard() { return session.clipboardQueue().text(); }
};

int lineNamed(const dictionary::FileTree& tree, const std::string& type, const std::string& name)
{
    for (std::size_t i = 0; i < tree.lines.size(); ++i) {
        if (tree.lines[i].type == type && tree.lines[i].name == name)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace

class DictionaryWindowsUiTest : public QObject
{
    Q_OBJECT

private slots:
    void openShowsTheFilesWithTitleInfoAndTrees()
    {
        Fixture f;
        runtime::ToolShelf shelf;
        dictionary::registerDictionaryTools(shelf, f.session);
        const runtime::ToolRegistration* tool = shelf.find("DictionaryOpen");
        QVERIFY(tool && tool->open);
        f.dialogs.fileAnswers = {(f.dir.path() / "SHOP.dic").string()};
        std::unique_ptr<runtime::ToolWindow> opened(tool->open(runtime::StartReason::FromMenu));
        auto* files = qobject_cast<dictionary::DictFilesWindow*>(opened.get());
        QVERIFY(files);
        QCOMPARE(f.dialogs.dialogTitles, std::vector<std::string>{"Select Dictionary to Open"});
        QVERIFY(files->windowTitle().startsWith(QStringLiteral("SHOP.dic Files (")));
        QVERIFY(files->windowTitle().endsWith(QString::fromStdString(") " + Sample)));
        QCOMPARE(files->updateButton()->toolTip(), QString::fromStdString("Update Dictionary from ") +
                                                       QString::fromStdString(Sample).toLower());
        QTreeWidget* list = files->list();
        QCOMPARE(list->topLevelItemCount(), 6);
        QCOMPARE(list->headerItem()->text(6), QStringLiteral("Attributes"));
        QCOMPARE(list->topLevelItem(5)->text(0), QStringLiteral("Buyer"));
        QCOMPARE(list->topLevelItem(4)->text(4), QStringLiteral("/FILEBUFFERS=8"));

        std::unique_ptr<QDialog> info(files->fileInfo(0));
        QCOMPARE(info->windowTitle(), QStringLiteral("File Info"));
        QCOMPARE(info->findChild<QLineEdit*>(QStringLiteral("Prefix"))->text(), QStringLiteral("CUS"));
        QCOMPARE(info->findChild<QLineEdit*>(QStringLiteral("UserOptions"))->text(),
                 QStringLiteral("EXPORT=Yes; OWNER=Sales"));

        dictionary::DictTreeWindow* tree = files->openTree(5);
        QVERIFY(tree);
        QCOMPARE(files->trees().size(), std::size_t{1});
        QCOMPARE(tree->tree().qualifier, std::string("BUY:"));
        files->closeTrees();
        QVERIFY(files->trees().empty());
        QVERIFY(f.dialogs.shown.empty());
    }

    void anOlderStoreOffersToImportAgain()
    {
        Fixture f;
        {
            dictionary::DictionaryStore store("SHOP.dic");
            QCOMPARE(store.openForBrowsing(f.dialogs), dictionary::OpenState::Ready);
            store.close();
            QVERIFY(!store.info().open());
            runtime::Record info = store.info().newRecord();
            store.info().setOrder(runtime::KeyedFile::FileOrder);
            QVERIFY(!store.info().next(info));
            info.setText(dictionary::Dinfo::Version, "1");
            QVERIFY(!store.info().put(info));
            store.close();
        }
        f.dialogs.answers = {runtime::Button::No};
        QCOMPARE(dictionary::DictFilesWindow::open(f.session, "SHOP.dic"), nullptr);
        QCOMPARE(f.dialogs.captions(), std::vector<std::string>{"Dictionary Not Version 3"});
        QVERIFY(f.dialogs.shown[0].text.find("Version:\t\t1||") != std::string::npos);
    }

    void treeIsARealTreeWithPopupsMarksAndDrag()
    {
        Fixture f;
        f.session.modes().abcMode = false;
        std::unique_ptr<dictionary::DictTreeWindow> window(
            dictionary::DictTreeWindow::open(f.session, "SHOP.dic", "Customer"));
        QVERIFY(window);
        QTreeWidget* view = window->view();
        QCOMPARE(view->topLevelItemCount(), 4); // the file, KEYS, RELATIONSHIPS, ALIAS
        QCOMPARE(view->topLevelItem(1)->text(0), QStringLiteral("KEYS"));
        QTreeWidgetItem* firstKey = view->topLevelItem(1)->child(0);
        QVERIFY(firstKey->text(0).startsWith(QStringLiteral("KeyCustNo")));
        QVERIFY(!firstKey->isExpanded()); // keys start collapsed
        QCOMPARE(firstKey->childCount(), 1);
        QCOMPARE(view->topLevelItem(0)->child(5)->childCount(), 3); // the Address group

        const dictionary::FileTree& tree = window->tree();
        const auto pick = [](const std::string& text) {
            return [text](const dictionary::CodeMenu& menu) { return dictionary::menuItemId(menu, text); };
        };
        window->popupFor(0, pick("Open...IF File::Used=0"));
        QCOMPARE(f.clipboard(), std::string("IF Customer::Used = 0\r\n   CHECKOPEN(Customer)\r\nEND\r\n"
                                            "Customer::Used += 1"));
        window->popupFor(lineNamed(tree, "1", "CustNo"), pick("?Field"));
        QCOMPARE(f.clipboard(), std::string("?CUS:CustNo"));
        window->popupFor(lineNamed(tree, "Z", "Buyer"), pick("Filename")); // an alias line has no menu
        QCOMPARE(f.clipboard(), std::string("?CUS:CustNo"));

        // Marks are the check boxes of the field lines; the drag fills the dragged-field list.
        window->itemOf(lineNamed(tree, "1", "LastName"))->setCheckState(0, Qt::Checked);
        window->itemOf(lineNamed(tree, "1", "Since"))->setCheckState(0, Qt::Checked);
        window->popupFor(lineNamed(tree, "1", "CustNo"), pick("FORMAT(Field,@?)"));
        QCOMPARE(f.clipboard(), std::string("CLIP(CUS:LastName)\r\nFORMAT(CUS:Since,@d6)"));
        QCOMPARE(window->startDrag(0), std::string("CUS:LastName CUS:Since"));
        QCOMPARE(f.session.draggedFields().size(), std::size_t{2});
        QCOMPARE(f.session.draggedFields()[1].picture, std::string("@d6"));

        // "Select all Fields" checks the data fields only.
        window->popupFor(0, pick("Select all Fields"));
        QCOMPARE(window->itemOf(lineNamed(tree, "1", "City"))->checkState(0), Qt::Checked);
        QCOMPARE(window->itemOf(lineNamed(tree, "1", "Notes"))->checkState(0), Qt::Unchecked);
        QCOMPARE(window->itemOf(lineNamed(tree, "1", "Address"))->checkState(0), Qt::Unchecked);

        // Set(Key,Key)... through the real "Generate SET()/LOOP Code" window.
        QString title;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<dictionary::SetLoopDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            title = dialog->windowTitle();
            dialog->findChild<QRadioButton*>(QStringLiteral("previous"))->setChecked(true);
            dialog->findChild<QCheckBox*>(QStringLiteral("stream"))->setChecked(true);
            QVERIFY(dialog->findChild<QCheckBox*>(QStringLiteral("yield"))->text() ==
                    QStringLiteral(" Yield After Flush"));
            dialog->accept();
        });
        window->popupFor(lineNamed(tree, "2", "KeyName"), pick("Set(Key,Key)..."));
        QCOMPARE(title, QStringLiteral("SET(Key,Key)"));
        const std::string loop = f.clipboard();
        QVERIFY(loop.rfind("STREAM(Customer)\r\nCLEAR(CUS:RECORD, +1)   !Clear High for PREVIOUS()\r\n", 0) ==
                0);
        QVERIFY(loop.find("   PREVIOUS(Customer)\r\n") != std::string::npos);
        QVERIFY(loop.find("FLUSH(Customer)") != std::string::npos);

        // Cancelling the window writes nothing.
        QTimer::singleShot(0, [] {
            if (auto* dialog = QApplication::activeModalWidget())
                qobject_cast<QDialog*>(dialog)->reject();
        });
        window->popupFor(lineNamed(tree, "2", "KeyName"), pick("Set(Key)..."));
        QCOMPARE(f.clipboard(), loop);

        // A double click on a relation opens the related file's tree.
        std::unique_ptr<dictionary::DictTreeWindow> orders(
            window->openRelated(lineNamed(tree, "R", "Orders")));
        QVERIFY(orders);
        QCOMPARE(orders->tree().file.name, std::string("Orders"));
        QCOMPARE(window->openRelated(lineNamed(tree, "1", "CustNo")), nullptr);
        QVERIFY(f.dialogs.shown.empty());
    }

    void assignmentWindowEditsAndTakesDroppedFields()
    {
        Fixture f;
        dictionary::AssignmentDialog dialog(f.session, "Field Assignments",
                                            {{"CUS:Name", ""}, {"CUS:City", "x"}});
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Field Assignments"));
        QTableWidget* table = dialog.table();
        QCOMPARE(table->rowCount(), 2);
        table->item(0, 1)->setText(QStringLiteral("'Smith'"));
        table->setCurrentCell(1, 0);
        dialog.edit(dictionary::AssignmentEdit::UpLine);
        QCOMPARE(dialog.list()[0].var1, std::string("CUS:City"));
        QCOMPARE(dialog.list()[1].var2, std::string("'Smith'"));
        f.session.draggedFields() = {{"ORD:CustNo", "LONG", ""}, {"ORD:Date", "LONG", "@d6"}};
        dialog.dropFields(1, 1);
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(dialog.list()[1].var2, std::string("ORD:CustNo"));
        QCOMPARE(dialog.list()[2].var2, std::string("ORD:Date"));
        QCOMPARE(dialog.list()[2].var1, std::string());
    }
};

QTEST_MAIN(DictionaryWindowsUiTest)
#include "DictionaryWindowsUiTest.moc"
