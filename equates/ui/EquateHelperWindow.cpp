#include "equates/ui/EquateHelperWindow.h"

#include "config/ConfigRecord.h"
#include "config/Session.h"
#include "data/DataFileNames.h"
#include "data/DataFileRegistry.h"
#include "data/StandardWarning.h"
#include "equates/EquateRecord.h"
#include "equates/PopupRecord.h"
#include "equates/ui/ClarionHelp.h"
#include "equates/ui/EquateTableModel.h"
#include "equates/ui/LookupCursor.h"
#include "runtime/FixedText.h"
#include "runtime/ui/CachedTextDelegate.h"
#include "runtime/ui/FilterBox.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/PopupMenuText.h"
#include "runtime/ui/QtText.h"
#include "runtime/ui/RowColors.h"

#include <QCloseEvent>

#include <QComboBox>
#include <QCursor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <limits>

namespace kestrix::equates {

namespace {
constexpr const char* Procedure = "EquateBrowse";
constexpr const char* ColumnWidthsEntry = "ListEquateColumnWidths";
constexpr const char* GroupWidthsEntry = "ListEquateGroupWidths";
} // namespace

EquateHelperWindow* EquateHelperWindow::open(config::Session& session, QWidget* parent)
{
    auto equates =
        std::make_shared<data::DataFileUse>(session.files(), data::FileName::Equates, equateLayout());
    if (!*equates)
        return nullptr;
    auto popups = std::make_shared<data::DataFileUse>(session.files(), data::FileName::Popups, popupLayout());
    if (!*popups)
        return nullptr;
    return new EquateHelperWindow(session, std::move(equates), std::move(popups), parent);
}

EquateHelperWindow::EquateHelperWindow(config::Session& session, std::shared_ptr<data::DataFileUse> equates,
                                       std::shared_ptr<data::DataFileUse> popups, QWidget* parent)
    : ToolWindow(Procedure, session.tools(), session.positions(), parent), m_session(session),
      m_equates(*equates->file()), m_popups(*popups->file()), m_list(m_equates)
{
    holdWhileOpen(equates);
    holdWhileOpen(popups);
    setWindowTitle(QStringLiteral("Equate Helper"));
    auto* body = new QWidget(this);

    auto* copy = new QPushButton(QStringLiteral("&Copy"), body);
    copy->setObjectName(QStringLiteral("copy"));
    copy->setToolTip(QStringLiteral("Copy Equate Code to Clipboard"));
    m_see = new QPushButton(QStringLiteral("Play &Sound"), body);
    m_see->setObjectName(QStringLiteral("see"));
    auto* sortLabel = new QLabel(QStringLiteral("Sort:"), body);
    m_sort = new QComboBox(body);
    m_sort->setObjectName(QStringLiteral("sort"));
    for (const std::string& name : equateOrderNames())
        m_sort->addItem(runtime::toQt(name));
    sortLabel->setBuddy(m_sort);
    auto* help = new QPushButton(QStringLiteral("C&W Help"), body);
    help->setObjectName(QStringLiteral("cwHelp"));
    help->setToolTip(QStringLiteral("View Clarion Help on Equate"));
    auto* searchLabel = new QLabel(QStringLiteral("Search:"), body);
    m_search = new QLineEdit(body);
    m_search->setObjectName(QStringLiteral("search"));
    m_search->setMaxLength(40);
    searchLabel->setBuddy(m_search);
    auto* close = new QPushButton(QStringLiteral("Close"), body);

    m_filter = new runtime::FilterBox(body);
    m_types = new QListWidget(body);
    m_types->setObjectName(QStringLiteral("types"));
    m_model = new EquateTableModel(m_list, this);
    m_table = new QTableView(body);
    m_table->setObjectName(QStringLiteral("equates"));
    runtime::showListBold(m_table, m_session.configuration().number(config::Cfg::LookBold, 4) != 0);
    m_table->setModel(m_model);
    m_table->setItemDelegate(new runtime::CachedTextDelegate(m_table));
    m_table->setToolTip(QStringLiteral("Right Click for Menu, Double Click repeats"));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_empty = new QLabel(body);
    m_empty->setObjectName(QStringLiteral("emptyNote"));
    m_empty->setWordWrap(true);
    m_empty->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(copy);
    top->addWidget(m_see);
    top->addWidget(sortLabel);
    top->addWidget(m_sort);
    top->addWidget(help);
    top->addWidget(searchLabel);
    top->addWidget(m_search, 1);
    top->addWidget(close);
    auto* split = new QSplitter(body);
    split->addWidget(m_types);
    split->addWidget(m_table);
    split->setStretchFactor(1, 1);
    split->setSizes({140, 560});
    auto* layout = new QVBoxLayout(body);
    layout->addLayout(top);
    layout->addLayout(runtime::filterRow(body, m_filter));
    layout->addWidget(m_empty);
    layout->addWidget(split, 1);
    setWidget(body);
    resize(760, 420);
    runtime::addHelpKey(this, QStringLiteral("~Equate_Helper"));

    connect(copy, &QPushButton::clicked, this,
            [this, copy] { makeCode(copy->mapToGlobal(QPoint(0, copy->height()))); });
    connect(m_table, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = m_table->indexAt(at);
        if (!index.isValid())
            return;
        m_table->selectRow(index.row());
        makeCode(m_table->viewport()->mapToGlobal(at));
    });
    connect(m_table, &QAbstractItemView::doubleClicked, this, [this] { repeatCode(); });
    connect(m_types, &QListWidget::currentRowChanged, this, [this] { showType(); });
    connect(m_sort, &QComboBox::currentIndexChanged, this, [this] { showType(); });
    connect(m_search, &QLineEdit::textEdited, this, &EquateHelperWindow::search);
    connect(m_filter, &runtime::FilterBox::filterChanged, this, &EquateHelperWindow::applyFilter);
    connect(m_see, &QPushButton::clicked, this, &EquateHelperWindow::see);
    connect(help, &QPushButton::clicked, this, &EquateHelperWindow::help);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // Reading on as the list nears either end.
    connect(m_table->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (value == m_table->verticalScrollBar()->minimum() && m_model->canFetchPrevious()) {
            const int added = m_model->fetchPrevious();
            if (added > 0)
                m_table->scrollTo(m_model->index(added, 0), QAbstractItemView::PositionAtTop);
        }
    });

    restoreWidths();
    const std::vector<std::string> types = m_list.types();
    for (const std::string& type : types)
        m_types->addItem(runtime::toQt(type));
    if (types.empty()) {
        m_empty->setText(
            QStringLiteral("The equates file holds no equate types: the equates were never loaded. "
                           "Load them with Settings, Load Equates."));
        m_empty->show();
        copy->setEnabled(false);
    }
    // Choosing the first type shows it; the type is read once.
    if (m_types->count() > 0 && m_types->currentRow() != 0)
        m_types->setCurrentRow(0);
    else
        showType();
}

EquateHelperWindow::~EquateHelperWindow() = default;

std::optional<EquateRow> EquateHelperWindow::currentEquate() const
{
    return m_model->rowAt(m_table->currentIndex().row());
}

void EquateHelperWindow::showType()
{
    const QListWidgetItem* item = m_types->currentItem();
    const std::string type = item ? runtime::fromQt(item->text()) : std::string();
    m_list.show(type, static_cast<EquateOrder>(std::max(0, m_sort->currentIndex())));
    m_model->reload(std::nullopt);
    if (m_model->rowCount() > 0)
        m_table->selectRow(0);
    if (m_cursorShown) {
        unsetCursor();
        m_cursorShown = false;
    }
    m_seeKind = seeKindFor(type);
    m_see->setEnabled(m_seeKind != SeeKind::None);
    if (m_seeKind != SeeKind::None)
        m_see->setText(runtime::toQt(seeCaption(m_seeKind)));
}

void EquateHelperWindow::search(const QString& typed)
{
    const auto found = m_list.locate(runtime::fromQt(typed));
    if (!found)
        return;
    // A row already read is only selected; any other is read with the page around it.
    const auto known = m_model->rowOf(found->position);
    const int row = known ? *known : m_model->reload(found);
    m_table->selectRow(row);
    m_table->scrollTo(m_model->index(row, 0), QAbstractItemView::PositionAtCenter);
}

void EquateHelperWindow::applyFilter()
{
    // Read again from the start of the type: only rows that hold the text are read into the list.
    m_list.setFilter(m_filter->filter());
    m_model->reload(std::nullopt);
    if (m_model->rowCount() > 0)
        m_table->selectRow(0);
}

bool EquateHelperWindow::showItem(const runtime::ShowRequest& request)
{
    const std::optional<EquateRow> found = m_list.find(request.number, request.key, request.subKey);
    if (!found)
        return false;
    const EquateRow& wanted = *found;
    const QList<QListWidgetItem*> types =
        m_types->findItems(runtime::toQt(wanted.type), Qt::MatchFixedString);
    if (types.isEmpty())
        return false;
    // The row must be in the list to be selected: a filter that leaves it out goes.
    if (!equateRowMatches(wanted, m_list.filter()))
        m_filter->clear();
    m_types->setCurrentItem(types.front());
    const auto known = m_model->rowOf(wanted.position);
    const int row = known ? *known : m_model->reload(wanted);
    m_table->selectRow(row);
    m_table->scrollTo(m_model->index(row, 0), QAbstractItemView::PositionAtCenter);
    deliver(runtime::ToolEvent::Activate);
    return true;
}

void EquateHelperWindow::hand(const CodeResult& result)
{
    if (result.refusal) {
        m_session.dialogs().message(*result.refusal);
        return;
    }
    handEquateCode(m_session, result.code);
}

void EquateHelperWindow::makeCode(const QPoint& where)
{
    const auto equate = currentEquate();
    if (!equate)
        return;
    const auto menu = equateMenu(m_popups, equate->type, equate->name);
    if (!menu)
        return;
    const int choice = runtime::popupMenuChoice(this, menu->items, where);
    if (choice == runtime::SeparatorId)
        return;
    hand(m_coder.use(equateMenuTemplate(m_popups, *menu, choice), equate->name));
}

void EquateHelperWindow::repeatCode()
{
    const auto equate = currentEquate();
    if (!equate)
        return;
    hand(m_coder.repeat(equate->name));
}

void EquateHelperWindow::see()
{
    const auto equate = currentEquate();
    if (!equate)
        return;
    switch (m_seeKind) {
    case SeeKind::Sound:
        if (const auto sound = beepSound(equate->value))
            m_session.dialogs().playSound(*sound);
        break;
    case SeeKind::Cursor:
        if (m_cursorShown) {
            unsetCursor();
            m_cursorShown = false;
            m_see->setText(runtime::toQt(seeCaption(SeeKind::Cursor)));
        } else if (const auto cursor = stockCursor(equate->value)) {
            setCursor(lookupCursor(*cursor));
            m_cursorShown = true;
            m_see->setText(QStringLiteral("Re&store Cursor"));
        } else {
            m_session.dialogs().message(noCursorMessage(equate->name));
        }
        break;
    case SeeKind::Icon:
        m_session.dialogs().message(iconExample(equate->name, equate->value));
        break;
    case SeeKind::Warn: {
        if (m_session.dialogs().message(warnQuestion(equate->name)) != runtime::Button::Yes)
            break;
        const runtime::FileError current{999, ">>File Driver Error<<", 0};
        for (const WarnShow& show : warnSequence(equate->value)) {
            if (!show.noteBefore.empty())
                m_session.dialogs().message({show.noteBefore, "STANDARD WARNING",
                                             runtime::MessageIcon::Asterisk, runtime::Button::Ok,
                                             runtime::Button::Ok});
            data::showStandardWarning(m_session.dialogs(), show.code,
                                      {show.text1, ">>Text2<<", show.alternate}, current);
        }
        // The halt goes through the frame's own close, so nothing open is lost.
        if (QWidget* frame = window())
            QMetaObject::invokeMethod(frame, &QWidget::close, Qt::QueuedConnection);
        break;
    }
    case SeeKind::None:
        break;
    }
}

void EquateHelperWindow::help()
{
    const auto equate = currentEquate();
    const QListWidgetItem* item = m_types->currentItem();
    const std::string type = item ? runtime::fromQt(item->text()) : std::string();
    const HelpTarget target = equateHelp(type, equate ? equate->name : std::string(),
                                         m_session.configuration().text(config::Cfg::CwPath));
    openClarionHelp(m_session.dialogs(), target, "~Equate_Helper");
}

void EquateHelperWindow::restoreWidths()
{
    const runtime::ListLayoutStore layouts = m_session.listLayouts();
    std::vector<int> widths = equateColumnWidths();
    if (const auto stored = layouts.restore(Procedure, ColumnWidthsEntry, EquateLayoutVersion)) {
        const std::vector<int> cells = parseWidthCells(*stored);
        for (std::size_t i = 0; i < cells.size() && i < widths.size(); ++i)
            widths[i] = cells[i];
    }
    for (std::size_t i = 0; i < widths.size(); ++i)
        m_table->setColumnWidth(static_cast<int>(i), widths[i]);
}

void EquateHelperWindow::saveWidths()
{
    std::vector<int> widths;
    for (int i = 0; i < m_model->columnCount(); ++i)
        widths.push_back(m_table->columnWidth(i));
    const runtime::ListLayoutStore layouts = m_session.listLayouts();
    layouts.save(Procedure, GroupWidthsEntry, EquateLayoutVersion, ""); // the list has no column groups
    layouts.save(Procedure, ColumnWidthsEntry, EquateLayoutVersion, widthCells(widths));
}

void EquateHelperWindow::onEquatesLoading()
{
    close();
}

void EquateHelperWindow::closeEvent(QCloseEvent* event)
{
    saveWidths();
    ToolWindow::closeEvent(event);
}

} // namespace kestrix::equates
