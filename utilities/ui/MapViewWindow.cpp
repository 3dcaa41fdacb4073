#include "utilities/ui/MapViewWindow.h"

#include "config/ConfigRecord.h"
#include "runtime/TextCodec.h"
#include "runtime/ui/AppIcons.h"
#include "runtime/ui/FilterBox.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/PopupMenuText.h"
#include "runtime/ui/QtText.h"
#include "runtime/ui/RowColors.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kestrix::utilities {

namespace {

constexpr std::array<MapList, MapListCount> AllLists = {MapList::Map, MapList::Standard, MapList::Lib,
                                                        MapList::Files};
constexpr std::array<const char*, MapListCount> TabNames = {"&Map", "&Standard and RI", "&Lib", "&Files"};
constexpr std::array<const char*, MapListCount> ObjectNames = {"map", "standard", "lib", "files"};
constexpr int RowRole = Qt::UserRole + 1;

void showNotes(runtime::DialogService& dialogs, const MapScan& scan)
{
    if (scan.notes.empty())
        return;
    std::string text;
    for (const std::string& note : scan.notes)
        text += (text.empty() ? "" : "|") + note;
    dialogs.message({text, "MAP READ IN PART", runtime::MessageIcon::Exclamation});
}

} // namespace

MapViewWindow* MapViewWindow::open(config::Session& session, const std::string& source, QWidget* parent)
{
    MapScan scan = scanMapSource(source);
    showNotes(session.dialogs(), scan);
    if (scan.failure) {
        session.dialogs().message(*scan.failure);
        return nullptr;
    }
    return new MapViewWindow(session, source, std::move(scan), parent);
}

MapViewWindow::MapViewWindow(config::Session& session, std::string source, MapScan scan, QWidget* parent)
    : ToolWindow(Procedure, session.tools(), session.positions(), parent), m_session(session),
      m_source(std::move(source)), m_lists(std::move(scan.lists))
{
    m_order.fill(Qt::AscendingOrder);
    m_startEditor = [](const std::string& editor, const std::string& file) {
        QProcess::startDetached(runtime::toQt(editor), {runtime::toQt(file)});
    };
    setWindowTitle(QStringLiteral("Map View"));
    setWindowIcon(runtime::appIcon("TBMAPUS"));
    auto* body = new QWidget(this);
    m_tabs = new QTabWidget(body);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    for (const MapList which : AllLists) {
        const auto index = static_cast<std::size_t>(which);
        auto* page = new QWidget(m_tabs);
        auto* filter = new runtime::FilterBox(page);
        filter->setObjectName(QStringLiteral("%1Filter").arg(QString::fromLatin1(ObjectNames[index])));
        filter->setPlaceholderText(which == MapList::Files
                                       ? QStringLiteral("Type to narrow by description or file")
                                       : QStringLiteral("Type to narrow by prototype or module"));
        auto* view = new QTreeWidget(page);
        view->setObjectName(QString::fromLatin1(ObjectNames[index]));
        runtime::showListBold(view, m_session.configuration().number(config::Cfg::LookBold, 8) != 0);
        view->setRootIsDecorated(false);
        view->setUniformRowHeights(true);
        view->setHeaderLabels(which == MapList::Files
                                  ? QStringList{QStringLiteral("Description"), QStringLiteral("File")}
                                  : QStringList{QStringLiteral("Prototype"), QStringLiteral("Module")});
        view->header()->resizeSection(0, 420);
        view->header()->setSectionsClickable(true);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view->header(), &QHeaderView::sectionDoubleClicked, this,
                [this, which](int column) { sortBy(which, column); });
        connect(filter, &QLineEdit::textChanged, this, [this, which] { applyFilter(which); });
        connect(view, &QTreeWidget::itemDoubleClicked, this, [this, which, view](QTreeWidgetItem* item) {
            perform(which, rowOf(which, view->indexOfTopLevelItem(item)), MapMenu::Copy);
        });
        connect(view, &QTreeWidget::customContextMenuRequested, this, [this, which, view](const QPoint& at) {
            QTreeWidgetItem* item = view->itemAt(at);
            if (!item)
                return;
            const int row = rowOf(which, view->indexOfTopLevelItem(item));
            const int command = runtime::popupMenuChoice(
                view, mapRowMenu(which, m_lists.of(which).at(static_cast<std::size_t>(row)), m_source),
                view->viewport()->mapToGlobal(at));
            perform(which, row, command);
        });
        auto* layout = new QVBoxLayout(page);
        layout->addLayout(runtime::filterRow(page, filter));
        layout->addWidget(view);
        m_tabs->addTab(page, QString::fromLatin1(TabNames[index]));
        m_views[index] = view;
        m_filters[index] = filter;
    }
    auto* buttons = new QHBoxLayout;
    const auto button = [&](const QString& text, const char* name, auto slot) {
        auto* b = new QPushButton(text, body);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, slot);
    };
    button(QStringLiteral("Update Map from File"), "update", [this] { updateFromFile(); });
    button(QStringLiteral("Export to TXT File"), "export", [this] { exportToText(); });
    buttons->addStretch();
    button(QStringLiteral("Close"), "close", [this] { close(); });
    auto* sourceLabel = new QLabel(runtime::toQt(m_source), body);
    sourceLabel->setObjectName(QStringLiteral("sourceName"));
    auto* layout = new QVBoxLayout(body);
    layout->addWidget(sourceLabel);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);
    setWidget(body);
    resize(720, 480);
    runtime::addHelpKey(this, QStringLiteral("~Map_Viewer"));
    for (const MapList which : AllLists)
        fill(which);
}

void MapViewWindow::fill(MapList which)
{
    QTreeWidget* view = list(which);
    view->clear();
    const std::vector<MapRow>& rows = m_lists.of(which);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        auto* item =
            new QTreeWidgetItem(QStringList{runtime::toQt(rows[i].proto), runtime::toQt(rows[i].module)});
        item->setData(0, RowRole, static_cast<int>(i));
        view->addTopLevelItem(item);
    }
    applyFilter(which);
}

int MapViewWindow::rowOf(MapList which, int itemIndex) const
{
    const QTreeWidgetItem* item = list(which)->topLevelItem(itemIndex);
    return item ? item->data(0, RowRole).toInt() : -1;
}

void MapViewWindow::sortBy(MapList which, int column)
{
    const auto index = static_cast<std::size_t>(which);
    list(which)->sortItems(column, m_order[index]);
    list(which)->header()->setSortIndicator(column, m_order[index]);
    list(which)->header()->setSortIndicatorShown(true);
    m_order[index] = m_order[index] == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
}

void MapViewWindow::applyFilter(MapList which)
{
    const runtime::TextFilter wanted = filter(which)->filter();
    QTreeWidget* view = list(which);
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = view->topLevelItem(i);
        item->setHidden(!runtime::itemMatches(view, item, wanted));
    }
}

void MapViewWindow::perform(MapList which, int row, int command)
{
    const std::vector<MapRow>& rows = m_lists.of(which);
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size())
        return;
    const MapRow& chosen = rows[static_cast<std::size_t>(row)];
    switch (command) {
    case MapMenu::Copy: {
        const std::vector<std::string> lines{chosen.proto};
        m_session.putCode(lines);
        break;
    }
    case MapMenu::LoadEditor:
        m_startEditor(m_session.configuration().text(config::Cfg::Editor), editorTarget(chosen, m_source));
        break;
    case MapMenu::Update:
        updateFromFile();
        break;
    default:
        break;
    }
}

bool MapViewWindow::updateFromFile()
{
    MapScan scan = scanMapSource(m_source);
    showNotes(m_session.dialogs(), scan);
    if (scan.failure) {
        m_session.dialogs().message(*scan.failure);
        close();
        return false;
    }
    m_lists = std::move(scan.lists);
    for (const MapList which : AllLists)
        fill(which);
    return true;
}

MapExport MapViewWindow::exportToText()
{
    MapExport result = exportMap(m_source, m_lists);
    m_session.dialogs().message(result.message);
    return result;
}

} // namespace kestrix::utilities
