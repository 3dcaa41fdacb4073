#include "runtime/ui/QtDialogs.h"

#include "runtime/ui/FontConversion.h"
#include "runtime/ui/QtText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

#include <bit>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kestrix::runtime {
namespace {

struct ButtonInfo
{
    unsigned value;
    QMessageBox::StandardButton standard;
};

constexpr ButtonInfo kButtons[] = {
    {Button::Ok, QMessageBox::Ok},         {Button::Yes, QMessageBox::Yes},
    {Button::No, QMessageBox::No},         {Button::Abort, QMessageBox::Abort},
    {Button::Retry, QMessageBox::Retry},   {Button::Ignore, QMessageBox::Ignore},
    {Button::Cancel, QMessageBox::Cancel}, {Button::Help, QMessageBox::Help},
};

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Hand:
        return QMessageBox::Critical;
    case MessageIcon::Asterisk:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The common dialogs must leave the current directory (the data directory) as it was.
class CurrentDirectoryGuard
{
public:
    CurrentDirectoryGuard() : m_saved(QDir::currentPath()) {}
    ~CurrentDirectoryGuard() { QDir::setCurrent(m_saved); }

private:
    QString m_saved;
};

// A box of renamed buttons none of which is Cancel has no escape button of its own;
// Escape and the close button still dismiss it.
class DismissableBox final : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;
    bool dismissable = false;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (dismissable && event->matches(QKeySequence::Cancel)) {
            reject();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override
    {
        if (dismissable)
            QDialog::closeEvent(event); // rejects
        else
            QMessageBox::closeEvent(event);
    }
};

} // namespace

unsigned QtDialogs::message(const MessageRequest& request)
{
    DismissableBox box(qtIcon(request.icon), toQt(request.caption), toQt(messageLines(request.text)),
                       QMessageBox::NoButton, m_parent);
    const unsigned def = effectiveDefault(request);
    if (!request.buttonTexts.empty()) {
        std::vector<QAbstractButton*> custom;
        for (const std::string& text : request.buttonTexts) {
            custom.push_back(box.addButton(toQt(text), QMessageBox::AcceptRole));
            if (custom.size() == def)
                box.setDefaultButton(static_cast<QPushButton*>(custom.back()));
        }
        // Escape and the close button answer as Cancel would: its renamed button when the box
        // has one (the texts follow the buttons in their order), otherwise the default.
        const unsigned cancel =
            (request.buttons & Button::Cancel)
                ? static_cast<unsigned>(std::popcount(request.buttons & (Button::Cancel - 1))) + 1
                : 0;
        if (cancel >= 1 && cancel <= custom.size())
            box.setEscapeButton(custom[cancel - 1]);
        else
            box.dismissable = true;
        box.exec();
        for (std::size_t i = 0; i < custom.size(); ++i) {
            if (box.clickedButton() == custom[i])
                return static_cast<unsigned>(i + 1);
        }
        return def;
    }
    for (const ButtonInfo& b : kButtons) {
        if (request.buttons & b.value) {
            QAbstractButton* button = box.addButton(b.standard);
            if (b.value == def)
                box.setDefaultButton(static_cast<QPushButton*>(button));
        }
    }
    if (request.buttons & Button::Cancel)
        box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const ButtonInfo& b : kButtons) {
        if (b.standard == clicked)
            return b.value;
    }
    return (request.buttons & Button::Cancel) ? Button::Cancel : def;
}

QString qtFileFilter(const std::string& filter)
{
    const QStringList parts = toQt(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            patterns << pattern;
            if (pattern.toLower() != pattern)
                patterns << pattern.toLower();
        }
        filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

std::optional<std::string> QtDialogs::openFile(const FileDialogRequest& request)
{
    CurrentDirectoryGuard guard;
    const QString chosen = QFileDialog::getOpenFileName(
        m_parent, toQt(request.title), toQt(request.startPath), qtFileFilter(request.filter));
    if (chosen.isEmpty())
        return std::nullopt;
    return fromQt(QDir::toNativeSeparators(chosen));
}

std::vector<std::string> QtDialogs::openFiles(const FileDialogRequest& request)
{
    CurrentDirectoryGuard guard;
    const QStringList chosen = QFileDialog::getOpenFileNames(
        m_parent, toQt(request.title), toQt(request.startPath), qtFileFilter(request.filter));
    std::vector<std::string> files;
    for (const QString& file : chosen)
        files.push_back(fromQt(QDir::toNativeSeparators(file)));
    return files;
}

std::optional<std::string> QtDialogs::chooseDirectory(const std::string& title, const std::string& start)
{
    CurrentDirectoryGuard guard;
    const QString chosen = QFileDialog::getExistingDirectory(m_parent, toQt(title), toQt(start));
    if (chosen.isEmpty())
        return std::nullopt;
    return fromQt(QDir::toNativeSeparators(chosen));
}

std::optional<FontSpec> QtDialogs::chooseFont(const std::string& title, const FontSpec& start)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, toQFont(start), m_parent, toQt(title));
    if (!ok)
        return std::nullopt;
    FontSpec chosen = fromQFont(font);
    chosen.color = start.color;
    return chosen;
}

void QtDialogs::beep()
{
    playSound(SystemSound::Hand);
}

void QtDialogs::playSound(SystemSound sound)
{
#ifdef _WIN32
    UINT type = MB_OK;
    switch (sound) {
    case SystemSound::Hand:
        type = MB_ICONHAND;
        break;
    case SystemSound::Question:
        type = MB_ICONQUESTION;
        break;
    case SystemSound::Exclamation:
        type = MB_ICONEXCLAMATION;
        break;
    case SystemSound::Asterisk:
        type = MB_ICONASTERISK;
        break;
    case SystemSound::Default:
        break;
    }
    MessageBeep(type);
#else
    (void)sound;
    QApplication::beep();
#endif
}

} // namespace kestrix::runtime
