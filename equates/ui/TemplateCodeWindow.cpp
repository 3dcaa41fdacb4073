#include "equates/ui/TemplateCodeWindow.h"

#include "config/ConfigRecord.h"
#include "config/Session.h"
#include "data/DataFileNames.h"
#include "data/DataFileRegistry.h"
#include "equates/PopupRecord.h"
#include "equates/ui/PopupChooser.h"
#include "runtime/ui/FontConversion.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/PopupMenuText.h"
#include "runtime/ui/QtText.h"

#include <QCursor>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

namespace kestrix::equates {

namespace {

// The program's text (CR LF) and the editor's (LF), with a caret position in each.
QString editorText(const std::string& code)
{
    std::string out;
    for (const char c : code) {
        if (c != '\r')
            out += c;
    }
    return runtime::toQt(out);
}

std::string programText(const QString& text)
{
    std::string out;
    for (const char c : runtime::fromQt(text)) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

} // namespace

TemplateCodeWindow* TemplateCodeWindow::open(config::Session& session, QWidget* parent)
{
    auto popups = std::make_shared<data::DataFileUse>(session.files(), data::FileName::Popups, popupLayout());
    if (!*popups)
        return nullptr;
    return new TemplateCodeWindow(session, std::move(popups), parent);
}

TemplateCodeWindow::TemplateCodeWindow(config::Session& session, std::shared_ptr<data::DataFileUse> popups,
                                       QWidget* parent)
    : ToolWindow("TemplateCode", session.tools(), session.positions(), parent), m_session(session),
      m_popups(*popups->file())
{
    holdWhileOpen(popups);
    setPositionSection("TplEquates");
    setWindowTitle(QStringLiteral("Template Equates Code Builder"));
    auto* body = new QWidget(this);
    m_editor = new QPlainTextEdit(body);
    m_editor->setObjectName(QStringLiteral("code"));
    onConfigurationChanged();
    m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);

    const auto makeButton = [body](const QString& text, const QString& name, const QString& tip = {}) {
        auto* b = new QPushButton(text, body);
        b->setObjectName(name);
        b->setToolTip(tip);
        b->setFocusPolicy(Qt::NoFocus); // the text box keeps the caret
        b->setAutoDefault(false);
        return b;
    };
    auto* words = new QGridLayout;
    int index = 0;
    for (const std::string& text : templateWordButtons()) {
        auto* b =
            makeButton(runtime::toQt(text), QStringLiteral("word_") + runtime::toQt(buttonWord(text, false)));
        words->addWidget(b, index / 5, index % 5);
        ++index;
        connect(b, &QPushButton::clicked, this, [this, text] { press(text); });
    }
    auto* tplCode = makeButton(QStringLiteral("T&pl Code"), QStringLiteral("tplCode"),
                               QStringLiteral("Popup Template Code Inserts"));
    auto* quickMsg = makeButton(QStringLiteral("{&Q} Msg"), QStringLiteral("quickMsg"),
                                QStringLiteral("Popup Message Quick Inserts"));
    auto* symbols = makeButton(QStringLiteral("More Tpl S&ymbols"), QStringLiteral("symbols"));
    connect(tplCode, &QPushButton::clicked, this, [this] { pressPopup(TemplatePopup::TplCode); });
    connect(quickMsg, &QPushButton::clicked, this, [this] { pressPopup(TemplatePopup::QuickMsg); });
    connect(symbols, &QPushButton::clicked, this, [this] { pressPopup(TemplatePopup::Symbols); });

    auto* copy =
        makeButton(QStringLiteral("&Copy"), QStringLiteral("copy"), QStringLiteral("Post Code to Clipboard"));
    copy->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* toClipButton = makeButton(QStringLiteral("To &Clip"), QStringLiteral("toClip"),
                                    QStringLiteral("Copy Code to Clipboard"));
    auto* fresh =
        makeButton(QStringLiteral("Ne&w"), QStringLiteral("new"), QStringLiteral("Clear Code for New "));
    auto* close = makeButton(QStringLiteral("Close"), QStringLiteral("close"));
    connect(copy, &QPushButton::clicked, this, &TemplateCodeWindow::toClip);
    connect(copy, &QWidget::customContextMenuRequested, this, &TemplateCodeWindow::copyMenu);
    connect(toClipButton, &QPushButton::clicked, this, &TemplateCodeWindow::toClip);
    connect(fresh, &QPushButton::clicked, this, [this] {
        m_code.clear();
        showCode();
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_showing)
            takeEdits();
    });

    auto* popupsRow = new QHBoxLayout;
    for (QPushButton* b : {tplCode, quickMsg, symbols})
        popupsRow->addWidget(b);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {copy, toClipButton, fresh, close})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(body);
    layout->addLayout(words);
    layout->addLayout(popupsRow);
    layout->addWidget(m_editor, 1);
    layout->addLayout(buttons);
    setWidget(body);
    resize(520, 460);
    runtime::addHelpKey(this, QStringLiteral("~Template_Code"));
    showCode();
}

TemplateCodeWindow::~TemplateCodeWindow() = default;

// The configured font of the text box, or a fixed one where the configuration names none.
void TemplateCodeWindow::onConfigurationChanged()
{
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::Monospace);
    runtime::applyFont(m_editor, config::fontOf(m_session.configuration(), config::FontRow::TemplateCode),
                       fixed);
}

void TemplateCodeWindow::takeEdits()
{
    const QTextCursor cursor = m_editor->textCursor();
    const QString before = m_editor->toPlainText().left(cursor.position());
    const std::string text = programText(m_editor->toPlainText());
    if (!m_code.setText(text, programText(before).size())) {
        // More than the text holds cannot be typed or pasted.
        m_session.dialogs().beep();
        const int caret = std::min(static_cast<int>(m_accepted.size()), cursor.position());
        m_showing = true;
        m_editor->setPlainText(m_accepted);
        QTextCursor back = m_editor->textCursor();
        back.setPosition(caret);
        m_editor->setTextCursor(back);
        m_showing = false;
        return;
    }
    m_accepted = m_editor->toPlainText();
}

void TemplateCodeWindow::showCode()
{
    m_showing = true;
    m_accepted = editorText(m_code.text());
    m_editor->setPlainText(m_accepted);
    QTextCursor cursor = m_editor->textCursor();
    cursor.setPosition(static_cast<int>(editorText(m_code.text().substr(0, m_code.caret())).size()));
    m_editor->setTextCursor(cursor);
    m_editor->setFocus();
    m_showing = false;
}

void TemplateCodeWindow::insert(const std::string& word)
{
    const QString before = m_editor->toPlainText().left(m_editor->textCursor().position());
    m_code.setCaret(programText(before).size());
    if (const auto refusal = m_code.insert(word)) {
        m_session.dialogs().message(*refusal);
        return;
    }
    showCode();
}

void TemplateCodeWindow::press(const std::string& buttonText)
{
    insert(buttonWord(buttonText, m_session.modes().abcMode)); // the family as it is now
}

void TemplateCodeWindow::pressPopup(TemplatePopup popup)
{
    const std::string chosen = choosePopupCode(
        this, m_popups, templatePopupType(popup, m_session.modes().abcMode), templatePopupConversions(popup));
    const std::string word = popupWord(popup, chosen);
    if (!word.empty())
        insert(word);
}

void TemplateCodeWindow::toClip()
{
    const auto clip = m_code.clipLines();
    if (clip.refusal) {
        m_session.dialogs().message(*clip.refusal);
        return;
    }
    if (!clip.lines.empty())
        m_session.putCode(clip.lines);
}

void TemplateCodeWindow::copyMenu()
{
    const int choice = runtime::popupMenuChoice(
        this, QStringLiteral("Copy Code to Clipboard|Copy Code and Minimize|New"), QCursor::pos());
    if (choice == 1 || choice == 2)
        toClip();
    if (choice == 2 && window())
        window()->showMinimized();
    if (choice == 3) {
        m_code.clear();
        showCode();
    }
}

} // namespace kestrix::equates
