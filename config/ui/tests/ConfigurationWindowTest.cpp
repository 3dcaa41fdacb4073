#include "config/ui/ConfigurationWindow.h"
#include "config/ClipboardKeeper.h"
#include "config/ConfigurationForm.h"
#include "runtime/testing/RequireOk.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <QCheckBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

#include <filesystem>
#include <fstream>

using namespace kestrix;
using runtime::testing::ScriptedDialogs;

namespace {
// A new configuration file in a temporary data directory.
struct ConfigFile
{
    runtime::testing::TempDir dir;
    runtime::KeyedFile file{"config5.tps", config::configLayout()};
    ScriptedDialogs dialogs;
    ConfigFile(const char* makeFolder = nullptr)
    {
        if (makeFolder)
            std::filesystem::create_directories(makeFolder);
        kestrix::runtime::testing::requireOk(file.create(), "file.create()");
        kestrix::runtime::testing::requireOk(file.open(), "file.open()");
    }
    runtime::WindowPositionStore positions() const
    {
        return runtime::WindowPositionStore(runtime::IniFile("ktx5.INI"));
    }
};
} // namespace

class ConfigurationWindowTest : public QObject
{
    Q_OBJECT

    template <class T> static T* child(QWidget& w, const char* name)
    {
        T* found = w.findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }

    static void type(QLineEdit* edit, const QString& text)
    {
        edit->setText(text);
        emit edit->editingFinished();
    }

private slots:
    void firstRunShowsTheDefaultsInItsTabs()
    {
        ConfigFile c;
        runtime::KeyedFile& file = c.file;
        ScriptedDialogs& dialogs = c.dialogs;
        config::ConfigurationWindow window(file, dialogs, c.positions());
        QCOMPARE(window.windowTitle(), QStringLiteral("Configuration Update"));
        QStringList tabs;
        for (int i = 0; i < window.tabs()->count(); ++i)
            tabs << window.tabs()->tabText(i);
        QCOMPARE(tabs, (QStringList{"&General", "&Message", "&Dictionary", "&Stick Note", "&Look", "&Feel",
                                    "&Keys"}));
        QCOMPARE(child<QLineEdit>(window, "BTN")->text(), QStringLiteral("Btn#"));
        QCOMPARE(child<QLineEdit>(window, "EDITOR")->text(), QStringLiteral("Notepad"));
        QCOMPARE(child<QLineEdit>(window, "NESTINDENT")->text(), QStringLiteral("3"));
        QVERIFY(child<QCheckBox>(window, "ENDCOMMENT")->isChecked());
        QVERIFY(child<QCheckBox>(window, "DEFAULTALWAYS")->isChecked());
        QVERIFY(child<QCheckBox>(window, "PLAYDEFAULTSOUND")->isChecked());
        QCOMPARE(child<QLineEdit>(window, "TABCHAR")->text(), QStringLiteral("`"));
        QCOMPARE(child<QLineEdit>(window, "BTN")->maxLength(), 12);
        QCOMPARE(child<QTreeWidget>(window, "fonts")->topLevelItem(5)->text(1), QStringLiteral("Default, 8"));
        // Every tab caption shows whole in the window's own size.
        window.show();
        QTabBar* bar = window.tabs()->tabBar();
        for (int i = 0; i < bar->count(); ++i) {
            const QString shown = bar->tabText(i).remove(QLatin1Char('&'));
            QVERIFY2(bar->tabRect(i).width() >= bar->fontMetrics().horizontalAdvance(shown),
                     qPrintable(shown));
            QVERIFY2(bar->rect().contains(bar->tabRect(i)), qPrintable(shown));
        }
    }

    void returnOnAValueOutOfRangeNamesThePromptAndKeepsTheWindow()
    {
        ConfigFile c("Clarion/LibSrc");
        config::ConfigurationWindow window(c.file, c.dialogs, c.positions());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* nest = child<QLineEdit>(window, "NESTINDENT");
        nest->setFocus();
        nest->selectAll();
        QTest::keyClicks(nest, QStringLiteral("11"));
        QTest::keyClick(nest, Qt::Key_Return);
        QCOMPARE(c.dialogs.shown.size(), std::size_t(1)); // once, not again for OK
        QCOMPARE(c.dialogs.shown[0].text, std::string("The value of Nest Indent must be between 1 and 10."));
        QVERIFY(window.isVisible()); // Return did not take the value as OK
        QCOMPARE(c.file.records(), 0);
        QCOMPARE(QApplication::focusWidget(), nest);
    }

    void valuesAreCheckedAsTheyAreAcceptedAndOnOk()
    {
        ConfigFile c("Clarion/LibSrc");
        runtime::KeyedFile& file = c.file;
        ScriptedDialogs& dialogs = c.dialogs;
        config::ConfigurationWindow window(file, dialogs, c.positions());

        type(child<QLineEdit>(window, "INDENT"), QStringLiteral("31"));
        QCOMPARE(dialogs.shown.size(), size_t(1));
        QCOMPARE(dialogs.shown[0].text, std::string("The value of Initial Indent must be between 0 and 30."));
        window.accept(); // still 31: refused again, nothing written
        QCOMPARE(file.records(), 0);
        QCOMPARE(window.result(), int(QDialog::Rejected));

        type(child<QLineEdit>(window, "INDENT"), QStringLiteral("0"));
        type(child<QLineEdit>(window, "CWPATH"), QStringLiteral("Nowhere\\"));
        QCOMPARE(dialogs.shown.back().caption, std::string("INVALID CLARION PATH"));
        QCOMPARE(dialogs.beeps, 1);
        type(child<QLineEdit>(window, "CWPATH"), QStringLiteral("Clarion\\"));
        QCOMPARE(child<QLineEdit>(window, "CWPATH")->text(), QStringLiteral("Clarion"));
        type(child<QLineEdit>(window, "TABCHAR"), QStringLiteral("q"));
        QCOMPARE(child<QLineEdit>(window, "TABCHAR")->text(), QStringLiteral("`"));

        child<QTreeWidget>(window, "fonts")
            ->setCurrentItem(child<QTreeWidget>(window, "fonts")->topLevelItem(5));
        child<QPushButton>(window, "rowFixed")->click();
        QCOMPARE(child<QTreeWidget>(window, "fonts")->topLevelItem(5)->text(1),
                 QStringLiteral("Fixedsys, 9"));
        child<QPushButton>(window, "checkAll")->click();
        QVERIFY(child<QCheckBox>(window, "LOOK_BOLD_12")->isChecked());

        dialogs.fontAnswers.push_back(runtime::FontSpec{"Arial", 10, 0, 700});
        child<QPushButton>(window, "noteFontButton")->click();
        QCOMPARE(dialogs.dialogTitles.back(), std::string("Select Font for Stick Note"));
        QCOMPARE(child<QLabel>(window, "noteFont")->text(), QStringLiteral("Arial, 10"));

        QSignalSpy tips(&window, &config::ConfigurationWindow::toolTipsSwitched);
        child<QCheckBox>(window, "NOTIPS")->setChecked(true);
        QCOMPARE(tips.count(), 1); // at once, before OK

        window.accept();
        QCOMPARE(window.result(), int(QDialog::Accepted));
        const auto stored = config::readConfiguration(file);
        QVERIFY(stored);
        QCOMPARE(stored->text(config::Cfg::CwPath), std::string("Clarion"));
        QCOMPARE(stored->text(config::Cfg::LookFont, 6), std::string("Fixedsys"));
        QCOMPARE(stored->number(config::Cfg::LookBold, 1), 1);
        QCOMPARE(stored->number(config::Cfg::NoTips), 1);
        QCOMPARE(stored->text(config::Cfg::NoteFont), std::string("Arial"));
    }

    void aFontNameLongerThanItsFieldIsRefusedAndTheOldFontKept()
    {
        ConfigFile c;
        config::ConfigurationWindow window(c.file, c.dialogs, c.positions());
        const std::string longName(33, 'W');
        auto* fonts = child<QTreeWidget>(window, "fonts");
        fonts->setCurrentItem(fonts->topLevelItem(2));
        c.dialogs.fontAnswers.push_back(runtime::FontSpec{longName, 10, 0, 400});
        child<QPushButton>(window, "rowFont")->click();
        QCOMPARE(c.dialogs.shown.size(), std::size_t(1));
        QCOMPARE(
            c.dialogs.shown[0].text,
            std::string("CFG:LOOK:FONT[3] holds at most 32 characters, not 33.|The font stays Default."));
        QCOMPARE(fonts->topLevelItem(2)->text(1), QStringLiteral("Default, 8"));

        c.dialogs.fontAnswers.push_back(runtime::FontSpec{longName, 12, 0, 400});
        const QString noteBefore = child<QLabel>(window, "noteFont")->text();
        child<QPushButton>(window, "noteFontButton")->click();
        QCOMPARE(c.dialogs.shown.size(), std::size_t(2));
        QVERIFY2(c.dialogs.shown[1].text.find("CFG:NOTE:FONT holds at most") == 0,
                 c.dialogs.shown[1].text.c_str());
        QCOMPARE(child<QLabel>(window, "noteFont")->text(), noteBefore);

        window.accept();
        const auto stored = config::readConfiguration(c.file);
        QVERIFY(stored);
        QCOMPARE(stored->text(config::Cfg::LookFont, 3), std::string("Default"));
        QVERIFY(stored->text(config::Cfg::NoteFont) != longName.substr(0, 32));
    }

    void helpAsksForItsTopic()
    {
        ConfigFile c;
        runtime::KeyedFile& file = c.file;
        ScriptedDialogs& dialogs = c.dialogs;
        config::ConfigurationWindow window(file, dialogs, c.positions());
        QSignalSpy help(&window, &config::ConfigurationWindow::helpRequested);
        for (QPushButton* b : window.findChildren<QPushButton*>()) {
            if (b->text() == QStringLiteral("Help"))
                b->click();
        }
        QCOMPARE(help.count(), 1);
        QCOMPARE(help.at(0).at(0).toString(), QStringLiteral("~Configuration"));
    }

    void theKeysTabRefusesAClashNamingBothAndOkStoresTheKeys()
    {
        ConfigFile c;
        config::ConfigurationWindow window(c.file, c.dialogs, c.positions());
        window.setToolKeys({{"MakeInput", "Message Maker", "Ctrl+Shift+M"},
                            {"StringFmt", "String Builder", "Ctrl+Shift+S"}});
        auto* keys = child<QTreeWidget>(window, "keys");
        auto* edit = child<QKeySequenceEdit>(window, "keyEdit");
        QCOMPARE(keys->topLevelItem(1)->text(0), QStringLiteral("String Builder"));
        QCOMPARE(keys->topLevelItem(1)->text(1), QStringLiteral("Ctrl+Shift+S"));
        keys->setCurrentItem(keys->topLevelItem(1));
        QCOMPARE(edit->keySequence(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));

        edit->setKeySequence(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
        child<QPushButton>(window, "useKey")->click();
        QCOMPARE(c.dialogs.shown.size(), size_t(1));
        QCOMPARE(c.dialogs.shown[0].caption, std::string("KEY NOT AVAILABLE"));
        QCOMPARE(c.dialogs.shown[0].text,
                 std::string("Ctrl+Shift+M cannot start String Builder: it already starts Message Maker."));
        QCOMPARE(keys->topLevelItem(1)->text(1), QStringLiteral("Ctrl+Shift+S"));
        QCOMPARE(edit->keySequence(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
        edit->setKeySequence(QKeySequence(Qt::CTRL | Qt::Key_K));
        child<QPushButton>(window, "useKey")->click();
        QCOMPARE(c.dialogs.shown.back().text,
                 std::string("Ctrl+K cannot start String Builder: it is the frame's key for Find anything."));

        edit->setKeySequence(QKeySequence(Qt::Key_F7));
        child<QPushButton>(window, "useKey")->click();
        QCOMPARE(c.dialogs.shown.size(), size_t(2));
        QCOMPARE(keys->topLevelItem(1)->text(1), QStringLiteral("F7"));
        keys->setCurrentItem(keys->topLevelItem(0));
        child<QPushButton>(window, "removeKey")->click();
        QCOMPARE(keys->topLevelItem(0)->text(1), QString());
        QVERIFY(!c.positions().ini().hasEntry("Main", "StringFmtShortcut")); // nothing before OK

        window.accept();
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(c.positions().ini().value("Main", "StringFmtShortcut"), std::string("F7"));
        QCOMPARE(c.positions().ini().value("Main", "MakeInputShortcut", "unset"), std::string(""));
        QCOMPARE(window.shortcuts().keyOf("StringFmt"), std::string("F7"));
    }

    void exportAndImportGoThroughTheWindowAndImportWaitsForOk()
    {
        ConfigFile c;
        config::ConfigurationWindow window(c.file, c.dialogs, c.positions());
        window.setToolKeys({{"MakeInput", "Message Maker", "Ctrl+Shift+M"}});
        c.positions().ini().setValue("Main", "XPosit", "12");
        type(child<QLineEdit>(window, "INDENT"), QStringLiteral("9"));
        window.setExportTargetChooser([] { return std::optional<std::string>("out.ini"); });
        child<QPushButton>(window, "exportSettings")->click();
        const config::SettingsImport exported = config::readSettings("out.ini", config::defaultConfig());
        QVERIFY2(exported.ok(), exported.error.c_str());
        QCOMPARE(exported.config->number(config::Cfg::Indent), 9); // what the window shows, not yet saved

        std::ofstream("bad.ini") << "[Configuration]\nINDENT=4\nNESTINDENT=0\n";
        c.dialogs.fileAnswers.push_back("bad.ini");
        child<QPushButton>(window, "importSettings")->click();
        QCOMPARE(c.dialogs.shown.back().caption, std::string("INVALID SETTINGS"));
        QVERIFY2(c.dialogs.shown.back().text.rfind("[Configuration] NESTINDENT: ", 0) == 0,
                 c.dialogs.shown.back().text.c_str());
        QCOMPARE(child<QLineEdit>(window, "INDENT")->text(), QStringLiteral("9"));

        std::ofstream("good.ini")
            << "[Configuration]\nNESTINDENT=6\n[Window:ClipView]\nXPosit=40\n"
               "[Window:Main]\nMakeInputShortcut=F9\n[List:EquateBrowse]\nVersionNumber=2\n";
        c.dialogs.fileAnswers.push_back("good.ini");
        child<QPushButton>(window, "importSettings")->click();
        QCOMPARE(child<QLineEdit>(window, "NESTINDENT")->text(), QStringLiteral("6"));
        QCOMPARE(child<QLineEdit>(window, "INDENT")->text(), QStringLiteral("9"));
        QCOMPARE(child<QTreeWidget>(window, "keys")->topLevelItem(0)->text(1), QStringLiteral("F9"));
        QVERIFY(!c.positions().ini().hasEntry("ClipView", "XPosit"));

        window.accept();
        QCOMPARE(window.result(), int(QDialog::Accepted));
        const auto stored = config::readConfiguration(c.file);
        QVERIFY(stored);
        QCOMPARE(stored->number(config::Cfg::NestIndent), 6);
        QCOMPARE(c.positions().ini().value("ClipView", "XPosit"), std::string("40"));
        QCOMPARE(c.positions().ini().value("Main", "MakeInputShortcut"), std::string("F9"));
        QCOMPARE(runtime::IniFile("KTX.INI").value("EquateBrowse", "VersionNumber"), std::string("2"));
    }

    void keepingTheClipboardQueueIsAnOptionOfTheFeelTab()
    {
        ConfigFile c;
        config::ConfigurationWindow window(c.file, c.dialogs, c.positions());
        auto* keep = child<QCheckBox>(window, "FUT_BYTES_1");
        QCOMPARE(keep->text(), QStringLiteral("Keep the Clipboard &Queue for the next start"));
        QVERIFY(!keep->isChecked());
        keep->setChecked(true);
        window.accept();
        const auto stored = config::readConfiguration(c.file);
        QVERIFY(stored);
        QVERIFY(config::keepsClipboardQueue(*stored));
    }
};

QTEST_MAIN(ConfigurationWindowTest)
#include "ConfigurationWindowTest.moc"
