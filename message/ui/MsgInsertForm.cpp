#include "message/ui/MsgInsertForm.h"

#include "data/RecordWriter.h"
#include "message/MessageInsertRecord.h"
#include "message/TextInsertion.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/QtText.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrix::message {

MsgInsertForm::MsgInsertForm(Request request, const runtime::Record& insert, runtime::KeyedFile& inserts,
                             runtime::DialogService& dialogs, PopupCode popupCode, QWidget* parent)
    : QDialog(parent), m_request(request), m_insert(insert), m_inserts(inserts), m_dialogs(dialogs),
      m_popupCode(std::move(popupCode))
{
    setObjectName(QStringLiteral("MsgInsertForm"));
    setWindowTitle(request == Request::Insert ? QStringLiteral("Adding Insert Record")
                                              : QStringLiteral("Changing Insert Record"));
    setToolTip(QStringLiteral("Update the Messge Insert File"));
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setMaxLength(static_cast<int>(Mi::TextLength));
    auto* label = new QLabel(QStringLiteral("&Text:"), this);
    label->setBuddy(m_text);
    auto* quick = new QPushButton(QStringLiteral("{&Q}"), this);
    quick->setObjectName(QStringLiteral("quickInsert"));
    quick->setToolTip(QStringLiteral("Quick Insert a {Function}"));
    quick->setAutoDefault(false);
    connect(quick, &QPushButton::clicked, this, &MsgInsertForm::quickInsert);
    m_curly = new QCheckBox(QStringLiteral("Wrap in Cu&rly Braces {}"), this);
    m_curly->setObjectName(QStringLiteral("curly"));
    m_clip = new QCheckBox(QStringLiteral("Wrap in CLI&P()"), this);
    m_clip->setObjectName(QStringLiteral("clip"));

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &MsgInsertForm::save);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    connect(help, &QPushButton::clicked, this,
            [] { runtime::requestHelp(QStringLiteral("~Message_Inserts")); });
    runtime::addHelpKey(this, QStringLiteral("~Message_Inserts"));

    auto* textRow = new QHBoxLayout;
    textRow->addWidget(label);
    textRow->addWidget(m_text, 1);
    textRow->addWidget(quick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(textRow);
    layout->addWidget(m_curly);
    layout->addWidget(m_clip);
    layout->addLayout(buttons);
    resize(520, sizeHint().height());
    showInsert();
}

void MsgInsertForm::showInsert()
{
    m_text->setText(runtime::toQt(insertText(m_insert)));
    m_curly->setChecked(m_insert.number(Mi::Curly) != 0);
    m_clip->setChecked(m_insert.number(Mi::Clip) != 0);
}

void MsgInsertForm::quickInsert()
{
    const std::string chosen = m_popupCode ? m_popupCode("MSG{Q}", "|", 500) : std::string();
    if (chosen.empty())
        return;
    const auto inserted =
        insertPiece(runtime::fromQt(m_text->text()), chosen, m_text->cursorPosition(), Mi::TextLength);
    if (!inserted) {
        m_dialogs.message(pieceDoesNotFit("insert text", Mi::TextLength));
        return;
    }
    m_text->setText(runtime::toQt(inserted->text));
    m_text->setCursorPosition(inserted->caret);
    m_text->setFocus();
}

void MsgInsertForm::save()
{
    runtime::Record edited = m_insert;
    setInsertText(edited, runtime::fromQt(m_text->text()));
    edited.setNumber(Mi::Curly, m_curly->isChecked() ? 1 : 0);
    edited.setNumber(Mi::Clip, m_clip->isChecked() ? 1 : 0);
    const auto operation =
        m_request == Request::Insert ? data::WriteOperation::Add : data::WriteOperation::Update;
    const bool written = data::writeRecord(m_inserts, edited, operation, m_dialogs);
    m_insert = edited;
    if (written) {
        accept();
        return;
    }
    // The user's values, or those of the program that changed the record meanwhile.
    showInsert();
    m_text->setFocus();
}

} // namespace kestrix::message
