// The floor of a GUI start: a bare Qt Widgets main window with a menu bar and a
// toolbar of icons, shown, painted once and closed as soon as the event loop runs,
// as `kestrix --exit-after-start` does.
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QPixmap>
#include <QTimer>
#include <QToolBar>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.setCentralWidget(new QMdiArea(&window));
    const char* menus[] = {"&File", "&Tools", "&Dictionary", "&Settings", "&Window", "&Help"};
    QToolBar* toolbar = window.addToolBar(QStringLiteral("Tools"));
    // Plain pictures: the style's own icons decode a dozen PNG files each, which no floor should.
    int picture = 0;
    for (const char* title : menus) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromLatin1(title));
        for (int item = 0; item < 6; ++item) {
            QAction* action = menu->addAction(QStringLiteral("Item %1").arg(item + 1));
            QPixmap pixmap(16, 16);
            pixmap.fill(QColor::fromHsv((picture++ * 37) % 360, 200, 160));
            action->setIcon(QIcon(pixmap));
            if (item < 3)
                toolbar->addAction(action);
        }
    }
    window.resize(800, 600);
    window.show();
    // Painted once before the event loop, as a start that shows a splash screen is: without this the
    // window would close before its first paint, and the floor would be a start that never shows.
    QCoreApplication::processEvents();
    QTimer::singleShot(0, &window, &QWidget::close);
    return application.exec();
}
