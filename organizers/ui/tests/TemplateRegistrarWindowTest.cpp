#include "organizers/ui/TemplateRegistrarWindow.h"
#include "config/ConfigRecord.h"
#include "runtime/FixedText.h"
#include "runtime/testing/ScriptedDde.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include <fstream>
#include <memory>
#include <sstream>

using namespace kestrix;
using namespace kestrix::organizers;

namespace {

const std::string SampleRoot = std::string(KESTRIX_SOURCE_DIR) + "/samples/clarion";

void click(QObject* parent, const char* name)
{
    auto* button = parent->findChild<QPushButton*>(QString::fromLatin1(name));
    QVERIFY2(button, name);
    button->click();
}

QStringList column(QTreeWidget* list, int column)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(column);
    return out;
}

std::string listFileText()
{
    std::ifstream in(TemplateListFileName, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Setup
{
    Setup() { session.configuration().setText(config::Cfg::CwPath, SampleRoot); }
    runtime::testing::TempDir dir;
    runtime::testing::ScriptedDialogs dialogs;
    runtime::MemoryClipboard clip;
    config::Session session{dialogs, clip};
    runtime::testing::ScriptedDdeServer server;
    std::unique_ptr<TemplateRegistrarWindow> open()
    {
        return std::make_unique<TemplateRegistrarWindow>(session, server.factory());
    }
};

} // namespace

class TemplateRegistrarWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void scanThenRegisterShowsTheFailureOnItsLineOnly()
    {
        Setup s;
        s.server.onExecute = [](const std::string& command) {
            return command.find("NOTEPAD.TPL") != std::string::npos
                       ? runtime::DdeResult::failure(0x4009, "Not processed")
                       : runtime::DdeResult::success();
        };
        s.server.items = {{"GetErrorNum", "3"}, {"GetErrorMsg", "NotePad: #PROCEDURE needs a family"}};
        auto window = s.open();
        QCOMPARE(window->view()->topLevelItemCount(), 0);

        click(window.get(), "scan");
        QCOMPARE(s.dialogs.captions(), std::vector<std::string>{"SCAN FOR TEMPLATE FILES"});
        QCOMPARE(column(window->view(), 1),
                 (QStringList{QStringLiteral("NOTEPAD.TPL"), QStringLiteral("KTXDEMO.TPL"),
                              QStringLiteral("WIZARD.TPL")}));
        QCOMPARE(column(window->view(), 0),
                 (QStringList{QStringLiteral("New"), QStringLiteral("New"), QStringLiteral("New")}));

        QStringList shown;
        connect(
            window.get(), &TemplateRegistrarWindow::entryShown, this,
            [&shown](int row, const QString& load) { shown << QStringLiteral("%1 %2").arg(row).arg(load); });
        click(window.get(), "registerAll");
        // The wizard goes first; the second template sent fails and only its line says so.
        QCOMPARE(column(window->view(), 0),
                 (QStringList{QStringLiteral("Err"), QStringLiteral("Done"), QStringLiteral("Done")}));
        const QStringList expected = {"2 Now", "0 Now", "1 Now", "2 Now", "2 Done",
                                      "0 Now", "0 Err", "1 Now", "1 Done"};
        QCOMPARE(shown, expected);
        QCOMPARE(s.dialogs.shown.size(), std::size_t{2});
        const runtime::MessageRequest& error = s.dialogs.shown.back();
        QCOMPARE(error.caption, std::string("DDE ERROR"));
        const std::string template_ = runtime::upper(SampleRoot) + "\\3RDPARTY\\TEMPLATE\\NOTEPAD.TPL";
        QCOMPARE(error.text,
                 "An error occured trying to Register Template|Template: " + template_ +
                     "||Error: 16393 Not processed||DDE Error: 3 NotePad: #PROCEDURE needs a family");
        QVERIFY(window->widget()->isEnabled());
    }

    void anIdeThatHangsTimesOutOneLineAndTheRestGoesOn()
    {
        Setup s;
        s.server.unanswered = [](const std::string& call) {
            return call.find("KTXDEMO.TPL") != std::string::npos || call.starts_with("request ");
        };
        std::ofstream(TemplateListFileName)
            << ">" << SampleRoot << "\\TEMPLATE\r\nKTXDEMO.TPL\r\nWIZARD.TPL\r\n";
        auto window = s.open();
        window->setTimeout(2);
        click(window.get(), "registerAll");
        QCOMPARE(column(window->view(), 0), (QStringList{QStringLiteral("Err"), QStringLiteral("Done")}));
        QCOMPARE(s.server.log.at(1), std::string("timeout 2"));
        QCOMPARE(s.dialogs.captions(), std::vector<std::string>{"DDE ERROR"});
    }

    void withoutTheIdeTheLinesKeepTheirState()
    {
        Setup s;
        s.server.running = false;
        std::ofstream(TemplateListFileName) << "C:\\C5\\TEMPLATE\\CW.TPL\r\n!!C:\\C5\\TEMPLATE\\OFF.TPL\r\n";
        auto window = s.open();
        click(window.get(), "registerAll");
        QCOMPARE(column(window->view(), 0), (QStringList{QString(), QStringLiteral("No")}));
        QCOMPARE(s.dialogs.captions(), std::vector<std::string>{"CW NOT RUNNING"});

        window->view()->setCurrentItem(window->view()->topLevelItem(1));
        click(window.get(), "registerOne"); // marked "No": said, not sent
        QCOMPARE(s.dialogs.captions().back(), std::string("Template Registrar"));
        QCOMPARE(std::count(s.server.log.begin(), s.server.log.end(), std::string("connect ClarionWin|")), 1);
    }

    void editTheListThenSaveOrCancel()
    {
        Setup s;
        std::ofstream(TemplateListFileName) << "C:\\C5\\TEMPLATE\\CW.TPL\r\n";
        auto window = s.open();
        QCOMPARE(window->findChild<QPushButton*>(QStringLiteral("add"))->toolTip(),
                 QStringLiteral("Add template file to list, Use Scan TPL for fast load"));

        s.dialogs.filesAnswers = {{"C:\\C5\\TEMPLATE\\cw.tpl", "D:\\Vendor\\Deep Folder\\vendor.tpl",
                                   SampleRoot + "/TEMPLATE/WIZARD.TPL"}};
        click(window.get(), "add");
        QCOMPARE(s.dialogs.dialogTitles, std::vector<std::string>{"Multi-Select Template Files"});
        QCOMPARE(
            column(window->view(), 2),
            (QStringList{QString::fromStdString(runtime::upper(SampleRoot) + "/TEMPLATE"),
                         QStringLiteral("C:\\C5\\TEMPLATE"), QStringLiteral("D:\\VENDOR\\DEEP FOLDER")}));
        QCOMPARE(column(window->view(), 0),
                 (QStringList{QStringLiteral("New"), QString(), QStringLiteral("New")}));

        std::vector<std::string> started;
        window->setEditorStarter([&started](const std::string& editor, const std::string& file) {
            started.push_back(editor + " " + file);
            return false;
        });
        window->view()->setCurrentItem(window->view()->topLevelItem(2));
        click(window.get(), "view");
        QCOMPARE(started, std::vector<std::string>{"Notepad D:\\VENDOR\\DEEP FOLDER\\VENDOR.TPL"});
        QCOMPARE(s.dialogs.captions().back(), std::string("Template Registrar"));

        click(window.get(), "loadToggle");
        QCOMPARE(window->view()->topLevelItem(2)->text(0), QStringLiteral("No"));
        window->view()->setCurrentItem(window->view()->topLevelItem(0));
        click(window.get(), "remove");
        QCOMPARE(window->view()->topLevelItemCount(), 2);

        // Cancel leaves the file as it was; Save writes the list and closes.
        auto second = s.open();
        click(second.get(), "cancel");
        QCOMPARE(listFileText(), std::string("C:\\C5\\TEMPLATE\\CW.TPL\r\n"));
        click(window.get(), "save");
        QVERIFY(!window->isVisible());
        QCOMPARE(listFileText(),
                 std::string("!KTX Template Registrar File\r\n!=Comments  !!=No Load\r\n\r\n"
                             "C:\\C5\\TEMPLATE\\CW.TPL\r\n!!D:\\VENDOR\\DEEP FOLDER\\VENDOR.TPL\r\n"));
    }
};

QTEST_MAIN(TemplateRegistrarWindowTest)
#include "TemplateRegistrarWindowTest.moc"
