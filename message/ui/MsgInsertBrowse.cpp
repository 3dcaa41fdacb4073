#include "message/ui/MsgInsertBrowse.h"

#include "data/RecordWriter.h"
#include "data/StandardWarning.h"
#include "message/MessageInsertRecord.h"
#include "message/ui/MsgInsertForm.h"
#include "runtime/ui/AppIcons.h"
#include "runtime/ui/BrowseList.h"
#include "runtime/ui/QtText.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrix::message {

namespace {
constexpr const char* Title = "Browse Message Inserts";
}

MsgInsertBrowse::MsgInsertBrowse(runtime::KeyedFile& inserts, runtime::DialogService& dialogs,
                                 PopupCode popupCode, bool bold, bool selectMode, QWidget* parent)
    : QWidget(parent), m_inserts(inserts), m_dialogs(dialogs), m_popupCode(std::move(popupCode)),
      m_selectMode(selectMode)
{
    m_locator = new QLineEdit(this);
    m_locator->setObjectName(QStringLiteral("locator"));
    m_list = new runtime::BrowseList({QStringLiteral("Text")}, m_locator, this);
    m_list->setObjectName(QStringLiteral("insertList"));
    m_list->setBold(bold);
    connect(m_list, &runtime::BrowseList::activated, this, [this](std::size_t row) {
        if (row >= m_rows.size())
            return;
        if (m_selectMode)
            emit selected(m_rows[row]);
        else
            update(false);
    });

    auto* buttons = new QHBoxLayout;
    const auto addButton = [&](const QString& text, const char* name, auto slot) {
        QPushButton* b = runtime::addBrowseButton(buttons, this, text, name);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    QPushButton* select = addButton(QStringLiteral("&Select"), "select", [this] {
        if (const runtime::Record* r = highlighted())
            emit selected(*r);
    });
    select->setVisible(m_selectMode);
    select->setDefault(m_selectMode);
    addButton(QStringLiteral("&Insert"), "insert", [this] { update(true); });
    addButton(QStringLiteral("&Change"), "change", [this] { update(false); });
    addButton(QStringLiteral("&Delete"), "delete", [this] { deleteHighlighted(); });
    addButton(QStringLiteral("Close"), "close", [this] { emit closeRequested(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(runtime::filterRowFor(m_list, this));
    layout->addLayout(runtime::locatorRow(this, m_locator));
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    reload();
}

void MsgInsertBrowse::reload()
{
    m_rows = m_inserts.readAll(Mi::Key);
    std::vector<QStringList> shown;
    std::vector<std::string> keys;
    for (const runtime::Record& r : m_rows) {
        shown.push_back({runtime::toQt(insertText(r))});
        keys.push_back(r.text(Mi::Text1));
    }
    m_list->setRows(shown, keys);
}

const runtime::Record* MsgInsertBrowse::highlighted() const
{
    const auto row = m_list->currentRow();
    return row && *row < m_rows.size() ? &m_rows[*row] : nullptr;
}

void MsgInsertBrowse::update(bool adding)
{
    const runtime::Record* current = highlighted();
    if (!adding && !current)
        return;
    MsgInsertForm form(adding ? MsgInsertForm::Request::Insert : MsgInsertForm::Request::Change,
                       adding ? m_inserts.newRecord() : *current, m_inserts, m_dialogs, m_popupCode, this);
    const bool saved = form.exec() == QDialog::Accepted;
    const std::int64_t position = form.insert().position();
    reload();
    if (saved) {
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            if (m_rows[i].position() == position)
                m_list->setCurrentRow(i);
        }
    }
    m_list->setFocus();
}

void MsgInsertBrowse::deleteHighlighted()
{
    const runtime::Record* current = highlighted();
    if (!current)
        return;
    if (data::showStandardWarning(m_dialogs, data::Warn::StandardDelete) != runtime::Button::Ok)
        return;
    runtime::Record doomed = *current;
    data::writeRecord(m_inserts, doomed, data::WriteOperation::Delete, m_dialogs);
    reload();
}

MsgInsertBrowseWindow::MsgInsertBrowseWindow(runtime::KeyedFile& inserts, runtime::DialogService& dialogs,
                                             PopupCode popupCode, bool bold, runtime::ToolRegistry& registry,
                                             runtime::WindowPositionStore positions, QWidget* parent)
    : ToolWindow("MsgInsertBrowse", registry, std::move(positions), parent)
{
    setWindowTitle(QString::fromLatin1(Title));
    setWindowIcon(runtime::appIcon("MSG.ICO"));
    m_browse = new MsgInsertBrowse(inserts, dialogs, std::move(popupCode), bold, false, this);
    connect(m_browse, &MsgInsertBrowse::closeRequested, this, &QWidget::close);
    setWidget(m_browse);
    resize(520, 360);
}

std::optional<runtime::Record> selectInsert(QWidget* parent, runtime::KeyedFile& inserts,
                                            runtime::DialogService& dialogs, PopupCode popupCode, bool bold)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("MsgInsertSelect"));
    dialog.setWindowTitle(QString::fromLatin1(Title));
    auto* browse = new MsgInsertBrowse(inserts, dialogs, std::move(popupCode), bold, true, &dialog);
    std::optional<runtime::Record> chosen;
    QObject::connect(browse, &MsgInsertBrowse::selected, &dialog, [&](const runtime::Record& r) {
        chosen = r;
        dialog.accept();
    });
    QObject::connect(browse, &MsgInsertBrowse::closeRequested, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browse);
    dialog.resize(520, 360);
    dialog.exec();
    return chosen;
}

} // namespace kestrix::message
