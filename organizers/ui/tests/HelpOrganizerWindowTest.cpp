#include "organizers/ui/HelpOrganizerWindow.h"
#include "config/ConfigRecord.h"
#include "config/Session.h"
#include "data/DataFileNames.h"
#include "data/DataFileRegistry.h"
#include "organizers/HelpList.h"
#include "organizers/ui/OrganizerTools.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/ScriptedLauncher.h"
#include "runtime/testing/TempDir.h"
#include "runtime/ui/BrowseList.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/ProgressDialog.h"
#include "runtime/ui/ToolShelf.h"
#include "runtime/ui/testing/WidgetDriving.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTimer>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

using namespace kestrix;
using namespace kestrix::organizers;
using namespace kestrix::runtime::testing;
namespace fs = std::filesystem;

namespace {

void touch(const fs::path& p)
{
    fs::create_directories(p.parent_path());
    std::ofstream(p) << "x";
}

// The scripted answers, with a hand on the progress window: when a box with the given
// caption comes up during a job, the job is asked to stop, as the Cancel button does.
class CancellingDialogs final : public runtime::DialogService
{
public:
    explicit CancellingDialogs(runtime::testing::ScriptedDialogs& script) : m_script(script) {}
    unsigned message(const runtime::MessageRequest& request) override
    {
        if (request.caption == cancelAt && runtime::ProgressDialog::running())
            runtime::ProgressDialog::running()->reject();
        return m_script.message(request);
    }
    std::optional<std::string> openFile(const runtime::FileDialogRequest& request) override
    {
        return m_script.openFile(request);
    }
    std::optional<std::string> chooseDirectory(const std::string& title, const std::string& start) override
    {
        return m_script.chooseDirectory(title, start);
    }
    std::optional<runtime::FontSpec> chooseFont(const std::string& title,
                                                const runtime::FontSpec& start) override
    {
        return m_script.chooseFont(title, start);
    }
    void beep() override { m_script.beep(); }
    void playSound(runtime::SystemSound sound) override { m_script.playSound(sound); }

    std::string cancelAt;

private:
    runtime::testing::ScriptedDialogs& m_script;
};

struct Setup
{
    Setup()
    {
        session.configuration().setText(config::Cfg::CwPath, root);
        window = std::make_unique<HelpOrganizerWindow>(session, *list.file());
        window->setAttribute(Qt::WA_DeleteOnClose, false); // the test owns it
        window->setLauncher(launcher);
        window->show();
    }

    QStringList column(int c = 0) const
    {
        QStringList out;
        for (int i = 0; i < window->list()->topLevelItemCount(); ++i) {
            if (!window->list()->topLevelItem(i)->isHidden())
                out << window->list()->topLevelItem(i)->text(c);
        }
        return out;
    }
    void add(const HelpEntry& e)
    {
        HelpOrganizer organizer(*list.file(), dialogs);
        QVERIFY(organizer.add(e));
    }

    runtime::testing::TempDir dir;
    std::string root = (dir.path() / "CW").string();
    runtime::testing::ScriptedDialogs dialogs;
    CancellingDialogs front{dialogs};
    runtime::testing::ScriptedLauncher launcher;
    config::Session session{front};
    data::DataFileUse list{session.files(), data::FileName::HelpList, helpListLayout()};
    std::unique_ptr<HelpOrganizerWindow> window;
};

} // namespace

class HelpOrganizerWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void tabsShowTheirEntriesAndViewOpensTheFile()
    {
        Setup s;
        touch(fs::path(s.root) / "BIN" / "C5HELP.HLP");
        touch(fs::path(s.root) / "LIBSRC" / "EQUATES.CLW");
        s.add({'H', "Clarion Help", "C5HELP.HLP", s.root + "\\BIN"});
        s.add({'S', "Equates", "EQUATES.CLW", s.root + "\\LIBSRC"});
        s.add({'S', "Abc errors", "ABERRORS.INC", s.root + "\\LIBSRC"});
        s.window->reload();

        QCOMPARE(s.window->windowTitle(), QStringLiteral("Help Organizer"));
        QTabBar* tabs = s.window->tabs();
        QCOMPARE(tabs->count(), 5);
        QCOMPARE(tabs->tabText(4), QStringLiteral("Te&mplate"));
        QCOMPARE(s.window->list()->headerItem()->text(2), QStringLiteral("Path"));
        QCOMPARE(child<QPushButton>(s.window.get(), "scan")->toolTip(),
                 QStringLiteral("Scan CW Subdirectories for Help Files"));
        QCOMPARE(s.column(), QStringList{QStringLiteral("Clarion Help")});

        tabs->setCurrentIndex(2);
        QCOMPARE(s.window->currentType(), 'S');
        QCOMPARE(s.column(), (QStringList{QStringLiteral("Abc errors"), QStringLiteral("Equates")}));
        QCOMPARE(s.column(2).at(1), QString::fromStdString(s.root + "\\LIBSRC"));

        s.session.configuration().setText(config::Cfg::Editor, "gedit");
        s.window->list()->setCurrentRow(1);
        click(s.window.get(), "view");
        QCOMPARE(s.launcher.programs.size(), std::size_t(1));
        QCOMPARE(s.launcher.programs[0].front(), std::string("gedit"));
        QCOMPARE(s.launcher.programs[0].back(), (fs::path(s.root) / "LIBSRC" / "EQUATES.CLW").string());

        tabs->setCurrentIndex(0);
        emit s.window->list()->activated(0); // a double-click views too
        QCOMPARE(s.launcher.documents,
                 std::vector<std::string>{(fs::path(s.root) / "BIN" / "C5HELP.HLP").string()});
        QVERIFY(s.dialogs.shown.empty());

        // F1 asks for the window's page.
        QString topic;
        runtime::setHelpHandler([&topic](const QString& t) { topic = t; });
        QShortcut* help = s.window->findChild<QShortcut*>();
        QVERIFY(help);
        emit help->activated();
        QCOMPARE(topic, QStringLiteral("~Help_Organizer"));
        runtime::setHelpHandler({});
    }

    void viewOfAVanishedFileSaysSo()
    {
        Setup s;
        const fs::path doc = fs::path(s.root) / "DOCS" / "README.TXT";
        touch(doc);
        s.add({'X', "Read me", "README.TXT", s.root + "\\DOCS"});
        s.window->tabs()->setCurrentIndex(1);
        QCOMPARE(s.column(), QStringList{QStringLiteral("Read me")});
        fs::remove(doc);
        click(s.window.get(), "view");
        QCOMPARE(s.dialogs.shown.size(), std::size_t(1));
        QCOMPARE(s.dialogs.shown[0].text, "The file " + s.root +
                                              "\\DOCS\\README.TXT is no longer there.||Scan "
                                              "Hlp takes entries whose file is gone off the list.");
        QVERIFY(s.launcher.programs.empty() && s.launcher.documents.empty());
        QCOMPARE(s.column(), QStringList{QStringLiteral("Read me")}); // the entry stays until a scan
    }

    void insertChangeAndDeleteThroughTheUpdateWindow()
    {
        Setup s;
        s.window->tabs()->setCurrentIndex(4);
        const std::string chosen = s.root + "\\TEMPLATE\\a-template-with-a-long-name.TPL";
        s.dialogs.fileAnswers = {chosen};
        onNextDialog([](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Adding to Help List"));
            auto* tab = child<QComboBox>(d, "tab");
            QCOMPARE(tab->currentText(), QStringLiteral("Template")); // the tab the window shows
            QCOMPARE(tab->count(), 5);
            QLineEdit* name = child<QLineEdit>(d, "name");
            QCOMPARE(name->maxLength(), HelpNameLength);
            QTest::keyClicks(name, QStringLiteral("Our templates"));
            click(d, "lookup");
            QCOMPARE(child<QLineEdit>(d, "file")->text(), QStringLiteral("a-template-with-a-long-name.TPL"));
            click(d, "ok");
        });
        click(s.window.get(), "insert");
        QCOMPARE(s.dialogs.dialogTitles, std::vector<std::string>{"Lookup File"});
        QCOMPARE(s.column(), QStringList{QStringLiteral("Our templates")});
        QCOMPARE(s.column(1), QStringList{QStringLiteral("a-template-with-a-long-name.TPL")});
        QCOMPARE(s.column(2), QStringList{QString::fromStdString(s.root + "\\TEMPLATE")});

        // A blank name is refused, and the window stays for a fix.
        onNextDialog([&s](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Changing Help List"));
            child<QLineEdit>(d, "name")->clear();
            click(d, "ok");
            QVERIFY(d->isVisible());
            QCOMPARE(s.dialogs.shown.back().text, std::string("A help list entry needs a name and a file."));
            child<QLineEdit>(d, "name")->setText(QStringLiteral("Moved"));
            child<QComboBox>(d, "tab")->setCurrentIndex(0);
            click(d, "ok");
        });
        click(s.window.get(), "change");
        QCOMPARE(s.window->tabs()->currentIndex(), 0); // the window follows the entry to its tab
        QCOMPARE(s.column(), QStringList{QStringLiteral("Moved")});
        QVERIFY(s.session.windowsIni().hasEntry("HelpUpdate", "XPosit"));

        s.dialogs.answers = {runtime::Button::Cancel};
        click(s.window.get(), "delete");
        QCOMPARE(s.column(), QStringList{QStringLiteral("Moved")});
        s.dialogs.answers = {runtime::Button::Ok};
        click(s.window.get(), "delete");
        QVERIFY(s.column().isEmpty());
        QCOMPARE(s.list.file()->records(), std::int64_t(0));
    }

    void scanAsksThenReportsAndCanBeCancelled()
    {
        Setup s;
        touch(fs::path(s.root) / "BIN" / "C5HELP.HLP");
        touch(fs::path(s.root) / "BIN" / "BACKUP" / "OLD.HLP");
        touch(fs::path(s.root) / "EXAMPLES" / "EX.HLP");
        std::ofstream("HelpLis5.TXT") << "PATH=%CW%\\BIN\nC5HELP.HLP         Clarion Help\n";
        s.add({'X', "Kept", "KEPT.TXT", s.root});
        touch(fs::path(s.root) / "KEPT.TXT");

        s.dialogs.answers = {4}; // Cancel: nothing happens
        click(s.window.get(), "scan");
        QCOMPARE(s.dialogs.shown.size(), std::size_t(1));
        QCOMPARE(s.dialogs.shown[0].buttonTexts,
                 (std::vector<std::string>{"&No", "&HLP Files", "&All Files", "Cancel"}));
        QCOMPARE(s.list.file()->records(), std::int64_t(1));

        s.dialogs.shown.clear();
        s.dialogs.answers = {1, runtime::Button::Yes}; // keep the list; enter EXAMPLES
        click(s.window.get(), "scan");
        QCOMPARE(s.dialogs.captions(),
                 (std::vector<std::string>{"Scan For Files", "EXAMPLE FILES", "SCAN FOR FILES"}));
        QCOMPARE(s.dialogs.shown.back().text,
                 std::string(
                     "2 files found and added to list.||1 Bak/Sav/Old/$$$/Backup Directories were omited."));
        QCOMPARE(s.column(), (QStringList{QStringLiteral("Clarion Help"), QStringLiteral("EX.HLP")}));
        QVERIFY(s.window->isEnabled() && s.window->list()->isEnabled());

        // Everything cleared, and Cancel pressed while the walk asks about EXAMPLES: what was
        // found before stays, and the user is told the scan stopped.
        s.dialogs.shown.clear();
        s.front.cancelAt = "EXAMPLE FILES";
        s.dialogs.answers = {3, runtime::Button::Yes};
        click(s.window.get(), "scan");
        QCOMPARE(s.dialogs.captions(),
                 (std::vector<std::string>{"Scan For Files", "EXAMPLE FILES", "SCAN FOR FILES"}));
        QVERIFY(s.dialogs.shown.back().text.rfind("The scan was cancelled", 0) == 0);
        QCOMPARE(s.column(), (QStringList{QStringLiteral("Clarion Help")}));
        s.window->tabs()->setCurrentIndex(1);
        QVERIFY(s.column().isEmpty()); // "&All Files" took the text entry too
    }

    void columnWidthsAreKeptAndTheToolOpensOnce()
    {
        Setup s;
        s.window->list()->setColumnWidth(0, 123);
        s.window->close();
        const runtime::IniFile lists = s.session.listsIni();
        QCOMPARE(lists.path().filename().string(), std::string("KTX.INI"));
        QCOMPARE(lists.value("HelpBrowse", "VersionNumber"), std::string("1"));
        QVERIFY(lists.value("HelpBrowse", "ListColumnWidths").rfind("123", 0) == 0);
        QVERIFY(lists.hasEntry("HelpBrowse", "ListGroupWidths"));
        HelpOrganizerWindow again(s.session, *s.list.file());
        again.setAttribute(Qt::WA_DeleteOnClose, false);
        QCOMPARE(again.list()->columnWidth(0), 123);
        again.close();

        runtime::ToolShelf shelf;
        registerOrganizerTools(shelf, s.session);
        const runtime::ToolRegistration* tool = shelf.find("HelpBrowse");
        QVERIFY(tool && tool->open);
        QCOMPARE(tool->spec.menuText, std::string("&Help Organizer"));
        QCOMPARE(tool->spec.icon, std::string("TBHELPLS"));
        s.session.tools().setSingleThreadOnly(false); // even then, one list has one window
        std::vector<std::unique_ptr<runtime::ToolWindow>> opened;
        const auto start = [&] {
            return s.session.tools().start("HelpBrowse", [&]() -> runtime::ToolInstance* {
                runtime::ToolWindow* w = tool->open(runtime::StartReason::FromMenu);
                if (w) {
                    w->setAttribute(Qt::WA_DeleteOnClose, false);
                    opened.emplace_back(w);
                }
                return w;
            });
        };
        QCOMPARE(start(), runtime::ToolRegistry::StartOutcome::Started);
        QCOMPARE(start(), runtime::ToolRegistry::StartOutcome::Refused);
        QCOMPARE(opened.size(), std::size_t(1));
        QCOMPARE(s.session.tools().openCount(), std::size_t(1));
        opened.clear();
    }
};

QTEST_MAIN(HelpOrganizerWindowTest)
#include "HelpOrganizerWindowTest.moc"
