#include "app/ui/MainWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTabBar>

#include <set>

// Menu letters yielded to the active tool window.
namespace kestrix::app {

namespace {

// The letter after a single "&", upper-cased; a null character when there is none.
QChar mnemonicLetter(const QString& text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toUpper();
        ++i; // "&&" is a plain ampersand
    }
    return {};
}

std::set<QChar> mnemonicsIn(QWidget* window)
{
    std::set<QChar> letters;
    const auto add = [&letters](const QString& text) {
        if (const QChar letter = mnemonicLetter(text); !letter.isNull())
            letters.insert(letter);
    };
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        add(b->text());
    for (QLabel* l : window->findChildren<QLabel*>()) {
        if (l->buddy())
            add(l->text());
    }
    for (QGroupBox* g : window->findChildren<QGroupBox*>())
        add(g->title());
    for (QTabBar* t : window->findChildren<QTabBar*>()) {
        for (int i = 0; i < t->count(); ++i)
            add(t->tabText(i));
    }
    for (QMenuBar* m : window->findChildren<QMenuBar*>()) {
        for (QAction* a : m->actions())
            add(a->text());
    }
    return letters;
}

} // namespace

void MainWindow::yieldMenuLettersTo(QMdiSubWindow* active)
{
    const std::set<QChar> taken = active ? mnemonicsIn(active) : std::set<QChar>{};
    for (QAction* menu : menuBar()->actions()) {
        // The menu's own text, kept from before any letter was yielded.
        QVariant own = menu->property("ownText");
        if (!own.isValid()) {
            own = menu->text();
            menu->setProperty("ownText", own);
        }
        QString text = own.toString();
        if (taken.count(mnemonicLetter(text)))
            text.remove(text.indexOf(QLatin1Char('&')), 1);
        menu->setText(text);
    }
}
} // namespace kestrix::app
