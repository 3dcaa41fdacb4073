#include "keyanalysis/ui/AltKeyAnalysisWindow.h"

#include "keyanalysis/KeyConflicts.h"
#include "runtime/ui/AppIcons.h"
#include "runtime/ui/FilterBox.h"
#include "runtime/ui/FontConversion.h"
#include "runtime/ui/QtText.h"
#include "runtime/ui/RowColors.h"
#include "runtime/ui/WindowPlacement.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kestrix::keyanalysis {

using runtime::toQt;

namespace {

void paint(QTreeWidgetItem* item, const Colours& c, int columns)
{
    runtime::paintRow(item, columns, c.fg, c.bg);
}

QTreeWidget* list(QWidget* parent, const QStringList& headers, const char* name)
{
    auto* tree = new QTreeWidget(parent);
    tree->setObjectName(QString::fromLatin1(name));
    tree->setHeaderLabels(headers);
    tree->setRootIsDecorated(false);
    tree->setUniformRowHeights(true);
    return tree;
}

} // namespace

TabChoice chooseTabInteractively(QWidget* parent, const std::vector<TabEntry>& tabs)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Tab Selection"));
    auto* text = new QLabel(
        QStringLiteral("Your window has a sheet, you can limit the analysis to one, all or no tabs"),
        &dialog);
    auto* table = list(&dialog, {QStringLiteral("No."), QStringLiteral("Description")}, "tabList");
    for (const TabEntry& tab : tabs)
        new QTreeWidgetItem(table, {QString::number(tab.num), toQt(tab.name)});
    table->setCurrentItem(table->topLevelItem(0));
    auto* buttons = new QDialogButtonBox(&dialog);
    auto* select = buttons->addButton(QStringLiteral("Select"), QDialogButtonBox::AcceptRole);
    auto* all = buttons->addButton(QStringLiteral("All Tabs"), QDialogButtonBox::RejectRole);
    auto* none = buttons->addButton(QStringLiteral("None"), QDialogButtonBox::ActionRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    TabChoice choice;
    QObject::connect(select, &QPushButton::clicked, &dialog, [&] {
        const int row = table->indexOfTopLevelItem(table->currentItem());
        if (row >= 0) {
            choice = {TabMode::One, static_cast<std::size_t>(row)};
            dialog.accept();
        }
    });
    QObject::connect(table, &QTreeWidget::itemDoubleClicked, select, &QPushButton::click);
    QObject::connect(all, &QPushButton::clicked, &dialog, &QDialog::reject);
    QObject::connect(none, &QPushButton::clicked, &dialog, [&] {
        choice = {TabMode::None, 0};
        dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(text);
    layout->addWidget(table);
    layout->addWidget(buttons);
    // The analysis runs as the window opens, before it is shown: the active window then stands in for it.
    if (parent)
        dialog.setWindowIcon(parent->windowIcon());
    runtime::centreOn(&dialog, parent);
    dialog.exec();
    return choice;
}

AltKeyAnalysisWindow::AltKeyAnalysisWindow(runtime::DialogService& dialogs,
                                           runtime::SystemClipboard& clipboard, FrameStore frames,
                                           bool showDebugTabs, runtime::ToolRegistry& registry,
                                           runtime::WindowPositionStore positions, QWidget* parent)
    : ToolWindow("AltKeyAnalysis", registry, std::move(positions), parent), m_dialogs(dialogs),
      m_clipboard(clipboard), m_analysis(dialogs, std::move(frames))
{
    setWindowIcon(runtime::appIcon("TBKEYANA.ICO"));
    m_chooseTab = [this](const std::vector<TabEntry>& tabs) { return chooseTabInteractively(this, tabs); };
    auto* body = new QWidget(this);
    m_tabs = new QTabWidget(body);

    auto* altPage = new QWidget(body);
    m_alt = list(altPage,
                 {QStringLiteral("Alt+"), QStringLiteral("Prompt"), QStringLiteral("Type"),
                  QStringLiteral("Available Keys")},
                 "altList");
    m_alt->setToolTip(QStringLiteral("Double Click for Suggestion"));
    connect(m_alt, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { showSuggestions(m_alt->indexOfTopLevelItem(item)); });
    m_sort = new QComboBox(altPage);
    m_sort->setObjectName(QStringLiteral("sortBy"));
    m_sort->addItems({QStringLiteral("Alt Key"), QStringLiteral("Prompt"), QStringLiteral("Type+Prompt"),
                      QStringLiteral("Type+Order"), QStringLiteral("Tab Order")});
    connect(m_sort, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_analysis.sort(index + 1);
        refresh();
    });
    auto* sortRow = new QHBoxLayout;
    sortRow->addWidget(new QLabel(QStringLiteral("Sort by:"), altPage));
    sortRow->addWidget(m_sort);
    sortRow->addStretch();
    auto* altLayout = new QVBoxLayout(altPage);
    altLayout->addWidget(m_alt);
    altLayout->addLayout(sortRow);
    m_tabs->addTab(altPage, QStringLiteral("&Alt Keys"));

    m_hot =
        list(body, {QStringLiteral("Hot Key"), QStringLiteral("Type"), QStringLiteral("Control")}, "hotList");
    m_tabs->addTab(m_hot, QStringLiteral("&Hot Keys"));
    m_menu = list(body, {QStringLiteral("Menu Tree")}, "menuTree");
    m_menu->setRootIsDecorated(true);
    m_tabs->addTab(m_menu, QStringLiteral("&Menu"));
    m_code = new QListWidget(body);
    m_code->setObjectName(QStringLiteral("codeList"));
    m_tabs->addTab(m_code, QStringLiteral("Co&de"));
    if (showDebugTabs) {
        m_read = list(body,
                      {QStringLiteral("Level"), QStringLiteral("Type"), QStringLiteral("Sheet"),
                       QStringLiteral("ShNo"), QStringLiteral("Tab#"), QStringLiteral("Line")},
                      "readList");
        m_tabs->addTab(m_read, QStringLiteral("Read"));
        m_debug = list(body,
                       {QStringLiteral("Line"), QStringLiteral("Level"), QStringLiteral("Alt"),
                        QStringLiteral("Seq"), QStringLiteral("Frame"), QStringLiteral("Name"),
                        QStringLiteral("Path"), QStringLiteral("MenuPath")},
                       "debugList");
        m_tabs->addTab(m_debug, QStringLiteral("Debug"));
    }

    auto* frameBox = new QGroupBox(QStringLiteral("Frame"), body);
    m_frameName = new QLabel(frameBox);
    m_frameName->setObjectName(QStringLiteral("frameName"));
    m_frameUpdate = new QLabel(frameBox);
    m_frameStatus = new QLabel(frameBox);
    m_frameStatus->setObjectName(QStringLiteral("frameStatus"));
    m_include = new QPushButton(frameBox);
    m_include->setObjectName(QStringLiteral("frameInclude"));
    m_save = new QPushButton(QStringLiteral("&Save"), frameBox);
    m_save->setObjectName(QStringLiteral("frameSave"));
    auto* read = new QPushButton(QStringLiteral("&Read Clipboard"), frameBox);
    read->setObjectName(QStringLiteral("readClipboard"));
    read->setToolTip(QStringLiteral("Read current Clipboard and analyze Window"));
    connect(read, &QPushButton::clicked, this, &AltKeyAnalysisWindow::readClipboard);
    connect(m_save, &QPushButton::clicked, this, [this] {
        m_analysis.saveFrame();
        refresh();
    });
    connect(m_include, &QPushButton::clicked, this, [this] {
        m_analysis.toggleInclude(m_clipboard.text(), m_chooseTab);
        refresh();
    });
    auto* frameLayout = new QGridLayout(frameBox);
    frameLayout->addWidget(m_frameName, 0, 0);
    frameLayout->addWidget(m_frameUpdate, 0, 1);
    frameLayout->addWidget(m_frameStatus, 1, 0, 1, 2);
    frameLayout->addWidget(m_include, 0, 2);
    frameLayout->addWidget(m_save, 1, 2);
    frameLayout->addWidget(read, 0, 3, 2, 1);

    // One box for every tab's list: what is looked for (a key, a prompt) is the same on each.
    auto* filter = new runtime::FilterBox(body);
    for (QTreeWidget* tree : {m_alt, m_hot, m_menu, m_read, m_debug}) {
        if (tree)
            runtime::filterTree(filter, tree);
    }
    runtime::filterList(filter, m_code);

    auto* layout = new QVBoxLayout(body);
    layout->addLayout(runtime::filterRow(body, filter));
    layout->addWidget(m_tabs);
    layout->addWidget(frameBox);
    setWidget(body);
    resize(640, 460);
}

void AltKeyAnalysisWindow::readClipboard()
{
    m_analysis.analyse(m_clipboard.text(), m_chooseTab);
    refresh();
}

void AltKeyAnalysisWindow::refresh()
{
    const AnalysisQueues& q = m_analysis.queues();
    setWindowTitle(toQt(windowCaption(q)));
    m_tabs->setTabText(0, toQt(altCaption(q)));
    m_tabs->setTabText(1, toQt(hotCaption(q)));
    m_tabs->setTabText(2, toQt(menuCaption(q)));

    m_alt->clear();
    for (const AltRow& r : q.alt) {
        auto* item =
            new QTreeWidgetItem(m_alt, {toQt(r.key == NoKey ? std::string(" ") : std::string(1, r.key)),
                                        toQt(r.name), toQt(r.type), toQt(r.available)});
        paint(item, r.colours, 4);
    }
    m_hot->clear();
    for (const HotRow& r : q.hot)
        paint(new QTreeWidgetItem(m_hot, {toQt(r.equate), toQt(r.type), toQt(r.control)}), r.colours, 3);
    m_menu->clear();
    std::vector<QTreeWidgetItem*> parents;
    for (const MenuRow& r : q.menu) {
        const std::size_t depth = static_cast<std::size_t>(std::max(r.level, 1));
        parents.resize(std::min(parents.size(), depth - 1));
        QTreeWidgetItem* item =
            parents.empty() ? new QTreeWidgetItem(m_menu) : new QTreeWidgetItem(parents.back());
        item->setText(0, toQt(r.line));
        paint(item, r.colours, 1);
        parents.push_back(item);
    }
    m_menu->expandAll();
    m_code->clear();
    for (const std::string& line : q.code)
        m_code->addItem(toQt(line));
    if (m_read) {
        m_read->clear();
        for (const RawLine& r : q.raw)
            new QTreeWidgetItem(m_read,
                                {QString::number(r.level), toQt(r.levelType), QString::number(r.sheetLevel),
                                 QString::number(r.sheetNum), QString::number(r.tab), toQt(r.line)});
        m_debug->clear();
        for (const MenuRow& r : q.menu)
            new QTreeWidgetItem(m_debug,
                                {toQt(r.line), QString::number(r.level), toQt(std::string(1, r.altKey)),
                                 QString::number(r.seq), QString::number(r.frame), toQt(r.name), toQt(r.path),
                                 toQt(r.menuPath)});
    }
    m_frameName->setText(toQt(q.frame.name));
    m_frameUpdate->setText(toQt(q.frame.lastUpdate));
    m_frameStatus->setText(toQt(q.frame.status));
    m_include->setText(toQt(q.frame.button.empty() ? std::string("In&clude") : q.frame.button));
    m_include->setEnabled(q.frame.buttonEnabled);
    m_save->setEnabled(q.frame.saveEnabled);
}

void AltKeyAnalysisWindow::showSuggestions(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_analysis.queues().alt.size())
        return;
    m_dialogs.message(m_analysis.suggestionsFor(static_cast<std::size_t>(row)));
    m_alt->setCurrentItem(m_alt->topLevelItem(row));
}

} // namespace kestrix::keyanalysis
