#include "utilities/ui/MapPickWindow.h"

#include "runtime/WinPath.h"
#include "runtime/ui/AppIcons.h"
#include "runtime/ui/FilterBox.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/QtText.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kestrix::utilities {

MapPickWindow::MapPickWindow(config::Session& session, QWidget* parent)
    : ToolWindow(Procedure, session.tools(), session.positions(), parent), m_session(session),
      m_pick(MapPickList::inCurrentDirectory())
{
    setWindowTitle(QStringLiteral("Pick Map File"));
    setWindowIcon(runtime::appIcon("TBMAPUS"));
    auto* body = new QWidget(this);
    m_list = new QTreeWidget(body);
    m_list->setObjectName(QStringLiteral("files"));
    m_list->setHeaderLabels({QStringLiteral("File Name")});
    m_list->setRootIsDecorated(false);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { selectHighlighted(); });

    auto* sortBox = new QGroupBox(QStringLiteral("Sort &By:"), body);
    m_lastUsed = new QRadioButton(QStringLiteral("Last Used"), sortBox);
    m_lastUsed->setObjectName(QStringLiteral("sortLastUsed"));
    m_byName = new QRadioButton(QStringLiteral("File Name"), sortBox);
    m_byName->setObjectName(QStringLiteral("sortFileName"));
    auto* sortLayout = new QHBoxLayout(sortBox);
    sortLayout->addWidget(m_lastUsed);
    sortLayout->addWidget(m_byName);

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const QString& text, const char* name, const QString& tip, auto slot) {
        auto* b = new QPushButton(text, body);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(tip);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    button(QStringLiteral("Select"), "select", QStringLiteral("Open the map of the selected file"),
           [this] { selectHighlighted(); });
    button(QStringLiteral("&Open..."), "open", QStringLiteral("Open a file not on the list"),
           [this] { openOther(); });
    button(QStringLiteral("&Remove"), "remove", QStringLiteral("Remove the selected file from the list"),
           [this] { removeHighlighted(); });
    button(QStringLiteral("Cancel"), "cancel", {}, [this] { close(); });

    auto* filter = new runtime::FilterBox(body);
    runtime::filterTree(filter, m_list);
    auto* layout = new QVBoxLayout(body);
    layout->addLayout(runtime::filterRow(body, filter));
    layout->addWidget(m_list);
    layout->addWidget(sortBox);
    layout->addLayout(buttons);
    setWidget(body);
    resize(520, 380);
    runtime::addHelpKey(this, QStringLiteral("~Map_Viewer"));

    m_pick.load();
    (m_pick.order() == MapPickOrder::FileName ? m_byName : m_lastUsed)->setChecked(true);
    const auto orderChanged = [this] {
        m_pick.setOrder(m_byName->isChecked() ? MapPickOrder::FileName : MapPickOrder::LastUsed);
        if (!m_pick.saveOrder())
            listNotWritten();
        reload();
    };
    connect(m_lastUsed, &QRadioButton::toggled, this, orderChanged);
    reload();
}

void MapPickWindow::listNotWritten()
{
    m_session.dialogs().message({"The pick list cannot be written: " +
                                     runtime::toWinPath(runtime::resolveWinPath(MapPickList::FileName)),
                                 "FILE ERROR", runtime::MessageIcon::Exclamation});
}

void MapPickWindow::reload()
{
    m_list->clear();
    for (const MapPickRow& row : m_pick.rows())
        m_list->addTopLevelItem(new QTreeWidgetItem(QStringList{runtime::toQt(row.fileName)}));
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
}

std::string MapPickWindow::highlighted() const
{
    const QTreeWidgetItem* item = m_list->currentItem();
    return item ? runtime::fromQt(item->text(0)) : std::string();
}

void MapPickWindow::selectHighlighted()
{
    const std::string file = highlighted();
    if (!file.empty())
        openFile(file);
}

void MapPickWindow::openOther()
{
    const auto chosen = m_session.dialogs().openFile(
        {"Select the Map File", "CW Source|*.CLW|CFD Source|*.CLA|All Files|*.*", m_pick.lastOpenPath()});
    if (!chosen)
        return;
    const std::string name = runtime::fileNamePart(*chosen);
    (void)m_pick.setLastOpenPath(
        runtime::withoutTrailingBackslashes(chosen->substr(0, chosen->size() - name.size())));
    openFile(*chosen);
}

void MapPickWindow::removeHighlighted()
{
    const std::string file = highlighted();
    if (file.empty())
        return;
    if (!m_pick.remove(file))
        listNotWritten();
    reload();
}

void MapPickWindow::openFile(const std::string& file)
{
    if (!m_pick.opened(file))
        listNotWritten();
    reload();
    if (m_openViewer)
        m_openViewer(file);
}

} // namespace kestrix::utilities
