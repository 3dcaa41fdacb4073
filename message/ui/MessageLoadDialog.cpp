#include "message/ui/MessageLoadDialog.h"

#include "data/RecordWriter.h"
#include "message/MessageMaker.h"
#include "message/MessageRecord.h"
#include "runtime/ui/AppIcons.h"
#include "runtime/ui/BrowseList.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/PopupMenuText.h"
#include "runtime/ui/QtText.h"
#include "runtime/ui/WindowPlacement.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace kestrix::message {

namespace {
constexpr const char* LoadProcedure = "MessageLoad";
constexpr std::size_t TextShown = 255;
} // namespace

MessageLoadDialog::MessageLoadDialog(runtime::KeyedFile& messages, runtime::DialogService& dialogs, bool bold,
                                     Perform perform, runtime::WindowPositionStore positions, QWidget* parent)
    : QDialog(parent), m_messages(messages), m_dialogs(dialogs), m_perform(std::move(perform)),
      m_positions(std::move(positions))
{
    setObjectName(QString::fromLatin1(LoadProcedure));
    setWindowTitle(QStringLiteral("Open Message"));

    auto* menuBar = new QMenuBar(this);
    QMenu* menu = menuBar->addMenu(QStringLiteral("&Message"));
    const auto addAction = [&](QMenu* m, const QString& text, const char* name, SavedMessageCommand request) {
        QAction* a = m->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, [this, request] { act(request); });
        return a;
    };
    addAction(menu, QStringLiteral("&Generate Code to Clipboard"), "generate", SavedMessageCommand::Generate);
    addAction(menu, QStringLiteral("&Generate Code and Minimize"), "generateMinimize",
              SavedMessageCommand::GenerateAndMinimize);
    addAction(menu, QStringLiteral("Pre&view!"), "preview", SavedMessageCommand::Preview);

    auto* toolBar = new QToolBar(this);
    const auto addTool = [&](const QString& tip, const char* icon, SavedMessageCommand request) {
        QAction* a = toolBar->addAction(runtime::appIcon(icon), tip);
        a->setToolTip(tip);
        connect(a, &QAction::triggered, this, [this, request] { act(request); });
    };
    addTool(QStringLiteral("Preview Message"), "PREV1.ICO", SavedMessageCommand::Preview);
    addTool(QStringLiteral("Generate Message Code to Clipboard"), "LIGHTN1.ICO",
            SavedMessageCommand::Generate);
    addTool(QStringLiteral("Generate Message Code and Minimize"), "LIGHTMIN.ICO",
            SavedMessageCommand::GenerateAndMinimize);

    m_locator = new QLineEdit(this);
    m_locator->setObjectName(QStringLiteral("locator"));
    m_list = new runtime::BrowseList(
        {QStringLiteral("Description"), QStringLiteral("Caption"), QStringLiteral("Text")}, m_locator, this);
    m_list->setObjectName(QStringLiteral("messageList"));
    m_list->setBold(bold);
    m_list->header()->resizeSection(0, 200);
    m_list->header()->resizeSection(1, 200);
    connect(m_list, &runtime::BrowseList::activated, this, &MessageLoadDialog::openHighlighted);

    auto* buttons = new QHBoxLayout;
    const auto addButton = [&](const QString& text, const char* name, auto slot) {
        QPushButton* b = runtime::addBrowseButton(buttons, this, text, name);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    addButton(QStringLiteral("&Open"), "open", [this] { openHighlighted(); })->setDefault(true);
    addButton(QStringLiteral("&Preview"), "previewButton", [this] { act(SavedMessageCommand::Preview); });
    addButton(QStringLiteral("&To Clip"), "toClip", [this] { act(SavedMessageCommand::Generate); });
    addButton(QStringLiteral("Clip &Min"), "clipMin",
              [this] { act(SavedMessageCommand::GenerateAndMinimize); });
    addButton(QStringLiteral("&Delete"), "delete", [this] { deleteHighlighted(); });
    addButton(QStringLiteral("Close"), "close", [this] { reject(); });

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(toolBar);
    layout->addLayout(runtime::filterRowFor(m_list, this));
    layout->addLayout(runtime::locatorRow(this, m_locator));
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(640, 400);
    runtime::addHelpKey(this, QStringLiteral("~Open_Message_Dialog"));
    runtime::restorePlacement(this, m_positions, LoadProcedure);
    reload();
    m_locator->setFocus();
}

MessageLoadDialog::~MessageLoadDialog()
{
    runtime::savePlacement(this, m_positions, LoadProcedure);
}

void MessageLoadDialog::reload()
{
    m_rows = m_messages.readAll(Mes::ByDescription);
    std::vector<QStringList> shown;
    std::vector<std::string> keys;
    for (const runtime::Record& r : m_rows) {
        std::string text = r.text(Mes::Text);
        if (text.size() > TextShown)
            text.resize(TextShown);
        for (char& c : text) {
            if (static_cast<unsigned char>(c) < ' ')
                c = ' '; // one line per message
        }
        shown.push_back({runtime::toQt(r.text(Mes::Description)), runtime::toQt(r.text(Mes::Caption)),
                         runtime::toQt(text)});
        keys.push_back(r.text(Mes::Description));
    }
    m_list->setRows(shown, keys);
}

const runtime::Record* MessageLoadDialog::highlighted() const
{
    const auto row = m_list->currentRow();
    return row && *row < m_rows.size() ? &m_rows[*row] : nullptr;
}

void MessageLoadDialog::openHighlighted()
{
    if (const runtime::Record* r = highlighted()) {
        m_chosen = *r;
        accept();
    }
}

void MessageLoadDialog::act(SavedMessageCommand request)
{
    if (const runtime::Record* r = highlighted(); r && m_perform)
        m_perform(request, *r);
    m_list->setFocus();
}

void MessageLoadDialog::deleteHighlighted()
{
    const runtime::Record* r = highlighted();
    if (!r)
        return;
    if (m_dialogs.message(deleteMessageQuestion(*r)) != runtime::Button::Yes)
        return;
    runtime::Record doomed = *r;
    data::writeRecord(m_messages, doomed, data::WriteOperation::Delete, m_dialogs);
    reload();
}

void MessageLoadDialog::contextMenuEvent(QContextMenuEvent* event)
{
    const int chosen = runtime::popupMenuChoice(this, MessageMaker::savedMessageMenu(), event->globalPos());
    if (chosen != runtime::SeparatorId)
        act(static_cast<SavedMessageCommand>(chosen));
}

} // namespace kestrix::message
