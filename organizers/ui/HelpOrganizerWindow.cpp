#include "organizers/ui/HelpOrganizerWindow.h"

#include "config/ConfigRecord.h"
#include "data/StandardWarning.h"
#include "organizers/HelpList.h"
#include "organizers/HelpScan.h"
#include "runtime/FixedText.h"
#include "runtime/WinPath.h"
#include "runtime/ui/AppIcons.h"
#include "runtime/ui/BrowseList.h"
#include "runtime/ui/GuiThreadDialogs.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/ProgressDialog.h"
#include "runtime/ui/QtDocumentLauncher.h"
#include "runtime/ui/QtText.h"
#include "runtime/ui/RowColors.h"
#include "runtime/ui/WindowPlacement.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace kestrix::organizers {

using runtime::toQt;

namespace {

constexpr const char* HelpTopic = "~Help_Organizer";

QStringList columnTitles()
{
    QStringList titles;
    for (const HelpColumn& c : helpColumns())
        titles << QString::fromLatin1(c.title);
    return titles;
}

int fieldSize(int field)
{
    return helpListLayout()->field(field).size;
}

} // namespace

HelpOrganizerWindow::HelpOrganizerWindow(config::Session& session, runtime::KeyedFile& file, QWidget* parent)
    : ToolWindow(HelpBrowseProcedure, session.tools(), session.positions(), parent), m_session(session),
      m_organizer(file, session.dialogs()), m_ownLauncher(std::make_unique<runtime::QtDocumentLauncher>()),
      m_launcher(m_ownLauncher.get())
{
    setWindowTitle(QStringLiteral("Help Organizer"));
    setWindowIcon(runtime::appIcon("TBHELPLS"));
    m_body = new QWidget(this);
    m_tabs = new QTabBar(m_body);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    for (const HelpTab& tab : helpTabs())
        m_tabs->addTab(QString::fromLatin1(tab.caption));
    m_locator = new QLineEdit(m_body);
    m_locator->setObjectName(QStringLiteral("locator"));
    m_list = new runtime::BrowseList(columnTitles(), m_locator, m_body);
    m_list->setObjectName(QStringLiteral("list"));
    runtime::showListBold(m_list, m_session.configuration().number(config::Cfg::LookBold, 10) != 0);
    m_list->setTextElideMode(Qt::ElideNone);
    m_list->header()->setStretchLastSection(true);
    const std::vector<int> widths = restoreHelpColumnWidths(m_session.listLayouts());
    for (std::size_t i = 0; i < widths.size(); ++i)
        m_list->setColumnWidth(static_cast<int>(i), widths[i]);
    connect(m_tabs, &QTabBar::currentChanged, this, [this] { reload(); });
    connect(m_list, &runtime::BrowseList::activated, this, [this] { view(); });

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const QString& text, const char* name, auto slot) {
        QPushButton* b = runtime::addBrowseButton(buttons, m_body, text, name);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    button(QStringLiteral("&View"), "view", [this] { view(); });
    button(QStringLiteral("&Insert"), "insert", [this] { edit(true); });
    button(QStringLiteral("&Change"), "change", [this] { edit(false); });
    button(QStringLiteral("&Delete"), "delete", [this] { remove(); });
    button(QStringLiteral("Scan Hlp"), "scan", [this] {
        scan();
    })->setToolTip(QStringLiteral("Scan CW Subdirectories for Help Files"));
    buttons->addStretch();
    button(QStringLiteral("Close"), "close", [this] { close(); });

    auto* layout = new QVBoxLayout(m_body);
    layout->addWidget(m_tabs);
    layout->addLayout(runtime::filterRowFor(m_list, m_body));
    layout->addLayout(runtime::locatorRow(m_body, m_locator));
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    setWidget(m_body);
    resize(700, 420);
    runtime::addHelpKey(this, QString::fromLatin1(HelpTopic));
    reload();
}

HelpOrganizerWindow::~HelpOrganizerWindow() = default;

char HelpOrganizerWindow::currentType() const
{
    const int index = std::max(0, m_tabs->currentIndex());
    return helpTabs()[static_cast<std::size_t>(index)].type;
}

void HelpOrganizerWindow::reload()
{
    m_rows = m_organizer.entries(currentType());
    std::vector<QStringList> rows;
    std::vector<std::string> keys;
    for (const runtime::Record& r : m_rows) {
        const HelpEntry e = helpEntryOf(r);
        rows.push_back({toQt(e.name), toQt(e.file), toQt(e.path)});
        keys.push_back(runtime::upper(e.name));
    }
    m_list->setRows(rows, keys);
    // Names and paths are shown whole: a column never stays narrower than its longest text.
    for (int i = 0; i < m_list->columnCount(); ++i) {
        for (int row = 0; row < m_list->topLevelItemCount(); ++row)
            m_list->topLevelItem(row)->setToolTip(i, m_list->topLevelItem(row)->text(i));
        if (i + 1 < m_list->columnCount()) {
            const int before = m_list->columnWidth(i);
            m_list->resizeColumnToContents(i);
            m_list->setColumnWidth(i, std::max(before, m_list->columnWidth(i)));
        }
    }
    if (!m_list->currentItem() && m_list->topLevelItemCount() > 0)
        m_list->setCurrentRow(0);
}

const runtime::Record* HelpOrganizerWindow::currentRecord() const
{
    const auto row = m_list->currentRow();
    return row && *row < m_rows.size() ? &m_rows[*row] : nullptr;
}

void HelpOrganizerWindow::select(const HelpEntry& entry)
{
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (helpEntryOf(m_rows[i]) == entry) {
            m_list->setCurrentRow(i);
            return;
        }
    }
}

void HelpOrganizerWindow::view()
{
    const runtime::Record* r = currentRecord();
    if (!r)
        return;
    const std::string editor = m_session.configuration().text(config::Cfg::Editor);
    if (auto problem = m_organizer.view(helpEntryOf(*r), editor, *m_launcher))
        m_session.dialogs().message(*problem);
}

void HelpOrganizerWindow::edit(bool adding)
{
    const runtime::Record* r = currentRecord();
    if (!adding && !r)
        return;
    HelpUpdateWindow form(m_organizer, m_session, adding ? std::nullopt : std::optional<runtime::Record>(*r),
                          currentType(), this);
    if (form.exec() != QDialog::Accepted)
        return;
    const HelpEntry saved = form.entry();
    const QSignalBlocker block(m_tabs);
    m_tabs->setCurrentIndex(static_cast<int>(helpTabIndex(saved.type)));
    reload();
    select(saved);
}

void HelpOrganizerWindow::remove()
{
    const runtime::Record* r = currentRecord();
    if (!r)
        return;
    if (data::showStandardWarning(m_session.dialogs(), data::Warn::StandardDelete) != runtime::Button::Ok)
        return;
    runtime::Record doomed = *r;
    const std::size_t row = *m_list->currentRow();
    m_organizer.remove(doomed);
    reload();
    if (!m_rows.empty())
        m_list->setCurrentRow(std::min(row, m_rows.size() - 1));
}

void HelpOrganizerWindow::scan()
{
    const auto clear = clearChoiceFor(m_session.dialogs().message(clearQuestion()));
    if (!clear)
        return;
    runtime::ProgressDialog progress(QStringLiteral("Scan for files..."), this);
    progress.setObjectName(QStringLiteral("scanProgress"));
    runtime::GuiThreadDialogs dialogs(m_session.dialogs(), &progress);
    HelpScanner scanner(m_organizer.file(), m_session.configuration().text(config::Cfg::CwPath), dialogs);
    HelpScanResult result;
    bool cancelled = false;
    // The list is the worker's until it is done: nothing here may touch the file meanwhile.
    m_scanning = true;
    m_body->setEnabled(false);
    progress.runJob([&](runtime::ProgressReport& report) {
        scanner.setStatus([&report](const std::string& step) { report.step(step); });
        scanner.setCancelCheck([&report] { return report.cancelRequested(); });
        result = scanner.run(*clear);
        cancelled = report.cancelRequested();
    });
    m_body->setEnabled(true);
    m_scanning = false;
    reload();
    // A scan stopped by a failed write has said why already.
    if (result.completed || cancelled)
        m_session.dialogs().message(scanEndMessage(result, cancelled));
}

void HelpOrganizerWindow::saveWidths()
{
    std::vector<int> widths;
    for (int i = 0; i < m_list->columnCount(); ++i)
        widths.push_back(m_list->columnWidth(i));
    saveHelpColumnWidths(m_session.listLayouts(), widths);
}

void HelpOrganizerWindow::closeEvent(QCloseEvent* event)
{
    if (m_scanning) {
        event->ignore();
        return;
    }
    saveWidths();
    ToolWindow::closeEvent(event);
}

HelpUpdateWindow::HelpUpdateWindow(HelpOrganizer& organizer, config::Session& session,
                                   std::optional<runtime::Record> record, char type, QWidget* parent)
    : QDialog(parent), m_organizer(organizer), m_session(session), m_record(std::move(record))
{
    setObjectName(QString::fromLatin1(HelpUpdateProcedure));
    setWindowTitle(m_record ? QStringLiteral("Changing Help List") : QStringLiteral("Adding to Help List"));
    HelpEntry start;
    start.type = type;
    if (m_record)
        start = helpEntryOf(*m_record);

    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("tab"));
    for (const HelpTab& tab : helpTabs())
        m_type->addItem(toQt(helpTypeName(tab.type)));
    m_type->setCurrentIndex(static_cast<int>(helpTabIndex(start.type)));
    const auto entryBox = [this](const char* name, const std::string& text, int field) {
        auto* box = new QLineEdit(toQt(text), this);
        box->setObjectName(QString::fromLatin1(name));
        box->setMaxLength(fieldSize(field)); // a longer value cannot be typed
        box->setMinimumWidth(420);
        return box;
    };
    m_name = entryBox("name", start.name, Hlp::Name);
    m_file = entryBox("file", start.file, Hlp::File);
    m_path = entryBox("path", start.path, Hlp::Path);
    auto* lookup = new QPushButton(QStringLiteral("&Lookup File"), this);
    lookup->setObjectName(QStringLiteral("lookup"));
    lookup->setAutoDefault(false);
    connect(lookup, &QPushButton::clicked, this, &HelpUpdateWindow::lookupFile);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Tab:"), m_type);
    form->addRow(QStringLiteral("&Name:"), m_name);
    form->addRow(QString(), lookup);
    form->addRow(QStringLiteral("&File:"), m_file);
    form->addRow(QStringLiteral("&Path:"), m_path);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &HelpUpdateWindow::accept);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    runtime::addHelpKey(this, QString::fromLatin1(HelpTopic));
    runtime::restorePlacement(this, m_session.positions(), HelpUpdateProcedure);
}

HelpUpdateWindow::~HelpUpdateWindow()
{
    runtime::savePlacement(this, m_session.positions(), HelpUpdateProcedure);
}

HelpEntry HelpUpdateWindow::entry() const
{
    HelpEntry e;
    e.type = helpTabs()[static_cast<std::size_t>(std::max(0, m_type->currentIndex()))].type;
    e.name = runtime::clip(runtime::fromQt(m_name->text()));
    e.file = std::string(runtime::trim(runtime::fromQt(m_file->text())));
    e.path = runtime::withoutTrailingBackslashes(runtime::trim(runtime::fromQt(m_path->text())));
    return e;
}

void HelpUpdateWindow::lookupFile()
{
    const HelpEntry current = entry();
    const auto chosen = m_session.dialogs().openFile(
        lookupFileRequest(current, m_session.configuration().text(config::Cfg::CwPath)));
    if (!chosen)
        return;
    const HelpEntry found = withLookedUpFile(current, *chosen);
    const int fileSize = fieldSize(Hlp::File);
    const int pathSize = fieldSize(Hlp::Path);
    if (static_cast<int>(found.file.size()) > fileSize || static_cast<int>(found.path.size()) > pathSize) {
        m_session.dialogs().message(
            {.text = "The chosen file's name or folder is longer than the list keeps (" +
                     std::to_string(fileSize) + " and " + std::to_string(pathSize) + " characters):|" +
                     *chosen,
             .caption = "Update Help List",
             .icon = runtime::MessageIcon::Exclamation});
        return;
    }
    m_file->setText(toQt(found.file));
    m_path->setText(toQt(found.path));
}

void HelpUpdateWindow::accept()
{
    const HelpEntry e = entry();
    if (auto problem = m_organizer.checkEntry(e)) {
        m_session.dialogs().message(*problem);
        return;
    }
    const bool saved = m_record ? m_organizer.change(*m_record, e) : m_organizer.add(e);
    if (saved)
        QDialog::accept();
}

} // namespace kestrix::organizers
