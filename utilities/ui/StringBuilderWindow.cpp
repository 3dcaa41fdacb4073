#include "utilities/ui/StringBuilderWindow.h"

#include "config/ConfigRecord.h"
#include "runtime/ui/AppIcons.h"
#include "runtime/ui/FontConversion.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/NamedButton.h"
#include "runtime/ui/QtText.h"
#include "utilities/ui/StringTextEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kestrix::utilities {

using runtime::fromQt;
using runtime::toQt;

namespace {

QSpinBox* numberBox(QWidget* parent, const char* name, int value)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(0, 99); // two digits
    box->setValue(value);
    return box;
}

} // namespace

StringBuilderWindow::StringBuilderWindow(config::Session& session, std::vector<std::string> variableChoices,
                                         QWidget* parent)
    : ToolWindow("StringFmt", session.tools(), session.positions(), parent), m_session(session)
{
    m_iconizeFrame = [this] {
        if (QWidget* frame = window())
            frame->showMinimized();
    };
    setWindowTitle(QStringLiteral("String Builder"));
    setWindowIcon(runtime::appIcon("TBSTRING.ICO"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);

    m_text = new StringTextEdit(body);
    m_text->setObjectName(QStringLiteral("text"));
    const runtime::FontSpec font = config::fontOf(session.configuration(), config::FontRow::StringBuilder);
    if (config::hasCustomFont(font))
        runtime::applyFont(m_text, font);
    connect(m_text, &QPlainTextEdit::textChanged, this, &StringBuilderWindow::textEdited);
    connect(m_text, &StringTextEdit::fieldsDropped, this, &StringBuilderWindow::dropFields);
    auto* textLabel = new QLabel(QStringLiteral("Te&xt:"), body);
    textLabel->setBuddy(m_text);
    layout->addWidget(textLabel);
    layout->addWidget(m_text, 1);

    auto* grid = new QGridLayout;
    m_variable = new QComboBox(body);
    m_variable->setObjectName(QStringLiteral("variable"));
    m_variable->setEditable(true);
    m_variable->setInsertPolicy(QComboBox::NoInsert);
    m_variable->lineEdit()->setMaxLength(static_cast<int>(StringVariableSize));
    for (const std::string& choice : variableChoices)
        m_variable->addItem(toQt(choice));
    m_variable->setCurrentIndex(-1);
    m_variable->setEditText(QString());
    m_variable->setToolTip(QStringLiteral("Variable to Assign string to"));
    connect(m_variable->lineEdit(), &QLineEdit::editingFinished, this, &StringBuilderWindow::acceptVariable);
    connect(m_variable, &QComboBox::activated, this, [this] { acceptVariable(); });
    auto* variableLabel = new QLabel(QStringLiteral("&Variable:"), body);
    variableLabel->setBuddy(m_variable);
    grid->addWidget(variableLabel, 0, 0);
    grid->addWidget(m_variable, 0, 1, 1, 3);
    m_enter = new QCheckBox(QStringLiteral("Enter=<1&3,10>"), body);
    m_enter->setObjectName(QStringLiteral("enter"));
    m_enter->setToolTip(QStringLiteral("Pressing Return in text outputs a <13,10> in the code"));
    grid->addWidget(m_enter, 0, 4);

    m_indent = numberBox(body, "indent", 0);
    m_nest = numberBox(body, "nest", 0);
    m_end = numberBox(body, "end", 80);
    int column = 0;
    for (auto [text, box] : {std::pair{"&Indent:", m_indent}, {"&Nest:", m_nest}, {"&End:", m_end}}) {
        auto* label = new QLabel(QString::fromLatin1(text), body);
        label->setBuddy(box);
        grid->addWidget(label, 1, column++);
        grid->addWidget(box, 1, column++);
    }
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    auto* toClip = runtime::namedButton(body, QStringLiteral("&To Clip"), "toClip",
                                        QStringLiteral("Generate String Code to Clipboard"));
    connect(toClip, &QPushButton::clicked, this, [this] { generate(false); });
    auto* minimize = runtime::namedButton(body, QStringLiteral("To Clip + &Minimize"), "toClipMinimize",
                                          QStringLiteral("Generate String and Minimize"));
    connect(minimize, &QPushButton::clicked, this, [this] { generate(true); });
    auto* newButton = runtime::namedButton(body, QStringLiteral("Ne&w"), "new",
                                           QStringLiteral("Clear the text for a new entry"));
    connect(newButton, &QPushButton::clicked, this, &StringBuilderWindow::newText);
    auto* cleanButton = runtime::namedButton(body, QStringLiteral("&Clean"), "clean",
                                             QStringLiteral("Pops up cleanup options menu"));
    m_cleanMenu = new QMenu(cleanButton);
    m_cleanMenu->setObjectName(QStringLiteral("cleanMenu"));
    for (auto [text, action] : {std::pair{"Remove Returns", CleanAction::RemoveReturns},
                                {"Remove Tabs", CleanAction::RemoveTabs},
                                {"Remove Extra Spaces", CleanAction::RemoveExtraSpaces},
                                {"Remove Non-ASCII", CleanAction::RemoveNonAscii}}) {
        connect(m_cleanMenu->addAction(QString::fromLatin1(text)), &QAction::triggered, this,
                [this, action] { clean(action); });
    }
    m_cleanMenu->addSeparator();
    connect(m_cleanMenu->addAction(QStringLiteral("Add Returns at Breaks")), &QAction::triggered, this,
            &StringBuilderWindow::addReturnsAtBreaks);
    m_cleanMenu->addSeparator();
    connect(m_cleanMenu->addAction(QStringLiteral("Decompile from Clipboard")), &QAction::triggered, this,
            &StringBuilderWindow::decompileClipboard);
    connect(cleanButton, &QPushButton::clicked, this, [this, cleanButton] {
        m_cleanMenu->popup(cleanButton->mapToGlobal(QPoint(0, cleanButton->height())));
    });
    auto* quick = runtime::namedButton(body, QStringLiteral("{&Q}"), "quickInsert",
                                       QStringLiteral("Quick Insert a {Function}"));
    connect(quick, &QPushButton::clicked, this, &StringBuilderWindow::quickInsert);
    for (QPushButton* b : {toClip, minimize, newButton, cleanButton, quick})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    setWidget(body);
    runtime::addHelpKey(this, QStringLiteral("~String_Builder"));
    resize(560, 420);
}

StringSettings StringBuilderWindow::settings() const
{
    StringSettings s;
    s.variable = fromQt(m_variable->currentText());
    s.enter = m_enter->isChecked();
    s.indent = m_indent->value();
    s.nest = m_nest->value();
    s.end = m_end->value();
    s.callMode = m_callMode;
    return s;
}

std::string StringBuilderWindow::text() const
{
    return m_text->programText();
}

void StringBuilderWindow::setText(const std::string& text)
{
    m_text->setProgramText(text);
}

void StringBuilderWindow::acceptVariable()
{
    StringSettings s = settings();
    utilities::acceptVariable(s);
    m_callMode = s.callMode;
    m_enter->setChecked(s.enter);
    m_enter->setVisible(!s.callMode);
}

void StringBuilderWindow::generate(bool thenMinimize)
{
    const StringCode code = buildString(text(), settings());
    if (code.failure)
        m_session.dialogs().message(*code.failure);
    m_session.putCode(code.lines);
    if (code.dropped > 0)
        m_session.dialogs().message({std::to_string(code.dropped) + " characters did not fit in a line of " +
                                         std::to_string(StringLineLimit) + " and were left out.",
                                     "LINE TOO LONG",
                                     runtime::MessageIcon::Exclamation,
                                     runtime::Button::Ok,
                                     0,
                                     {}});
    if (thenMinimize && !code.failure && m_iconizeFrame)
        m_iconizeFrame();
}

void StringBuilderWindow::newText()
{
    m_text->clear();
    m_text->setFocus();
}

void StringBuilderWindow::clean(CleanAction action)
{
    replaceText(cleanText(text(), action));
}

void StringBuilderWindow::addReturnsAtBreaks()
{
    replaceText(returnsAtBreaks(m_text->displayedLines()));
}

void StringBuilderWindow::decompileClipboard()
{
    const DecompiledString result = decompileString(m_session.systemClipboard().text());
    if (result.failure) {
        m_session.dialogs().message(*result.failure);
        return;
    }
    replaceText(result.text);
}

void StringBuilderWindow::quickInsert()
{
    if (m_popupCode)
        insertAtCaret(m_popupCode("MSG{Q}"));
}

void StringBuilderWindow::dropFields()
{
    const std::string pieces = draggedFieldInserts(m_session.draggedFields());
    replaceText(text() + pieces);
}

void StringBuilderWindow::replaceText(const std::string& text)
{
    if (const auto refusal = textTooLong(text)) {
        m_session.dialogs().message(*refusal);
        return;
    }
    setText(text);
}

void StringBuilderWindow::insertAtCaret(const std::string& piece)
{
    if (piece.empty())
        return;
    m_text->insertPlainText(toQt(piece)); // refused whole, as typing is, when the box cannot hold it
    m_text->setFocus();
}

// The box holds 3,000 characters: what is typed beyond them does not go in.
void StringBuilderWindow::textEdited()
{
    const std::string now = text();
    if (now.size() <= StringTextSize) {
        m_lastGoodText = now;
        return;
    }
    const int caret = m_text->textCursor().position();
    setText(m_lastGoodText);
    QTextCursor cursor = m_text->textCursor();
    cursor.setPosition(std::min(caret, static_cast<int>(m_text->toPlainText().size())));
    m_text->setTextCursor(cursor);
    m_session.dialogs().beep();
}

} // namespace kestrix::utilities
