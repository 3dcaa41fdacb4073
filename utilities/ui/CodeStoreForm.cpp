#include "utilities/ui/CodeStoreForm.h"

#include "runtime/FixedText.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/QtText.h"
#include "runtime/ui/WindowPlacement.h"
#include "utilities/CodeStoreRecord.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrix::utilities {

namespace {
constexpr const char* FormProcedure = "CodeStoreForm";
constexpr const char* WrapEntry = "WrapText";
} // namespace

std::string codeFromBox(const QString& text)
{
    std::string code;
    for (const char c : runtime::fromQt(text)) {
        if (c == '\n')
            code += '\r';
        code += c;
    }
    return code;
}

QString codeToBox(const std::string& code)
{
    QString text = runtime::toQt(code);
    text.remove(QLatin1Char('\r'));
    return text;
}

CodeStoreForm::CodeStoreForm(CodeLibrary& library, runtime::DialogService& dialogs,
                             std::optional<runtime::Record> record, const std::string& type,
                             runtime::IniFile windowsIni, QWidget* parent)
    : QDialog(parent), m_library(library), m_dialogs(dialogs), m_record(std::move(record)),
      m_ini(std::move(windowsIni))
{
    setObjectName(QString::fromLatin1(FormProcedure));
    setWindowTitle(m_record ? QStringLiteral("Changing Code Library")
                            : QStringLiteral("Adding Code Library"));
    const Snippet start = m_record ? snippetOf(*m_record) : Snippet{type, {}, {}};

    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("type"));
    m_type->setEditable(true);
    m_type->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& t : m_library.types())
        m_type->addItem(runtime::toQt(t));
    m_type->setCurrentText(runtime::toQt(start.type));
    m_type->lineEdit()->setMaxLength(static_cast<int>(Cds::TypeLength));
    m_wrap = new QCheckBox(QStringLiteral("&Wrap"), this);
    m_wrap->setObjectName(QStringLiteral("wrap"));
    m_name = new QLineEdit(runtime::toQt(start.name), this);
    m_name->setObjectName(QStringLiteral("name"));
    m_name->setMaxLength(static_cast<int>(Cds::NameLength));
    m_code = new QPlainTextEdit(this);
    m_code->setObjectName(QStringLiteral("code"));
    m_code->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_code->setPlainText(codeToBox(start.code));
    m_lastCode = m_code->toPlainText();
    connect(m_code, &QPlainTextEdit::textChanged, this, &CodeStoreForm::limitCode);
    connect(m_wrap, &QCheckBox::toggled, this, [this](bool on) {
        m_code->setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        m_ini.setValue(FormProcedure, WrapEntry, on ? "1" : "0");
    });
    m_wrap->setChecked(m_ini.number(FormProcedure, WrapEntry, 0) != 0);
    m_code->setLineWrapMode(m_wrap->isChecked() ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);

    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(m_type, 1);
    typeRow->addWidget(m_wrap);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Type:"), typeRow);
    form->addRow(QStringLiteral("&Name:"), m_name);
    form->addRow(QStringLiteral("&Code:"), m_code);

    auto* buttons = new QHBoxLayout;
    const auto addButton = [&](const QString& text, const char* name, const QString& tip) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(tip);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    QPushButton* justify =
        addButton(QStringLiteral("&Left Justify"), "leftJustify", QStringLiteral("Left Justify Code"));
    connect(justify, &QPushButton::clicked, this,
            [this] { m_code->setPlainText(codeToBox(leftJustifyCode(codeFromBox(m_code->toPlainText())))); });
    QPushButton* merge = addButton(QStringLiteral("_{&Merge}_"), "merge",
                                   QStringLiteral("Insert Merge Brackets into the text"));
    connect(merge, &QPushButton::clicked, this, [this] {
        m_code->insertPlainText(QString::fromLatin1(EmptyMergeToken));
        m_code->setFocus();
    });
    buttons->addStretch();
    QPushButton* ok = addButton(QStringLiteral("&OK"), "ok", {});
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CodeStoreForm::accept);
    connect(addButton(QStringLiteral("Cancel"), "cancel", {}), &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(620, 420);
    runtime::addHelpKey(this, QStringLiteral("~Code_Library"));
    runtime::restorePlacement(this, runtime::WindowPositionStore(m_ini), FormProcedure);
}

CodeStoreForm::~CodeStoreForm()
{
    runtime::savePlacement(this, runtime::WindowPositionStore(m_ini), FormProcedure);
}

// The code cannot grow past its field: a change that would is taken back.
void CodeStoreForm::limitCode()
{
    const QString text = m_code->toPlainText();
    if (codeFromBox(text).size() <= Cds::CodeLength) {
        m_lastCode = text;
        return;
    }
    const int position = std::min(m_code->textCursor().position(), static_cast<int>(m_lastCode.size()));
    const QSignalBlocker block(m_code);
    m_code->setPlainText(m_lastCode);
    QTextCursor cursor = m_code->textCursor();
    cursor.setPosition(std::min(position, static_cast<int>(m_lastCode.size())));
    m_code->setTextCursor(cursor);
}

Snippet CodeStoreForm::snippet() const
{
    return {std::string(runtime::trim(runtime::fromQt(m_type->currentText()))),
            runtime::clip(runtime::fromQt(m_name->text())), codeFromBox(m_code->toPlainText())};
}

void CodeStoreForm::accept()
{
    const Snippet s = snippet();
    if (const Refusal refusal = CodeLibrary::checkSnippet(s)) {
        m_dialogs.message({*refusal, "INVALID CODE", runtime::MessageIcon::Exclamation});
        return;
    }
    if (!m_library.typeExists(s.type)) {
        const unsigned answer =
            m_dialogs.message({"Add new Code Type?", "Code Type not found", runtime::MessageIcon::Question,
                               runtime::Button::Yes | runtime::Button::No, runtime::Button::Yes});
        if (answer != runtime::Button::Yes || !m_library.addType(s.type)) {
            m_type->setFocus();
            return;
        }
    }
    const bool saved = m_record ? m_library.changeSnippet(*m_record, s) : m_library.addSnippet(s);
    if (saved)
        QDialog::accept();
}

} // namespace kestrix::utilities
