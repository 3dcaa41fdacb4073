#include "message/ui/MessageSaveDialog.h"

#include "runtime/FixedText.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/QtText.h"
#include "runtime/ui/WindowPlacement.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kestrix::message {

namespace {
constexpr const char* SaveProcedure = "MessageSave";
constexpr int DescriptionLength = 40;
} // namespace

MessageSaveDialog::MessageSaveDialog(Request request, const std::string& description,
                                     std::function<bool(const std::string&)> save,
                                     runtime::DialogService& dialogs, runtime::WindowPositionStore positions,
                                     QWidget* parent)
    : QDialog(parent), m_save(std::move(save)), m_dialogs(dialogs), m_positions(std::move(positions))
{
    setObjectName(QString::fromLatin1(SaveProcedure));
    setWindowTitle(request == Request::Change ? QStringLiteral("Message Save...")
                                              : QStringLiteral("Message Save As..."));
    m_description = new QLineEdit(runtime::toQt(description), this);
    m_description->setObjectName(QStringLiteral("description"));
    m_description->setMaxLength(DescriptionLength);
    // Room for the whole description at once.
    m_description->setMinimumWidth(m_description->fontMetrics().averageCharWidth() * (DescriptionLength + 2));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &MessageSaveDialog::tryToSave);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(new QLabel(QStringLiteral("Save Description:"), this), m_description);
    form->addRow(buttons);
    runtime::addHelpKey(this, QStringLiteral("~Message_Menu_and_Tool_Bar_Options"));
    runtime::restorePlacement(this, m_positions, SaveProcedure);
}

MessageSaveDialog::~MessageSaveDialog()
{
    runtime::savePlacement(this, m_positions, SaveProcedure);
}

void MessageSaveDialog::tryToSave()
{
    const std::string description = runtime::fromQt(m_description->text());
    // A blank description would leave the record out of the Open Message list for good.
    if (runtime::isBlank(description)) {
        m_dialogs.message({"Type the description to save the message under.", "NO DESCRIPTION",
                           runtime::MessageIcon::Exclamation, runtime::Button::Ok, runtime::Button::Ok});
        m_description->setFocus();
        return;
    }
    if (!m_save(description)) {
        m_description->setFocus();
        return;
    }
    accept();
}

} // namespace kestrix::message
