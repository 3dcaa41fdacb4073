#include "message/ui/RenameButtonsDialog.h"

#include "message/ButtonRenaming.h"
#include "message/MessageRecord.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/QtText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kestrix::message {

namespace {
const char* const checkTexts[Mes::ButtonCount] = {"&OK",    "&Yes",    "&No",     "&Abort",
                                                  "&Retry", "&Ignore", "&Cancel", "&Help"};
constexpr int NameLength = 15;
} // namespace

RenameButtonsDialog::RenameButtonsDialog(runtime::Record& message, PopupCode popupCode, QWidget* parent)
    : QDialog(parent), m_message(message), m_popupCode(std::move(popupCode))
{
    setObjectName(QStringLiteral("RenameButtons"));
    setWindowTitle(QStringLiteral("Rename Message Buttons"));
    startRenaming(m_message);

    auto* grid = new QGridLayout;
    for (int index = 1; index <= Mes::ButtonCount; ++index) {
        auto* check = new QCheckBox(QString::fromLatin1(checkTexts[index - 1]), this);
        check->setObjectName(QStringLiteral("button%1").arg(index));
        auto* name = new QLineEdit(this);
        name->setObjectName(QStringLiteral("name%1").arg(index));
        name->setMaxLength(NameLength);
        connect(check, &QCheckBox::toggled, this,
                [this, index](bool on) { m_message.setNumber(Mes::Button, on ? 1 : 0, index); });
        connect(name, &QLineEdit::textEdited, this, [this, index](const QString& text) {
            m_message.setText(Mes::ButtonName, runtime::fromQt(text), index);
        });
        grid->addWidget(check, index - 1, 0);
        grid->addWidget(name, index - 1, 1);
        m_chosen[static_cast<std::size_t>(index - 1)] = check;
        m_names[static_cast<std::size_t>(index - 1)] = name;
    }
    m_rename = new QCheckBox(QStringLiteral("Rena&me Buttons"), this);
    m_rename->setObjectName(QStringLiteral("renameButtons"));
    m_rename->setToolTip(QStringLiteral("Check to have renames take affect"));
    connect(m_rename, &QCheckBox::toggled, this,
            [this](bool on) { m_message.setNumber(Mes::RenameButtons, on ? 1 : 0); });

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* load = new QPushButton(QStringLiteral("&Load"), this);
    load->setObjectName(QStringLiteral("load"));
    load->setToolTip(QStringLiteral("Load buttons from popup list"));
    connect(load, &QPushButton::clicked, this, [this] {
        const std::string chosen = m_popupCode ? m_popupCode(RenameButtonPopup, "", 255) : std::string();
        if (chosen.empty())
            return;
        loadButtonNames(m_message, chosen);
        showRecord();
        m_names[0]->setFocus();
    });
    auto* blank = new QPushButton(QStringLiteral("&Blank"), this);
    blank->setObjectName(QStringLiteral("blank"));
    blank->setToolTip(QStringLiteral("Blank changed buttons"));
    connect(blank, &QPushButton::clicked, this, [this] {
        blankButtonNames(m_message);
        showRecord();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(load);
    buttons->addWidget(blank);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_rename);
    layout->addLayout(buttons);
    runtime::addHelpKey(this, QStringLiteral("~button_rename"));
    showRecord();
}

void RenameButtonsDialog::showRecord()
{
    for (int index = 1; index <= Mes::ButtonCount; ++index) {
        QCheckBox* check = m_chosen[static_cast<std::size_t>(index - 1)];
        QLineEdit* name = m_names[static_cast<std::size_t>(index - 1)];
        const QSignalBlocker b1(check), b2(name);
        check->setChecked(buttonChosen(m_message, index));
        name->setText(runtime::toQt(m_message.text(Mes::ButtonName, index)));
    }
    const QSignalBlocker b(m_rename);
    m_rename->setChecked(m_message.number(Mes::RenameButtons) != 0);
}

void RenameButtonsDialog::done(int result)
{
    finishRenaming(m_message);
    QDialog::done(result);
}

} // namespace kestrix::message
