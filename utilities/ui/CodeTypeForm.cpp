#include "utilities/ui/CodeTypeForm.h"

#include "runtime/FixedText.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/QtText.h"
#include "runtime/ui/WindowPlacement.h"
#include "utilities/CodeStoreRecord.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrix::utilities {

namespace {
constexpr const char* TypeFormProcedure = "CodeTypeForm";
}

CodeTypeForm::CodeTypeForm(CodeLibrary& library, runtime::DialogService& dialogs, std::string current,
                           runtime::WindowPositionStore positions, QWidget* parent)
    : QDialog(parent), m_library(library), m_dialogs(dialogs), m_current(std::move(current)),
      m_positions(std::move(positions))
{
    setObjectName(QString::fromLatin1(TypeFormProcedure));
    setWindowTitle(QStringLiteral("Update Code Types"));
    m_action = new QLabel(m_current.empty() ? QStringLiteral("Type Will Be Added")
                                            : QStringLiteral("Type Will Be Changed"),
                          this);
    m_action->setObjectName(QStringLiteral("action"));
    m_type = new QLineEdit(runtime::toQt(m_current), this);
    m_type->setObjectName(QStringLiteral("type"));
    m_type->setMaxLength(static_cast<int>(Cds::TypeLength));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Code Type:"), m_type);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CodeTypeForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_action);
    layout->addLayout(form);
    layout->addWidget(buttons);
    runtime::addHelpKey(this, QStringLiteral("~Code_Library"));
    runtime::restorePlacement(this, m_positions, TypeFormProcedure);
}

CodeTypeForm::~CodeTypeForm()
{
    runtime::savePlacement(this, m_positions, TypeFormProcedure);
}

std::string CodeTypeForm::type() const
{
    return std::string(runtime::trim(runtime::fromQt(m_type->text())));
}

void CodeTypeForm::accept()
{
    const std::string typed = type();
    if (const Refusal refusal = CodeLibrary::checkType(typed)) {
        m_dialogs.message({*refusal, "INVALID CODE TYPE", runtime::MessageIcon::Exclamation});
        return;
    }
    if (m_current == typed) {
        QDialog::accept();
        return;
    }
    const bool saved = m_current.empty() ? m_library.addType(typed) : m_library.changeType(m_current, typed);
    if (saved)
        QDialog::accept();
}

} // namespace kestrix::utilities
