#pragma once

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

// Small helpers the window tests share to drive real widgets by their object names.
namespace kestrix::runtime::testing {

// Runs `step` on the modal dialog that the next call opens; a failed check closes it.
inline void onNextDialog(std::function<void(QDialog*)> step)
{
    QTimer::singleShot(0, [step] {
        QPointer<QDialog> dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY2(dialog, "no modal dialog opened");
        [&] { step(dialog); }();
        if (dialog && dialog->isVisible() && QTest::currentTestFailed())
            dialog->reject();
    });
}

// The named child; a missing one is reported, so the failing check that follows is explained.
template <typename T> T* child(QObject* parent, const char* name)
{
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qWarning("missing child %s", name);
    return found;
}

template <typename T> T* child(QObject* parent, const QString& name)
{
    return child<T>(parent, name.toLatin1().constData());
}

inline void click(QObject* parent, const char* name)
{
    if (auto* button = child<QPushButton>(parent, name))
        button->click();
}

// The texts of one column of a flat tree list, top to bottom; with `shownOnly` the hidden rows are left out.
inline QStringList treeColumn(QTreeWidget* list, int column = 0, bool shownOnly = false)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (!shownOnly || !list->topLevelItem(i)->isHidden())
            out << list->topLevelItem(i)->text(column);
    }
    return out;
}

// The rows of a list widget, top to bottom; with `shownOnly` the hidden rows are left out.
inline QStringList listRows(QListWidget* list, bool shownOnly = false)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) {
        if (!shownOnly || !list->item(i)->isHidden())
            out << list->item(i)->text();
    }
    return out;
}

// The box's text typed key by key, as a user does; the box is emptied first.
inline void typeInto(QLineEdit* box, const QString& text)
{
    box->clear();
    QTest::keyClicks(box, text);
}

} // namespace kestrix::runtime::testing
