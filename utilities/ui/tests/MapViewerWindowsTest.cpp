#include "config/testing/ScratchSession.h"
#include "runtime/ui/testing/WidgetDriving.h"
#include "utilities/ui/MapPickWindow.h"
#include "utilities/ui/MapViewWindow.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <memory>

using namespace kestrix;
using namespace kestrix::utilities;
using namespace kestrix::runtime::testing;

namespace {

struct Setup : config::testing::ScratchSession
{
    Setup()
    {
        std::ofstream("app.clw") << "  PROGRAM\n"
                                    "  MAP\n"
                                    "    MODULE('APP001.CLW')\n"
                                    "Zeta PROCEDURE\n"
                                    "Alpha PROCEDURE(LONG),BYTE\n"
                                    "Main PROCEDURE\n"
                                    "    END\n"
                                    "    MODULE('Win32.lib')\n"
                                    "      Sleep(LONG),PASCAL\n"
                                    "    END\n"
                                    "  END\n";
    }
};

} // namespace

class MapViewerWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void pickListOpensRemovesAndSorts()
    {
        Setup s;
        std::vector<std::string> opened;
        auto pick = std::make_unique<MapPickWindow>(s.session);
        pick->setOpenViewer([&](const std::string& source) {
            opened.push_back(source);
            return true;
        });
        QCOMPARE(child<QPushButton>(pick.get(), "select")->toolTip(),
                 QStringLiteral("Open the map of the selected file"));
        QCOMPARE(child<QPushButton>(pick.get(), "open")->toolTip(),
                 QStringLiteral("Open a file not on the list"));
        QCOMPARE(child<QPushButton>(pick.get(), "remove")->toolTip(),
                 QStringLiteral("Remove the selected file from the list"));

        s.dialogs.fileAnswers = {std::string("Zed.clw"), std::string("App.clw")};
        click(pick.get(), "open");
        click(pick.get(), "open");
        QCOMPARE(s.dialogs.dialogTitles.back(), std::string("Select the Map File"));
        QCOMPARE(opened, (std::vector<std::string>{"Zed.clw", "App.clw"}));
        QCOMPARE(treeColumn(pick->fileList()),
                 (QStringList{QStringLiteral("app.clw"), QStringLiteral("zed.clw")}));

        pick->fileList()->setCurrentItem(pick->fileList()->topLevelItem(1));
        click(pick.get(), "select");
        QCOMPARE(opened.back(), std::string("zed.clw"));
        QCOMPARE(treeColumn(pick->fileList()),
                 (QStringList{QStringLiteral("zed.clw"), QStringLiteral("app.clw")}));
        pick->byFileName()->click();
        QCOMPARE(treeColumn(pick->fileList()),
                 (QStringList{QStringLiteral("app.clw"), QStringLiteral("zed.clw")}));

        pick->fileList()->setCurrentItem(pick->fileList()->topLevelItem(0));
        click(pick.get(), "remove");
        QCOMPARE(treeColumn(pick->fileList()), QStringList{QStringLiteral("zed.clw")});
        MapPickWindow again(s.session);
        QCOMPARE(treeColumn(again.fileList()), QStringList{QStringLiteral("zed.clw")});
        QVERIFY(again.byFileName()->isChecked());
    }

    void viewerTabsSortFilterCopyAndExport()
    {
        Setup s;
        std::unique_ptr<MapViewWindow> view(MapViewWindow::open(s.session, "app.clw"));
        QVERIFY(view);
        QCOMPARE(view->tabs()->count(), 4);
        QCOMPARE(view->tabs()->tabText(1), QStringLiteral("&Standard and RI"));
        QTreeWidget* map = view->list(MapList::Map);
        QCOMPARE(map->headerItem()->text(0), QStringLiteral("Prototype"));
        QCOMPARE(view->list(MapList::Files)->headerItem()->text(1), QStringLiteral("File"));
        QCOMPARE(treeColumn(map), (QStringList{QStringLiteral("Zeta"), QStringLiteral("Alpha(LONG),BYTE"),
                                               QStringLiteral("Main")}));

        emit map->header()->sectionDoubleClicked(0);
        QCOMPARE(treeColumn(map), (QStringList{QStringLiteral("Alpha(LONG),BYTE"), QStringLiteral("Main"),
                                               QStringLiteral("Zeta")}));
        emit map->header()->sectionDoubleClicked(0);
        QCOMPARE(treeColumn(map).first(), QStringLiteral("Zeta"));

        QTest::keyClicks(view->filter(MapList::Map), QStringLiteral("al"));
        QCOMPARE(treeColumn(map, 0, true), QStringList{QStringLiteral("Alpha(LONG),BYTE")});
        view->filter(MapList::Map)->setText(QStringLiteral("app001"));
        QCOMPARE(treeColumn(map, 0, true).size(), 3);

        QTreeWidget* lib = view->list(MapList::Lib);
        emit lib->itemDoubleClicked(lib->topLevelItem(0), 0);
        QCOMPARE(s.clip.text(), std::string("Sleep(LONG),PASCAL"));

        std::string started;
        view->setEditorStarter([&](const std::string&, const std::string& file) { started = file; });
        view->perform(MapList::Map, 0, MapMenu::LoadEditor);
        QCOMPARE(started, std::string("APP001.CLW"));

        const MapExport exported = view->exportToText();
        QVERIFY(exported.written);
        QCOMPARE(s.dialogs.shown.back().caption, std::string("Map Export"));
        QVERIFY(std::filesystem::exists("app.KTX"));
    }

    void noMapOrUnreadableSourceOpensNoViewer()
    {
        Setup s;
        std::ofstream("empty.clw") << "  PROGRAM\n  CODE\n";
        QVERIFY(!MapViewWindow::open(s.session, "empty.clw"));
        QCOMPARE(s.dialogs.shown.back().text, std::string("No Map Found"));
        QVERIFY(!MapViewWindow::open(s.session, "missing.clw"));
        QCOMPARE(s.dialogs.shown.back().caption, std::string("OPEN FILE ERROR"));

        std::unique_ptr<MapViewWindow> view(MapViewWindow::open(s.session, "app.clw"));
        QVERIFY(view);
        std::ofstream("app.clw") << "  PROGRAM\n  MAP\n    MODULE('B.CLW')\n      Added()\n    END\n  END\n";
        QVERIFY(view->updateFromFile());
        QCOMPARE(treeColumn(view->list(MapList::Map)), QStringList{QStringLiteral("Added()")});
    }
};

QTEST_MAIN(MapViewerWindowsTest)
#include "MapViewerWindowsTest.moc"
