#include "utilities/ui/StickNoteWindow.h"

#include "runtime/ColorContrast.h"
#include "runtime/ui/AppIcons.h"
#include "runtime/ui/FontConversion.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/PopupMenuText.h"
#include "runtime/ui/QtText.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCursor>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace kestrix::utilities {

StickNoteWindow::StickNoteWindow(std::shared_ptr<NoteBook> book, OpenedNote note, NoteSettings settings,
                                 std::function<void(const NoteSettings&)> settingsChanged,
                                 runtime::DialogService& dialogs, runtime::ToolRegistry& registry,
                                 runtime::WindowPositionStore positions, QWidget* parent)
    : ToolWindow("StickNote", registry, std::move(positions), parent), m_book(std::move(book)),
      m_number(note.number), m_settings(std::move(settings)), m_settingsChanged(std::move(settingsChanged)),
      m_dialogs(dialogs)
{
    auto* body = new QWidget(this);
    auto* menuBar = new QMenuBar(body);
    QMenu* menu = menuBar->addMenu(QStringLiteral("&Note"));
    QAction* color = menu->addAction(QStringLiteral("&Color..."));
    color->setObjectName(QStringLiteral("noteColor"));
    QAction* font = menu->addAction(QStringLiteral("Font..."));
    font->setObjectName(QStringLiteral("noteFont"));
    menu->addSeparator();
    auto* group = new QActionGroup(this);
    const std::pair<NoteBars, QString> bars[] = {
        {NoteBars::Horizontal, QStringLiteral("&Horizontal Scrollbar")},
        {NoteBars::Vertical, QStringLiteral("&Vertical Scrollbar")},
        {NoteBars::Both, QStringLiteral("&Both Scrollbars")}};
    for (const auto& [value, text] : bars) {
        QAction* action = menu->addAction(text);
        action->setCheckable(true);
        action->setObjectName(QStringLiteral("bars%1").arg(static_cast<int>(value)));
        group->addAction(action);
        m_bars[static_cast<int>(value)] = action;
        connect(action, &QAction::triggered, this, [this, value] { setBars(value); });
    }

    auto* tools = new QToolBar(body);
    QAction* addBars = tools->addAction(runtime::appIcon("TBNOTE.ICO"), QStringLiteral("Scroll Bars"));
    addBars->setToolTip(QStringLiteral("Add Scroll Bars"));
    addBars->setObjectName(QStringLiteral("addScrollBars"));
    QAction* changeColor = tools->addAction(QStringLiteral("Color"));
    changeColor->setToolTip(QStringLiteral("Change Color"));
    QAction* changeFont = tools->addAction(QStringLiteral("Font"));
    changeFont->setToolTip(QStringLiteral("Change Font"));
    connect(addBars, &QAction::triggered, this, [this] { setBars(NoteBars::Both); });
    for (QAction* action : {color, changeColor})
        connect(action, &QAction::triggered, this, [this] { chooseColor(QCursor::pos()); });
    for (QAction* action : {font, changeFont})
        connect(action, &QAction::triggered, this, &StickNoteWindow::chooseFont);

    m_text = new QPlainTextEdit(body);
    m_text->setObjectName(QStringLiteral("noteText"));
    m_accepted = runtime::toQt(note.text);
    m_text->setPlainText(m_accepted);
    connect(m_text, &QPlainTextEdit::textChanged, this, &StickNoteWindow::textChanged);

    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(tools);
    layout->addWidget(m_text);
    setWidget(body);
    runtime::addHelpKey(this, QStringLiteral("~Stick_Note"));
    setWindowTitle(runtime::toQt(noteTitle(note.text)));
    applySettings();
    resize(320, 240);
    for (const runtime::MessageRequest& problem : note.problems)
        m_dialogs.message(problem);
}

StickNoteWindow::~StickNoteWindow()
{
    if (!m_closed)
        m_book->close(m_number);
}

void StickNoteWindow::applySettings()
{
    // The font first: applying one resets the palette, and with it the note's colour.
    if (m_settings.useFont())
        runtime::applyFont(m_text, m_settings.font);
    QPalette palette = m_text->palette();
    const long background = noteColor(m_settings.color);
    palette.setColor(QPalette::Base, runtime::toQColor(background));
    // The note's light colours under a dark theme's light text would be unreadable.
    palette.setColor(QPalette::Text, runtime::toQColor(runtime::readableForeground(
                                         m_settings.useFont() ? m_settings.font.color : runtime::NoColor,
                                         background, runtime::toBgr(palette.color(QPalette::Text)))));
    m_text->setPalette(palette);
    const NoteBars bars = m_settings.bars;
    const bool horizontal = bars == NoteBars::Horizontal || bars == NoteBars::Both;
    const bool vertical = bars == NoteBars::Vertical || bars == NoteBars::Both;
    // A horizontal scroll bar needs lines that do not wrap.
    m_text->setLineWrapMode(horizontal ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    m_text->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    m_text->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    for (QAction* action : m_bars) {
        if (action)
            action->setChecked(action == m_bars[static_cast<int>(bars)]);
    }
}

void StickNoteWindow::settingsEdited()
{
    applySettings();
    if (m_settingsChanged)
        m_settingsChanged(m_settings);
}

void StickNoteWindow::setBars(NoteBars bars)
{
    m_settings.bars = bars;
    settingsEdited();
}

void StickNoteWindow::chooseColor(const QPoint& where)
{
    const int choice = runtime::popupMenuChoice(this, noteColorMenu(), where);
    if (choice == runtime::SeparatorId)
        return;
    m_settings.color = choice;
    settingsEdited();
}

void StickNoteWindow::chooseFont()
{
    runtime::FontSpec start = m_settings.font;
    if (!m_settings.useFont())
        start = runtime::fromQFont(m_text->font());
    const auto chosen = m_dialogs.chooseFont("Select Font for Notes", start);
    if (!chosen)
        return;
    m_settings.font = *chosen;
    settingsEdited();
}

void StickNoteWindow::textChanged()
{
    const QString now = m_text->toPlainText();
    const std::string text = runtime::fromQt(now);
    if (const auto refused = refuseNoteText(text)) {
        const int surplus = static_cast<int>(now.size() - m_accepted.size());
        const QSignalBlocker block(m_text);
        const int cursor = m_text->textCursor().position() - surplus;
        m_text->setPlainText(m_accepted);
        QTextCursor back = m_text->textCursor();
        back.setPosition(std::clamp(cursor, 0, static_cast<int>(m_accepted.size())));
        m_text->setTextCursor(back);
        // One more key at the limit is met with a beep; a paste that does not fit is explained.
        if (surplus <= 1)
            m_dialogs.beep();
        else
            m_dialogs.message(*refused);
        return;
    }
    m_accepted = now;
    setWindowTitle(runtime::toQt(noteTitle(text)));
    save();
}

void StickNoteWindow::save()
{
    const auto failed = m_book->save(m_number, runtime::fromQt(m_accepted));
    // Said once, not at every key; said again after a save that worked.
    if (failed && !m_saveFailed)
        m_dialogs.message(*failed);
    m_saveFailed = failed.has_value();
}

void StickNoteWindow::closeEvent(QCloseEvent* event)
{
    save();
    m_book->close(m_number);
    m_closed = true;
    ToolWindow::closeEvent(event);
}

} // namespace kestrix::utilities
