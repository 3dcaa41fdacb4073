// The Message Maker window and `ktx message generate` edit a message through the same
// setters: the same choices must give the same code, whichever way they were made.
#include "app/tests/KtxRun.h"
#include "message/MessageMaker.h"
#include "message/MessageRecord.h"
#include "message/ui/MakeInputWindow.h"
#include "message/ui/MessageTextEdit.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"
#include "runtime/ui/testing/WidgetDriving.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include <algorithm>
#include <memory>

using namespace kestrix;
using runtime::testing::child;
using namespace kestrix::message;

namespace {

struct Choices
{
    const char* text;
    const char* caption;
    const char* icon;
    std::vector<std::string> buttons;
    const char* defaultButton; // nullptr: the one the window picks
    const char* code;
    bool loop, ifError, sound;
};

void setCheck(QObject* window, const QString& name, bool on)
{
    auto* check = child<QCheckBox>(window, name);
    if (check->isChecked() != on)
        check->click();
}

// What a user does in the window, control by control; then Generate by its menu item's id.
std::string throughTheWindow(MakeInputWindow& w, runtime::MemoryClipboard& clip, const Choices& c)
{
    QTest::keyClicks(child<QLineEdit>(&w, "title"), QString::fromLatin1(c.caption));
    auto* text = child<MessageTextEdit>(&w, "text");
    text->setFocus();
    QTest::keyClicks(text, QString::fromLatin1(c.text));
    auto* icon = child<QComboBox>(&w, "icon");
    icon->setCurrentIndex(icon->findText(QString::fromLatin1(c.icon)));
    emit icon->activated(icon->currentIndex());
    const auto wanted = [&](int index) {
        return std::find(c.buttons.begin(), c.buttons.end(), standardButton(index).name) != c.buttons.end();
    };
    for (const bool checking : {false, true}) { // unchecked first, then the new ones
        for (int index = 1; index <= Mes::ButtonCount; ++index) {
            if (wanted(index) == checking)
                setCheck(&w, QStringLiteral("button%1").arg(index), checking);
        }
    }
    if (c.defaultButton) {
        for (int choice = 1; choice <= DefaultChoiceCount; ++choice) {
            auto* radio = child<QRadioButton>(&w, QStringLiteral("default%1").arg(choice));
            if (radio->isVisible() && radio->text() == QString::fromLatin1(c.defaultButton))
                radio->click();
        }
    }
    child<QRadioButton>(&w, QStringLiteral("code") + QString::fromLatin1(c.code))->click();
    setCheck(&w, QStringLiteral("loop"), c.loop);
    setCheck(&w, QStringLiteral("ifError"), c.ifError);
    setCheck(&w, QStringLiteral("sound"), c.sound);

    const auto menu = w.maker().contextMenu();
    const auto item = std::find_if(menu.begin(), menu.end(), [](const runtime::MenuItem& i) {
        return i.id == static_cast<int>(MakerCommand::Generate);
    });
    if (item == menu.end() || !item->enabled)
        return "no Generate item";
    w.runCommand(static_cast<MakerCommand>(item->id));
    std::string code = clip.text();
    for (std::size_t at; (at = code.find("\r\n")) != std::string::npos;)
        code.erase(at, 1);
    return code + "\n";
}

std::vector<std::string> ktxArguments(const std::string& dataDir, const Choices& c)
{
    std::string buttons;
    for (const std::string& b : c.buttons)
        buttons += (buttons.empty() ? "" : ",") + b;
    const auto onOff = [](bool on) { return std::string(on ? "on" : "off"); };
    std::vector<std::string> args = {
        "--data-dir", dataDir,       "message",   "generate",       "--text",  c.text,        "--caption",
        c.caption,    "--icon",      c.icon,      "--buttons",      buttons,   "--code",      c.code,
        "--loop",     onOff(c.loop), "--iferror", onOff(c.ifError), "--sound", onOff(c.sound)};
    if (c.defaultButton)
        args.insert(args.end(), {"--default", c.defaultButton});
    return args;
}

} // namespace

class MakerCliParityTest : public QObject
{
    Q_OBJECT

private slots:
    void theWindowAndTheCommandLineGiveTheSameCode()
    {
        const Choices cases[] = {
            {"Delete {Name}?", "Confirm", "Question", {"Yes", "No"}, nullptr, "Case", false, false, true},
            {"Saved.", "Done", "Asterisk", {"OK"}, nullptr, "None", false, false, false},
            {"Retry?|Or not",
             "Oops {Who}",
             "Exclamation",
             {"Abort", "Retry", "Ignore", "Cancel", "Help"},
             "Ignore",
             "If",
             true,
             true,
             true},
            {"Pick one", "", "Hand", {"OK", "Cancel"}, "Cancel", "Case", false, true, false},
            {"Can't <stop>", "Q", "None", {"Yes", "No", "Cancel"}, "No", "None", true, false, true},
        };
        for (const Choices& c : cases) {
            runtime::testing::TempDir dir;
            runtime::testing::ScriptedDialogs dialogs;
            runtime::MemoryClipboard clip;
            config::Session session{dialogs, clip};
            std::unique_ptr<MakeInputWindow> window{MakeInputWindow::open(session)};
            QVERIFY(window);
            window->show();
            const std::string fromWindow = throughTheWindow(*window, clip, c);
            const testing::KtxRun run = testing::ktx(ktxArguments(dir.path().string(), c));
            QCOMPARE(run.code, 0);
            QCOMPARE(run.err, std::string());
            QCOMPARE(run.out, fromWindow);
        }
    }
};

QTEST_MAIN(MakerCliParityTest)
#include "MakerCliParityTest.moc"
