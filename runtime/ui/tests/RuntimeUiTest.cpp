#include "runtime/ColorContrast.h"
#include "runtime/testing/TempDir.h"
#include "runtime/ui/DesktopLook.h"
#include "runtime/ui/FontConversion.h"
#include "runtime/ui/ProgressDialog.h"
#include "runtime/ui/QtDialogs.h"
#include "runtime/ui/QtText.h"
#include "runtime/ui/RowColors.h"
#include "runtime/ui/ToolWindow.h"
#include "runtime/ui/WindowPlacement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <condition_variable>
#include <mutex>

using namespace kestrix::runtime;

namespace {
// Presses `button` in the next message box that opens and reports what the box showed.
struct BoxAnswer
{
    QString text;
    QString caption;
    QStringList buttons;
    QString defaultButton;
};

void answerNextBox(QMessageBox::StandardButton button, BoxAnswer* seen)
{
    QTimer::singleShot(0, [button, seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        seen->text = box->text();
        seen->caption = box->windowTitle();
        for (QAbstractButton* b : box->buttons())
            seen->buttons << b->text().remove(QLatin1Char('&'));
        if (box->defaultButton())
            seen->defaultButton = box->defaultButton()->text().remove(QLatin1Char('&'));
        box->button(button)->click();
    });
}
} // namespace

class RuntimeUiTest : public QObject
{
    Q_OBJECT

private slots:
    void messageBoxShowsLinesButtonsAndDefault()
    {
        QtDialogs dialogs;
        BoxAnswer seen;
        answerNextBox(QMessageBox::No, &seen);
        const unsigned answer = dialogs.message(
            {"first|second", "INVALID KEY", MessageIcon::Question, Button::Yes | Button::No, Button::No});
        QCOMPARE(answer, Button::No);
        QCOMPARE(seen.text, QStringLiteral("first\nsecond"));
        QCOMPARE(seen.caption, QStringLiteral("INVALID KEY"));
        QCOMPARE(seen.buttons.size(), 2);
        QCOMPARE(seen.defaultButton, QStringLiteral("No"));
    }

    void renamedButtonsShowTheirTextsAndAnswerTheirPosition()
    {
        QtDialogs dialogs;
        BoxAnswer seen;
        QTimer::singleShot(0, [&seen] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (QAbstractButton* b : box->buttons())
                seen.buttons << b->text();
            seen.defaultButton = box->defaultButton()->text();
            seen.text = box->text();
            box->buttons().at(2)->click();
        });
        MessageRequest request{"line one\r\nline two|three", "Preview", MessageIcon::Question};
        request.buttonTexts = {"&Save", "&Discard", "Cancel"};
        request.defaultButton = 2;
        const unsigned answer = dialogs.message(request);
        QCOMPARE(seen.buttons, (QStringList{"&Save", "&Discard", "Cancel"}));
        QCOMPARE(seen.defaultButton, QStringLiteral("&Discard"));
        QCOMPARE(seen.text, QStringLiteral("line one\nline two\nthree"));
        QCOMPARE(answer, 3u);
    }

    void renamedButtonsAreDismissedByEscapeAndTheCloseButtonAsCancel()
    {
        QtDialogs dialogs;
        MessageRequest request{"Keep it?", "Preview", MessageIcon::Question};
        request.buttons = Button::Yes | Button::No;
        request.buttonTexts = {"&Keep", "&Drop"};
        request.defaultButton = 2;
        for (const bool escape : {true, false}) {
            QTimer::singleShot(0, [escape] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                if (escape)
                    QTest::keyClick(box, Qt::Key_Escape);
                else
                    QVERIFY(box->close());
                if (box->isVisible())
                    box->buttons().at(0)->click(); // not dismissed: answer Keep so the test ends
            });
            QCOMPARE(dialogs.message(request), 2u); // no Cancel among them: the default
        }
        // With Cancel among the renamed buttons, Escape is that button.
        request.buttons = Button::Yes | Button::No | Button::Cancel;
        request.buttonTexts = {"&Keep", "&Drop", "&Stop"};
        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QTest::keyClick(box, Qt::Key_Escape);
            if (box->isVisible())
                box->buttons().at(0)->click();
        });
        QCOMPARE(dialogs.message(request), 3u);
    }

    void fileFiltersTakeBothCases()
    {
        QCOMPARE(qtFileFilter("Programs|*.EXE;*.COM|All Files|*.*"),
                 QStringLiteral("Programs (*.EXE *.exe *.COM *.com);;All Files (*.*)"));
        QCOMPARE(qtFileFilter("KTX Dictionary (*.DIC)|*.DIC"),
                 QStringLiteral("KTX Dictionary (*.DIC) (*.DIC *.dic)"));
    }

    void textCrossesAsWindows1252()
    {
        QCOMPARE(toQt("caf\xE9 \x80"), QStringLiteral(u"café €"));
        QCOMPARE(fromQt(QStringLiteral(u"café €")), std::string("caf\xE9 \x80"));
    }

    void fontsConvertBothWays()
    {
        const FontSpec spec{"Arial", 12, 0x0000FF, FontStyle::Bold | FontStyle::Italic};
        const QFont font = toQFont(spec);
        QCOMPARE(font.family(), QStringLiteral("Arial"));
        QCOMPARE(font.pointSize(), 12);
        QVERIFY(font.bold());
        QVERIFY(font.italic());
        const FontSpec back = fromQFont(font);
        QCOMPARE(back.style & FontStyle::WeightMask, 700L);
        QVERIFY(back.style & FontStyle::Italic);
        QCOMPARE(toQColor(0x0000FF), QColor(255, 0, 0)); // 0x00BBGGRR
    }

    void toolWindowsAnswerBroadcastsAndKeepTheirPlace()
    {
        testing::TempDir dir;
        ToolRegistry registry;
        QMdiArea area;
        area.resize(800, 600);
        area.show();
        auto open = [&]() -> ToolWindow* {
            ToolWindow* window = nullptr;
            registry.start("MakeInput", [&]() -> ToolInstance* {
                window = new ToolWindow("MakeInput", registry, WindowPositionStore(IniFile("ktx5.INI")));
                window->setWidget(new QWidget);
                area.addSubWindow(window);
                window->restorePosition();
                window->show();
                return window;
            });
            return window;
        };
        ToolWindow* window = open();
        QVERIFY(window);
        QVERIFY(!open()); // activated instead
        window->setGeometry(20, 30, 300, 200);
        registry.broadcast(ToolEvent::Iconize);
        QVERIFY(window->isMinimized());
        registry.broadcast(ToolEvent::Restore);
        QVERIFY(!window->isMinimized());
        registry.broadcast(ToolEvent::Iconize);
        registry.start("MakeInput", [] { return nullptr; }); // a second start restores it
        QVERIFY(!window->isMinimized());
        QPointer<ToolWindow> guard(window);
        registry.broadcast(ToolEvent::Close);
        QTRY_VERIFY(!guard);
        QVERIFY(!registry.isRunning("MakeInput"));
        const auto stored = WindowPositionStore(IniFile("ktx5.INI")).restore("MakeInput");
        QVERIFY(stored);
        QCOMPARE(stored->width, 300);
        ToolWindow* again = open();
        QCOMPARE(again->geometry(), QRect(20, 30, 300, 200));
        again->close();
        QTRY_VERIFY(!registry.isRunning("MakeInput"));

        // A place outside today's MDI area, or a size larger than it, is brought inside.
        WindowPositionStore(IniFile("ktx5.INI")).save("MakeInput", {2132, 1332, 900, 250, false});
        ToolWindow* outside = open();
        const QRect inside = area.viewport()->rect();
        QVERIFY2(inside.contains(outside->geometry()), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                      .arg(outside->x())
                                                                      .arg(outside->y())
                                                                      .arg(outside->width())
                                                                      .arg(outside->height())));
        QCOMPARE(outside->height(), 250);
        outside->close();
    }

    void aFramePlacedOffTheScreenComesBackOnIt()
    {
        testing::TempDir dir;
        const WindowPositionStore store(IniFile("ktx5.INI"));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        store.save("Main", {screen.right() + 500, screen.bottom() + 300, screen.width() * 2, 400, false});
        QWidget frame;
        restorePlacement(&frame, store, "Main");
        QVERIFY(screen.contains(frame.geometry()));
        QCOMPARE(frame.height(), 400);
    }

    void rowColoursStayReadableOnALightAndADarkList()
    {
        for (const bool dark : {false, true}) {
            QTreeWidget list;
            QPalette palette = list.palette();
            palette.setColor(QPalette::Base, dark ? QColor(0x20, 0x20, 0x20) : QColor(Qt::white));
            palette.setColor(QPalette::Text, dark ? QColor(0xE0, 0xE0, 0xE0) : QColor(Qt::black));
            list.setPalette(palette);
            auto* black = new QTreeWidgetItem(&list, {QStringLiteral("a"), QStringLiteral("b")});
            paintRow(black, 2, 0x000000, -1);
            auto* onYellow = new QTreeWidgetItem(&list, {QStringLiteral("c")});
            paintRow(onYellow, 1, -1, 0x00FFFF);
            auto* red = new QTreeWidgetItem(&list, {QStringLiteral("d")});
            paintRow(red, 1, 0x0000FF, -1);
            auto* plain = new QTreeWidgetItem(&list, {QStringLiteral("e")});
            paintRow(plain, 1, -1, -1);
            // Black text on the dark list turns white; on the light one it stays, in every column given.
            QCOMPARE(black->foreground(0).color(), dark ? QColor(Qt::white) : QColor(Qt::black));
            QCOMPARE(black->foreground(1).color(), black->foreground(0).color());
            // The theme's text on a yellow row is dark in both.
            QCOMPARE(onYellow->foreground(0).color(), QColor(Qt::black));
            QCOMPARE(onYellow->background(0).color(), QColor(Qt::yellow));
            QCOMPARE(red->foreground(0).color(), QColor(Qt::red)); // a colour that stands out is kept
            QCOMPARE(plain->foreground(0).style(), Qt::NoBrush);   // the list's own colours
        }
    }

    void aDarkPaletteIsToldFromALightOne()
    {
        QPalette light;
        light.setColor(QPalette::Window, QColor(0xF0, 0xF0, 0xF0));
        light.setColor(QPalette::WindowText, Qt::black);
        QVERIFY(!isDarkPalette(light));
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(0x2D, 0x2D, 0x2D));
        dark.setColor(QPalette::WindowText, Qt::white);
        QVERIFY(isDarkPalette(dark));
    }

    void theDesktopsDarkPreferenceIsReadFromTheUserThePaletteAndTheGtkTheme()
    {
        struct Case
        {
            const char* own;
            bool platformDark;
            const char* gtkTheme;
            bool dark;
        };
        for (const Case& c : {Case{"", false, "", false}, Case{"", false, "Adwaita", false},
                              Case{"", false, "Adwaita:dark", true}, Case{"", false, "Yaru-Dark", true},
                              Case{"", true, "", true}, Case{" Dark ", false, "Adwaita", true},
                              Case{"light", true, "Adwaita:dark", false}, Case{"other", false, "", false}})
            QVERIFY2(desktopPrefersDark(c.own, c.platformDark, c.gtkTheme) == c.dark,
                     qPrintable(QStringLiteral("%1/%2/%3").arg(c.own).arg(c.platformDark).arg(c.gtkTheme)));
    }

    // The whole application follows a dark GTK theme; the lists' own row colours and a configured font's
    // colour are then chosen against the dark background, so nothing is drawn black on black.
    void aDarkGtkThemeGivesDarkWindowsWithReadableRows()
    {
        auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
        const QPalette before = QApplication::palette();
        const QString styleBefore = QApplication::style()->name();
        qputenv("GTK_THEME", "Adwaita:dark");
        qunsetenv(ColourSchemeVariable);
        applyDesktopLook(*application);
        qunsetenv("GTK_THEME");
        const QPalette now = QApplication::palette();
        QVERIFY(isDarkPalette(now));
        QVERIFY(now.color(QPalette::Base).lightness() < 80);

        QTreeWidget list;
        QCOMPARE(list.palette().color(QPalette::Base), now.color(QPalette::Base));
        auto* black = new QTreeWidgetItem(&list, {QStringLiteral("conflict")});
        paintRow(black, 1, 0x000000, -1);
        QCOMPARE(black->foreground(0).color(), QColor(Qt::white));
        auto* onAqua = new QTreeWidgetItem(&list, {QStringLiteral("chosen")});
        paintRow(onAqua, 1, -1, 0xFFFF00);
        QCOMPARE(onAqua->foreground(0).color(), QColor(Qt::black));
        QLabel text;
        applyFont(&text, FontSpec{"Courier", 11, 0x000000, 400});
        QVERIFY(contrastRatio(toBgr(text.palette().color(QPalette::Text)),
                              toBgr(now.color(QPalette::Base))) >= ReadableContrast);
        applyFont(&text, FontSpec{"Courier", 11, 0x00FFFF, 400}); // yellow stands out and is kept
        QCOMPARE(text.palette().color(QPalette::Text), QColor(Qt::yellow));

        // Asked for light windows, the program goes back to a light palette.
        qputenv(ColourSchemeVariable, "light");
        applyDesktopLook(*application);
        qunsetenv(ColourSchemeVariable);
        QVERIFY(!isDarkPalette(QApplication::palette()));

        QApplication::setStyle(styleBefore);
        QApplication::setPalette(before);
    }

    void aPositionIsStoredAtTheScreensScaleAndComesBackUnchanged()
    {
        testing::TempDir dir;
        const WindowPositionStore store(IniFile("ktx5.INI"));
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect area = screen->availableGeometry();
        QWidget window;
        window.setGeometry(area.x() + 30, area.y() + 40, 200, 150);
        savePlacement(&window, store, "Somewhere");
        const auto stored = store.restore("Somewhere");
        QVERIFY(stored);
        const Rect device = toDevicePixels(
            {area.x() + 30, area.y() + 40, 200, 150},
            Screen{{area.x(), area.y(), area.width(), area.height()}, screen->devicePixelRatio()});
        QCOMPARE(stored->x, device.x);
        QCOMPARE(stored->width, device.width);
        QWidget again;
        restorePlacement(&again, store, "Somewhere");
        QCOMPARE(again.geometry(), window.geometry());
    }

    // The job waits for the test's go-ahead, so what the window shows and when Cancel arrives
    // do not depend on how fast either thread runs.
    void progressShowsFilesAndRecordsAndCancelStopsTheJobAtItsNextStep()
    {
        for (const char* how : {"cancel button", "escape", "close button"}) {
            ProgressDialog progress(QStringLiteral("Loading Equates"));
            std::mutex mutex;
            std::condition_variable wake;
            bool cancelSent = false;
            bool seenCancel = false;
            int stepsAfterCancel = 0;
            int shownTwoOfFive = 0; // the window redraws once per batch of reports
            connect(&progress, &ProgressDialog::shown, &progress, [&] {
                if (progress.text() != QStringLiteral("LIBSRC\\KEYCODES.CLW") || shownTwoOfFive++)
                    return; // the step is reported last: once it shows, so does the rest
                QCOMPARE(progress.bar()->value(), 2);
                QCOMPARE(progress.bar()->maximum(), 5);
                QCOMPARE(progress.counts(), QStringLiteral("2 of 5 files, 1,234 records"));
                if (qstrcmp(how, "cancel button") == 0)
                    progress.findChild<QPushButton*>(QStringLiteral("cancel"))->click();
                else if (qstrcmp(how, "escape") == 0)
                    QTest::keyClick(&progress, Qt::Key_Escape);
                else
                    QVERIFY(!progress.close()); // refused until the job has stopped
                QVERIFY(progress.isVisible());
                QCOMPARE(progress.text(), QStringLiteral("Cancelling..."));
                const std::lock_guard lock(mutex);
                cancelSent = true;
                wake.notify_one();
            });
            progress.runJob([&](ProgressReport& report) {
                report.setFiles(2, 5);
                report.setRecords(1234);
                report.step("LIBSRC\\KEYCODES.CLW");
                std::unique_lock lock(mutex);
                wake.wait(lock, [&] { return cancelSent; });
                seenCancel = report.cancelRequested();
                if (!seenCancel)
                    ++stepsAfterCancel; // a job that was not told would go on
            });
            QVERIFY2(seenCancel, how);
            QCOMPARE(stepsAfterCancel, 0);
            QVERIFY(progress.cancelled());
            QVERIFY(progress.isHidden());
            QCOMPARE(ProgressDialog::running(), nullptr);
        }
    }
};

QTEST_MAIN(RuntimeUiTest)
#include "RuntimeUiTest.moc"
