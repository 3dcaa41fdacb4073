#include "dictionary/ui/DictFilesWindow.h"

#include "config/ConfigRecord.h"
#include "dictionary/BrowseTexts.h"
#include "dictionary/FileTree.h"
#include "dictionary/ui/DictTreeWindow.h"
#include "dictionary/ui/DictionaryTools.h"
#include "runtime/FixedText.h"
#include "runtime/ui/AppIcons.h"
#include "runtime/ui/FilterBox.h"
#include "runtime/ui/FontConversion.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/QtText.h"
#include "runtime/ui/RowColors.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kestrix::dictionary {

namespace {

struct Column
{
    const char* title;
    int field;
    int characters;
};
constexpr Column Columns[] = {{"File Name", Dif::FileName, 50},      {"Prefix", Dif::Prefix, 14},
                              {"Description", Dif::Description, 40}, {"Driver", Dif::Driver, 10},
                              {"Options", Dif::DriverString, 60},    {"Name", Dif::FullName, 60},
                              {"Attributes", Dif::FileSpec, 80},     {"User Options", Dif::UserOptions, 80}};
constexpr const char* InfoPrompts[] = {"File Name:",     "Prefix:", "Description:", "Driver:",
                                       "Driver String:", "Name():", "Attributes:",  "User Options:"};

// Reads DicInfo; on another version offers the re-import and reads the new store.
std::unique_ptr<DictionaryStore> openCurrent(config::Session& session, const std::string& name)
{
    auto store = std::make_unique<DictionaryStore>(name);
    const OpenState state = store->openForBrowsing(session.dialogs());
    if (state == OpenState::Ready)
        return store;
    if (state != OpenState::OlderVersion || !store->infoRecord())
        return nullptr;
    const runtime::Record info = *store->infoRecord();
    if (session.dialogs().message(olderVersionQuestion(name, info)) != runtime::Button::Yes)
        return nullptr;
    store->close();
    if (!importWithProgress(session, runtime::clip(info.text(Dinfo::ImportName))).completed)
        return nullptr;
    store = std::make_unique<DictionaryStore>(name);
    return store->openForBrowsing(session.dialogs()) == OpenState::Ready ? std::move(store) : nullptr;
}

} // namespace

DictFilesWindow* DictFilesWindow::open(config::Session& session, const std::string& store, QWidget* parent)
{
    std::unique_ptr<DictionaryStore> opened = openCurrent(session, store);
    if (!opened)
        return nullptr;
    return new DictFilesWindow(session, std::move(opened), parent);
}

DictFilesWindow::DictFilesWindow(config::Session& session, std::unique_ptr<DictionaryStore> store,
                                 QWidget* parent)
    : ToolWindow(Procedure, session.tools(), session.positions(), parent), m_session(session),
      m_store(std::move(store))
{
    setWindowIcon(runtime::appIcon("TBDICT"));
    auto* body = new QWidget(this);
    auto* menus = new QMenuBar(body);
    menus->addMenu(QStringLiteral("&Dictionary"))->addAction(QStringLiteral("&Update"), this, [this] {
        update();
    });
    auto* tools = new QToolBar(body);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const auto button = [&](const QString& tip, const char* name, QStyle::StandardPixmap icon, auto slot) {
        auto* b = new QToolButton(tools);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(tip);
        b->setText(tip);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setIcon(style()->standardIcon(icon));
        connect(b, &QToolButton::clicked, this, slot);
        tools->addWidget(b);
        return b;
    };
    // The program's icon set has none for these four; the platform's reload and title-bar glyphs say
    // what each does.
    m_update = button(QStringLiteral("Update Dictionary"), "updateDictionary", QStyle::SP_BrowserReload,
                      [this] { update(); });
    button(QStringLiteral("Minimize File Views"), "minimizeViews", QStyle::SP_TitleBarMinButton,
           [this] { minimizeTrees(); });
    button(QStringLiteral("Restore File Views"), "restoreViews", QStyle::SP_TitleBarNormalButton,
           [this] { restoreTrees(); });
    button(QStringLiteral("Close File Views"), "closeViews", QStyle::SP_TitleBarCloseButton,
           [this] { closeTrees(); });
    m_list = new QTreeWidget(body);
    m_list->setObjectName(QStringLiteral("files"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setToolTip(QStringLiteral("Double Click on File to see Fields, Right click for Info"));
    QStringList titles;
    for (const Column& c : Columns)
        titles << QString::fromLatin1(c.title);
    m_list->setHeaderLabels(titles);
    const int charWidth = m_list->fontMetrics().averageCharWidth();
    const std::vector<int> saved = restoreFilesListWidths(session.listLayouts(), std::size(Columns));
    for (std::size_t i = 0; i < std::size(Columns); ++i) {
        const int width = saved[i] > 0 ? saved[i] : std::min(Columns[i].characters, 24) * charWidth;
        m_list->setColumnWidth(static_cast<int>(i), width);
    }
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QTreeWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QTreeWidgetItem* item = m_list->itemAt(at)) {
            QDialog* info = fileInfo(m_list->indexOfTopLevelItem(item));
            info->exec();
            delete info;
        }
    });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { openTree(m_list->indexOfTopLevelItem(item)); });
    auto* filter = new runtime::FilterBox(body);
    runtime::filterTree(filter, m_list);
    auto* layout = new QVBoxLayout(body);
    layout->setMenuBar(menus);
    layout->addWidget(tools);
    layout->addLayout(runtime::filterRow(body, filter));
    layout->addWidget(m_list);
    onConfigurationChanged();
    setWidget(body);
    resize(720, 360);
    runtime::addHelpKey(this, QStringLiteral("~Browse_Dic_File"));
    reload();
}

DictFilesWindow::~DictFilesWindow()
{
    std::vector<int> widths;
    for (int i = 0; i < m_list->columnCount(); ++i)
        widths.push_back(m_list->columnWidth(i));
    saveFilesListWidths(m_session.listLayouts(), widths);
}

void DictFilesWindow::onConfigurationChanged()
{
    runtime::applyFont(m_list, config::fontOf(m_session.configuration(), config::FontRow::DictionaryFile));
    if (m_session.configuration().number(config::Cfg::LookBold, 7) != 0)
        runtime::showListBold(m_list, true);
}

void DictFilesWindow::reload()
{
    m_list->clear();
    m_rows = m_store->files().readAll(Dif::ByFileId);
    for (const runtime::Record& r : m_rows) {
        QStringList texts;
        for (const Column& c : Columns)
            texts << runtime::toQt(runtime::rtrim(r.text(c.field)));
        new QTreeWidgetItem(m_list, texts);
    }
    const runtime::Record& info = *m_store->infoRecord();
    setWindowTitle(runtime::toQt(filesBrowseTitle(m_store->names().container, info)));
    m_update->setToolTip(runtime::toQt(updateTip(info)));
}

DictTreeWindow* DictFilesWindow::openTree(int row)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return nullptr;
    DictTreeWindow* tree = DictTreeWindow::open(
        m_session, m_store->names().container,
        runtime::clip(m_rows[static_cast<std::size_t>(row)].text(Dif::FileName)), parentWidget());
    if (!tree)
        return nullptr;
    m_trees.emplace_back(tree);
    if (QMdiArea* area = mdiArea()) {
        area->addSubWindow(tree);
        tree->show();
    }
    return tree;
}

QDialog* DictFilesWindow::fileInfo(int row)
{
    auto* dialog = new QDialog(this);
    dialog->setObjectName(QStringLiteral("fileInfo"));
    dialog->setWindowTitle(QStringLiteral("File Info"));
    auto* form = new QFormLayout;
    if (row >= 0 && row < static_cast<int>(m_rows.size())) {
        const runtime::Record& r = m_rows[static_cast<std::size_t>(row)];
        for (std::size_t i = 0; i < std::size(Columns); ++i) {
            auto* value = new QLineEdit(runtime::toQt(runtime::rtrim(r.text(Columns[i].field))), dialog);
            value->setReadOnly(true);
            value->setObjectName(QString::fromLatin1(Columns[i].title).remove(QLatin1Char(' ')));
            form->addRow(QString::fromLatin1(InfoPrompts[i]), value);
        }
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    return dialog;
}

void DictFilesWindow::update()
{
    const std::string store = m_store->names().container;
    closeTrees();
    m_store->close();
    reimportWithProgress(m_session, store);
    auto reopened = std::make_unique<DictionaryStore>(store);
    if (reopened->openForBrowsing(m_session.dialogs()) != OpenState::Ready)
        return;
    m_store = std::move(reopened);
    reload();
}

void DictFilesWindow::minimizeTrees()
{
    for (const QPointer<DictTreeWindow>& t : m_trees) {
        if (t)
            t->showMinimized();
    }
}

void DictFilesWindow::restoreTrees()
{
    for (const QPointer<DictTreeWindow>& t : m_trees) {
        if (t)
            t->showNormal();
    }
}

void DictFilesWindow::closeTrees()
{
    for (const QPointer<DictTreeWindow>& t : m_trees) {
        if (t)
            t->close();
    }
    m_trees.clear();
}

} // namespace kestrix::dictionary
