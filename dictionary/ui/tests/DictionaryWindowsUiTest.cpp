#include "config/ConfigRecord.h"
#include "config/testing/ScratchSession.h"
#include "dictionary/DictionaryImport.h"
#include "dictionary/DictionaryStore.h"
#include "dictionary/FileCode.h"
#include "dictionary/ui/AssignmentDialog.h"
#include "dictionary/ui/DictFilesWindow.h"
#include "dictionary/ui/DictTreeWindow.h"
#include "dictionary/ui/DictionaryTools.h"
#include "dictionary/ui/SetLoopDialog.h"
#include "runtime/IniFile.h"
#include "runtime/ui/ProgressDialog.h"
#include "runtime/ui/ToolShelf.h"
#include "runtime/ui/testing/WidgetDriving.h"

#include <QAction>
#include <QCheckBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <fstream>
#include <sstream>

using namespace kestrix;
using runtime::testing::child;
using runtime::testing::onNextDialog;
using runtime::testing::treeColumn;
using runtime::testing::typeInto;

namespace {

const std::string Sample = std::string(KESTRIX_SOURCE_DIR) + "/samples/dictionaries/SHOP.TXD";

std::string sampleText()
{
    std::ifstream in(Sample, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A scratch session with the sample dictionary imported from `source` (the sample itself by default).
struct Shop : config::testing::ScratchSession
{
    explicit Shop(const std::string& source = Sample)
    {
        dictionary::DictionaryImporter importer(dialogs, session.programIni());
        QVERIFY(importer.importFrom(source).completed);
    }
    std::string clipboard() { return session.clipboardQueue().text(); }
    // Removes rows of the store behind the windows' backs, as another program could.
    void removeFile(const std::string& name)
    {
        behindTheWindows(name, [](dictionary::DictionaryStore& store, runtime::Record& dif) {
            QVERIFY(!store.files().remove(dif));
        });
    }
    void removeKeyComponents(const std::string& file, const std::string& key)
    {
        behindTheWindows(file, [&key](dictionary::DictionaryStore& store, runtime::Record& dif) {
            bool inKey = false;
            for (runtime::Record row : store.treeOf(dif.number(dictionary::Dif::FileId))) {
                const dictionary::TreeRow r = dictionary::treeRowOf(row);
                if (r.type != dictionary::RowType::Key)
                    continue;
                if (r.level == 1)
                    inKey = r.name == key;
                else if (inKey)
                    QVERIFY(!store.tree().remove(row));
            }
        });
    }

private:
    // The store opened as another program opens it, and the record of `file` in it.
    template <typename Change> void behindTheWindows(const std::string& file, Change change)
    {
        dictionary::DictionaryStore store("SHOP.dic");
        std::string failing;
        QVERIFY(!store.openAll(failing));
        runtime::Record dif = store.files().newRecord();
        QVERIFY(store.fileByName(file, dif));
        change(store, dif);
    }
};

int lineNamed(const dictionary::FileTree& tree, const std::string& type, const std::string& name)
{
    for (std::size_t i = 0; i < tree.lines.size(); ++i) {
        if (tree.lines[i].type == type && tree.lines[i].name == name)
            return static_cast<int>(i);
    }
    return -1;
}

auto pick(const std::string& text)
{
    return [text](const dictionary::CodeMenu& menu) { return dictionary::menuItemId(menu, text); };
}

} // namespace

class DictionaryWindowsUiTest : public QObject
{
    Q_OBJECT

private slots:
    void openShowsTheFilesWithTitleInfoAndTrees()
    {
        Shop f;
        runtime::ToolShelf shelf;
        dictionary::registerDictionaryTools(shelf, f.session);
        const runtime::ToolRegistration* tool = shelf.find("DictionaryOpen");
        QVERIFY(tool && tool->open);
        f.dialogs.fileAnswers = {(f.dir.path() / "SHOP.dic").string()};
        QMdiArea area;
        auto* files = qobject_cast<dictionary::DictFilesWindow*>(tool->open(runtime::StartReason::FromMenu));
        QVERIFY(files);
        area.addSubWindow(files);
        files->show();
        QCOMPARE(f.dialogs.dialogTitles, std::vector<std::string>{"Select Dictionary to Open"});
        QVERIFY(files->windowTitle().startsWith(QStringLiteral("SHOP.dic Files (")));
        QVERIFY(files->windowTitle().endsWith(QString::fromStdString(") " + Sample)));
        QCOMPARE(files->updateButton()->toolTip(), QString::fromStdString("Update Dictionary from ") +
                                                       QString::fromStdString(Sample).toLower());
        QTreeWidget* list = files->list();
        QCOMPARE(treeColumn(list),
                 (QStringList{"Customer", "Orders", "Product", "OrderItem", "Supplier", "Buyer"}));
        QCOMPARE(list->headerItem()->text(6), QStringLiteral("Attributes"));
        QCOMPARE(treeColumn(list, 4)[4], QStringLiteral("/FILEBUFFERS=8"));

        // Each file-view button has its own text and its own glyph.
        QSet<QByteArray> glyphs;
        for (const char* name : {"updateDictionary", "minimizeViews", "restoreViews", "closeViews"}) {
            auto* button = child<QToolButton>(files, name);
            QVERIFY(button);
            QVERIFY(!button->icon().isNull());
            QCOMPARE(button->text(), button->toolTip().section(QStringLiteral(" from "), 0, 0));
            const QImage drawn = button->icon().pixmap(16, 16).toImage();
            glyphs.insert(QByteArray(reinterpret_cast<const char*>(drawn.constBits()), drawn.sizeInBytes()));
        }
        QCOMPARE(glyphs.size(), 4);

        std::unique_ptr<QDialog> info(files->fileInfo(0));
        QCOMPARE(info->windowTitle(), QStringLiteral("File Info"));
        QCOMPARE(child<QLineEdit>(info.get(), "Prefix")->text(), QStringLiteral("CUS"));
        QCOMPARE(child<QLineEdit>(info.get(), "UserOptions")->text(),
                 QStringLiteral("EXPORT=Yes; OWNER=Sales"));
        info.reset(); // a child of the window

        // The file views follow the buttons.
        dictionary::DictTreeWindow* buyer = files->openTree(5);
        dictionary::DictTreeWindow* orders = files->openTree(1);
        QVERIFY(buyer && orders);
        QCOMPARE(buyer->tree().qualifier, std::string("BUY:"));
        QCOMPARE(area.subWindowList().size(), 3);
        child<QToolButton>(files, "minimizeViews")->click();
        QVERIFY(buyer->isMinimized() && orders->isMinimized());
        QVERIFY(!files->isMinimized());
        child<QToolButton>(files, "restoreViews")->click();
        QVERIFY(!buyer->isMinimized() && !orders->isMinimized());
        QPointer<dictionary::DictTreeWindow> closing = orders;
        child<QToolButton>(files, "closeViews")->click();
        QVERIFY(files->trees().empty());
        QVERIFY(!closing || !closing->isVisible());

        // The column widths are kept with the list's (empty) group widths.
        list->setColumnWidth(0, 333);
        delete files;
        const runtime::IniFile layouts = f.session.listsIni();
        QCOMPARE(layouts.value("DickFilesBrowse", "ListGroupWidths"), std::string());
        QVERIFY(layouts.value("DickFilesBrowse", "ListColumnWidths").rfind("333,", 0) == 0);
        std::unique_ptr<dictionary::DictFilesWindow> again(
            dictionary::DictFilesWindow::open(f.session, "SHOP.dic"));
        QVERIFY(again);
        QCOMPARE(again->list()->columnWidth(0), 333);
        QVERIFY(f.dialogs.shown.empty());
    }

    void bothListsFilterAsTypedAndShowTheConfiguredFont()
    {
        Shop f;
        config::setFont(f.session.configuration(), config::FontRow::DictionaryFile, {"Courier", 15, 0, 400});
        std::unique_ptr<dictionary::DictFilesWindow> files(
            dictionary::DictFilesWindow::open(f.session, "SHOP.dic"));
        QVERIFY(files);
        QTreeWidget* list = files->list();
        QCOMPARE(list->font().pointSize(), 15);
        auto* filter = child<QLineEdit>(files.get(), "filter");
        QVERIFY(filter);
        // Any column, any case: the driver string names the one ASCII file.
        typeInto(filter, QStringLiteral("aSCii"));
        QCOMPARE(treeColumn(list, 0, true), QStringList{"Supplier"});
        typeInto(filter, QStringLiteral("CUSTOMER"));
        QCOMPARE(treeColumn(list, 0, true),
                 (QStringList{"Customer", "Orders", "Buyer"})); // Buyer: an alias of Customer
        QTest::keyClick(filter, Qt::Key_Escape);
        QCOMPARE(treeColumn(list, 0, true), treeColumn(list));

        std::unique_ptr<dictionary::DictTreeWindow> tree(
            dictionary::DictTreeWindow::open(f.session, "SHOP.dic", "Customer"));
        QVERIFY(tree);
        QTreeWidget* view = tree->view();
        QCOMPARE(view->font().pointSize(), 15);
        auto* treeFilter = child<QLineEdit>(tree.get(), "filter");
        QVERIFY(treeFilter);
        // A field deep in a group keeps the lines above it and nothing beside it.
        typeInto(treeFilter, QStringLiteral("zip"));
        QCOMPARE(treeColumn(view, 0, true), QStringList{"Customer"});
        QTreeWidgetItem* address = view->topLevelItem(0)->child(5);
        QVERIFY(!address->isHidden());
        QCOMPARE(address->child(0)->isHidden(), true);  // Street
        QCOMPARE(address->child(2)->isHidden(), false); // Zip
        QTest::keyClick(treeFilter, Qt::Key_Escape);
        QCOMPARE(treeColumn(view, 0, true), (QStringList{"Customer", "KEYS", " RELATIONSHIPS", " ALIAS"}));
        QVERIFY(!address->child(0)->isHidden());

        // The window's own Fixedsys choice goes over the configured font and back.
        QAction* fixedsys = tree->findChild<QAction*>(QStringLiteral("fixedsys"));
        QVERIFY(fixedsys);
        fixedsys->trigger();
        QCOMPARE(view->font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
        fixedsys->trigger();
        QCOMPARE(view->font().pointSize(), 15);

        // A change of configuration reaches the open windows.
        config::setFont(f.session.configuration(), config::FontRow::DictionaryFile, {"Default", 8, 0, 0});
        files->deliver(runtime::ToolEvent::ConfigurationChanged);
        tree->deliver(runtime::ToolEvent::ConfigurationChanged);
        QCOMPARE(list->font(), QFont());
        QCOMPARE(view->font(), QFont());
    }

    void updateReimportsBehindTheLoadingWindowAndReloads()
    {
        // The source first lacks the Supplier file; the update reads it as it is now.
        const std::string full = sampleText();
        const std::size_t from = full.find("Supplier FILE");
        const std::size_t to = full.find("[ALIASES]");
        QVERIFY(from != std::string::npos && to > from);
        config::testing::ScratchSession scratch;
        const std::string source = (scratch.dir.path() / "SHOP.TXD").string();
        std::ofstream(source, std::ios::binary) << full.substr(0, from) + full.substr(to);
        {
            dictionary::DictionaryImporter importer(scratch.dialogs, scratch.session.programIni());
            QVERIFY(importer.importFrom(source).completed);
        }
        QMdiArea area;
        auto* files = dictionary::DictFilesWindow::open(scratch.session, "SHOP.dic");
        QVERIFY(files);
        area.addSubWindow(files);
        QCOMPARE(files->list()->topLevelItemCount(), 5);
        QVERIFY(files->openTree(0));

        std::ofstream(source, std::ios::binary | std::ios::trunc) << full;
        QString loading;
        bool onWorker = false;
        QTimer::singleShot(0, [&] { // inside the loading window's own loop, while the worker imports
            if (runtime::ProgressDialog* running = runtime::ProgressDialog::running()) {
                loading = running->windowTitle();
                onWorker = true;
            }
        });
        child<QToolButton>(files, "updateDictionary")->click();
        QVERIFY(onWorker);
        QCOMPARE(loading, QStringLiteral("Loading Dictionary"));
        QCOMPARE(treeColumn(files->list()),
                 (QStringList{"Customer", "Orders", "Product", "OrderItem", "Supplier", "Buyer"}));
        QVERIFY(files->trees().empty()); // the views of the old store are closed
        QVERIFY(files->windowTitle().endsWith(QString::fromStdString(") " + source)));
        QVERIFY(files->openTree(4));
        QVERIFY(scratch.dialogs.shown.empty());
        delete files;
    }

    void anOlderStoreOffersToImportAgain()
    {
        Shop f;
        const auto makeOlder = [&f] {
            dictionary::DictionaryStore store("SHOP.dic");
            QCOMPARE(store.openForBrowsing(f.dialogs), dictionary::OpenState::Ready);
            store.close();
            std::string failing;
            QVERIFY(!store.openAll(failing));
            runtime::Record info = store.info().newRecord();
            store.info().setOrder(runtime::KeyedFile::FileOrder);
            QVERIFY(!store.info().next(info));
            info.setText(dictionary::Dinfo::Version, "1");
            QVERIFY(!store.info().put(info));
        };
        makeOlder();
        f.dialogs.answers = {runtime::Button::No};
        QCOMPARE(dictionary::DictFilesWindow::open(f.session, "SHOP.dic"), nullptr);
        QCOMPARE(f.dialogs.captions(), std::vector<std::string>{"Dictionary Not Version 3"});
        QVERIFY(f.dialogs.shown[0].text.find("Version:\t\t1||") != std::string::npos);

        // Yes imports it again from its source and shows the new store.
        f.dialogs.answers = {runtime::Button::Yes};
        std::unique_ptr<dictionary::DictFilesWindow> files(
            dictionary::DictFilesWindow::open(f.session, "SHOP.dic"));
        QVERIFY(files);
        QCOMPARE(f.dialogs.captions().size(), std::size_t{2});
        QCOMPARE(files->list()->topLevelItemCount(), 6);
        dictionary::DictionaryStore store("SHOP.dic");
        QCOMPARE(store.openForBrowsing(f.dialogs), dictionary::OpenState::Ready);
    }

    void badInputIsToldNotCrashedOn()
    {
        Shop f;
        // A store that is not there.
        QCOMPARE(dictionary::DictFilesWindow::open(f.session, "NONE.dic"), nullptr);
        QCOMPARE(f.dialogs.captions(), std::vector<std::string>{"FILE ERROR"});
        QVERIFY(f.dialogs.shown[0].text.rfind("Open DICInfo File|Error: 2-", 0) == 0);

        // A file row removed after the list was read: the list, the tree's double click and its
        // relation popup all say so.
        std::unique_ptr<dictionary::DictFilesWindow> files(
            dictionary::DictFilesWindow::open(f.session, "SHOP.dic"));
        QVERIFY(files);
        std::unique_ptr<dictionary::DictTreeWindow> customer(files->openTree(0));
        QVERIFY(customer);
        f.removeFile("Orders");
        f.dialogs.shown.clear();
        QCOMPARE(files->openTree(1), nullptr);
        const int relation = lineNamed(customer->tree(), "R", "Orders");
        QCOMPARE(customer->openRelated(relation), nullptr);
        customer->popupFor(relation, pick("Join(KeyCustDate,KeyCustNo)"));
        QCOMPARE(f.dialogs.shown.size(), std::size_t{3});
        for (const runtime::MessageRequest& shown : f.dialogs.shown)
            QVERIFY2(shown.text.rfind("!@# error loading file ", 0) == 0, shown.text.c_str());
        QCOMPARE(f.clipboard(), std::string());
    }

    void keysWithoutComponentsAndNoLinkKeys()
    {
        Shop f;
        f.session.modes().abcMode = false;
        f.removeKeyComponents("Customer", "KeyCustNo");
        std::unique_ptr<dictionary::DictTreeWindow> customer(
            dictionary::DictTreeWindow::open(f.session, "SHOP.dic", "Customer"));
        QVERIFY(customer);
        const int key = lineNamed(customer->tree(), "2", "KeyCustNo");
        QCOMPARE(customer->itemOf(key)->childCount(), 0);
        // Customer has a MEMO: the GET asks about NOMEMO.
        f.dialogs.answers = {runtime::Button::Yes};
        customer->popupFor(key, pick("Get(File,Key)"));
        QCOMPARE(f.dialogs.captions(), std::vector<std::string>{"Get(File,Key)"});
        QCOMPARE(QString::fromStdString(f.clipboard()),
                 QStringLiteral("CLEAR(CUS:RECORD, -1)\r\nNOMEMO(Customer)\r\nGET(Customer,CUS:KeyCustNo)"
                                "\r\nIF ERRORCODE()\r\n   CLEAR(CUS:RECORD)\r\nEND !IF"));
        f.dialogs.answers = {runtime::Button::No};
        customer->popupFor(key, pick("Get(File,Key)"));
        QVERIFY(f.clipboard().find("NOMEMO") == std::string::npos);

        // OrderItem's relation to Product has no key of its own: its items are disabled and write nothing.
        std::unique_ptr<dictionary::DictTreeWindow> items(
            dictionary::DictTreeWindow::open(f.session, "SHOP.dic", "OrderItem"));
        QVERIFY(items);
        const int product = lineNamed(items->tree(), "R", "Product");
        QVERIFY(product >= 0);
        f.dialogs.shown.clear();
        const std::string before = f.clipboard();
        std::vector<runtime::MenuItem> offered;
        items->popupFor(product, [&offered](const dictionary::CodeMenu& menu) {
            for (const dictionary::CodeMenuEntry& e : menu)
                offered.push_back(e.item);
            return menu.front().item.id; // as if a disabled item got through
        });
        QVERIFY(!offered.empty());
        QCOMPARE(QString::fromStdString(offered.front().text), QStringLiteral("Set(NOLINK,NOLINK)"));
        QVERIFY(!offered.front().enabled);
        QCOMPARE(f.clipboard(), before);
        QVERIFY(f.dialogs.shown.empty());
    }

    void treeIsARealTreeWithPopupsMarksAndDrag()
    {
        Shop f;
        f.session.modes().abcMode = false;
        std::unique_ptr<dictionary::DictTreeWindow> window(
            dictionary::DictTreeWindow::open(f.session, "SHOP.dic", "Customer"));
        QVERIFY(window);
        QTreeWidget* view = window->view();
        QCOMPARE(treeColumn(view), (QStringList{"Customer", "KEYS", " RELATIONSHIPS", " ALIAS"}));
        QTreeWidgetItem* firstKey = view->topLevelItem(1)->child(0);
        QVERIFY(firstKey->text(0).startsWith(QStringLiteral("KeyCustNo")));
        QVERIFY(!firstKey->isExpanded()); // keys start collapsed
        QCOMPARE(firstKey->childCount(), 1);
        QCOMPARE(view->topLevelItem(0)->child(5)->childCount(), 3); // the Address group

        // Every line but the headings carries a mark.
        QVERIFY(!view->topLevelItem(1)->data(0, Qt::CheckStateRole).isValid());
        QCOMPARE(firstKey->checkState(0), Qt::Unchecked);
        QCOMPARE(view->topLevelItem(2)->child(0)->checkState(0), Qt::Unchecked);
        QCOMPARE(view->topLevelItem(3)->child(0)->checkState(0), Qt::Unchecked);

        // The options menu shows the width in use.
        QAction* twice = window->doubleWidthAction();
        QCOMPARE(twice->text(), QStringLiteral("Double Width\t1x"));
        const int single = view->columnWidth(0);
        twice->trigger();
        QCOMPARE(twice->text(), QStringLiteral("Double Width\t2x"));
        QVERIFY(twice->isChecked());
        QCOMPARE(view->columnWidth(0), 2 * single);
        twice->trigger();
        QCOMPARE(view->columnWidth(0), single);
        QCOMPARE(twice->text(), QStringLiteral("Double Width\t1x"));

        const dictionary::FileTree& tree = window->tree();
        window->popupFor(0, pick("Open...IF File::Used=0"));
        QCOMPARE(f.clipboard(), std::string("IF Customer::Used = 0\r\n   CHECKOPEN(Customer)\r\nEND\r\n"
                                            "Customer::Used += 1"));
        window->popupFor(lineNamed(tree, "1", "CustNo"), pick("?Field"));
        QCOMPARE(f.clipboard(), std::string("?CUS:CustNo"));
        window->popupFor(lineNamed(tree, "Z", "Buyer"), pick("Filename")); // an alias line has no menu
        QCOMPARE(f.clipboard(), std::string("?CUS:CustNo"));

        // Marks are the check boxes; the field items take the marked fields, the drag every marked line.
        window->itemOf(lineNamed(tree, "1", "LastName"))->setCheckState(0, Qt::Checked);
        window->itemOf(lineNamed(tree, "1", "Since"))->setCheckState(0, Qt::Checked);
        window->itemOf(lineNamed(tree, "2", "KeyName"))->setCheckState(0, Qt::Checked);
        window->popupFor(lineNamed(tree, "1", "CustNo"), pick("FORMAT(Field,@?)"));
        QCOMPARE(f.clipboard(), std::string("CLIP(CUS:LastName)\r\nFORMAT(CUS:Since,@d6)"));
        QCOMPARE(window->startDrag(0), std::string("CUS:LastName CUS:Since CUS:KeyName"));
        QCOMPARE(f.session.draggedFields().size(), std::size_t{3});
        QCOMPARE(f.session.draggedFields()[1].picture, std::string("@d6"));
        QCOMPARE(f.session.draggedFields()[2].vari, std::string("CUS:KeyName"));

        // "Select all Fields" checks the data fields only.
        window->popupFor(0, pick("Select all Fields"));
        QCOMPARE(window->itemOf(lineNamed(tree, "1", "City"))->checkState(0), Qt::Checked);
        QCOMPARE(window->itemOf(lineNamed(tree, "1", "Notes"))->checkState(0), Qt::Unchecked);
        QCOMPARE(window->itemOf(lineNamed(tree, "1", "Address"))->checkState(0), Qt::Unchecked);
        QCOMPARE(window->itemOf(lineNamed(tree, "2", "KeyName"))->checkState(0), Qt::Unchecked);

        // Set(Key,Key)... through the real "Generate SET()/LOOP Code" window.
        QString title;
        onNextDialog([&](QDialog* dialog) {
            title = dialog->windowTitle();
            child<QRadioButton>(dialog, "previous")->setChecked(true);
            child<QCheckBox>(dialog, "stream")->setChecked(true);
            QCOMPARE(child<QCheckBox>(dialog, "yield")->text(), QStringLiteral(" Yield After Flush"));
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
        onNextDialog([](QDialog* dialog) { dialog->reject(); });
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
        config::testing::ScratchSession f;
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
