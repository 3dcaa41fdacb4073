#include "organizers/ui/TemplateRegistrarWindow.h"

#include "config/ConfigRecord.h"
#include "runtime/FixedText.h"
#include "runtime/WinPath.h"
#include "runtime/ui/AppIcons.h"
#include "runtime/ui/FilterBox.h"
#include "runtime/ui/GuiThreadDialogs.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/ProgressDialog.h"
#include "runtime/ui/QtText.h"
#include "runtime/ui/RowColors.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kestrix::organizers {

namespace {

runtime::MessageRequest note(std::string text)
{
    return {std::move(text), "Template Registrar", runtime::MessageIcon::Exclamation, runtime::Button::Ok,
            runtime::Button::Ok};
}

} // namespace

TemplateRegistrarWindow::TemplateRegistrarWindow(config::Session& session, runtime::DdeClientFactory dde,
                                                 std::filesystem::path listFile, QWidget* parent)
    : ToolWindow(Procedure, session.tools(), session.positions(), parent), m_session(session),
      m_dde(std::move(dde)), m_listFile(std::move(listFile))
{
    m_startEditor = [](const std::string& editor, const std::string& file) {
        return !runtime::isBlank(editor) &&
               QProcess::startDetached(
                   runtime::toQt(editor),
                   {QString::fromStdU16String(runtime::resolveWinPath(file).u16string())});
    };
    setWindowTitle(QStringLiteral("Template Registrar"));
    setWindowIcon(runtime::appIcon("TBTPL"));

    auto* body = new QWidget(this);
    m_view = new QTreeWidget(body);
    m_view->setObjectName(QStringLiteral("list"));
    runtime::showListBold(m_view, m_session.configuration().number(config::Cfg::LookBold, 11) != 0);
    m_view->setRootIsDecorated(false);
    m_view->setUniformRowHeights(true);
    m_view->setHeaderLabels(
        {QStringLiteral("Load"), QStringLiteral("Template File"), QStringLiteral("Template Directory")});
    m_view->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_view->setMinimumWidth(560);
    auto* hint = new QLabel(
        QStringLiteral("To register templates CW must be running with NO App or Screen open."), body);
    hint->setObjectName(QStringLiteral("note"));

    auto* buttons = new QGridLayout;
    struct ButtonSpec
    {
        const char* name;
        const char* text;
        const char* tip;
        void (TemplateRegistrarWindow::*action)();
    };
    const ButtonSpec specs[] = {
        {"add", "&Add", "Add template file to list, Use Scan TPL for fast load",
         &TemplateRegistrarWindow::addFiles},
        {"remove", "Re&move", "Remove selected template", &TemplateRegistrarWindow::removeSelected},
        {"loadToggle", "Load Y/&N", "Toggle Load Yes/No", &TemplateRegistrarWindow::toggleLoad},
        {"view", "&View", "Load template file into editor for viewing",
         &TemplateRegistrarWindow::viewSelected},
        {"save", "&Save", "Save list and exit", nullptr},
        {"registerAll", "&Register All", "Register all templates", &TemplateRegistrarWindow::registerAll},
        {"registerOne", "Register &1", "Register the selected template",
         &TemplateRegistrarWindow::registerSelected},
        {"registerDir", "Register &Dir", "Register all templates in the directory of the selected line",
         &TemplateRegistrarWindow::registerDirectory},
        {"deleteRegistry", "Delete Registr&y", "Delete Registry.TRF, CW Must NOT be running",
         &TemplateRegistrarWindow::deleteRegistryFile},
        {"cancel", "Cancel", "Exit without saving", nullptr},
        {"scan", "Scan &TPL", "Scan CW Subdirectories for Template Files", &TemplateRegistrarWindow::scan},
    };
    int place = 0;
    for (const ButtonSpec& spec : specs) {
        auto* button = new QPushButton(QString::fromLatin1(spec.text), body);
        button->setObjectName(QString::fromLatin1(spec.name));
        button->setToolTip(QString::fromLatin1(spec.tip));
        if (spec.action)
            connect(button, &QPushButton::clicked, this, spec.action);
        buttons->addWidget(button, place / 6, place % 6);
        ++place;
        if (std::string_view(spec.name) == "save")
            m_saveButton = button;
        else if (std::string_view(spec.name) == "cancel")
            connect(button, &QPushButton::clicked, this, &QWidget::close);
    }
    connect(m_saveButton, &QPushButton::clicked, this, &TemplateRegistrarWindow::save);
    connect(m_view, &QTreeWidget::itemDoubleClicked, this, &TemplateRegistrarWindow::viewSelected);

    auto* filter = new runtime::FilterBox(body);
    runtime::filterTree(filter, m_view);
    auto* layout = new QVBoxLayout(body);
    layout->addLayout(runtime::filterRow(body, filter));
    layout->addWidget(m_view, 1);
    layout->addWidget(hint);
    layout->addLayout(buttons);
    setWidget(body);
    runtime::addHelpKey(this, QStringLiteral("~Template_Registrar"));

    TemplateListRead read = readTemplateList(m_listFile);
    m_list = std::move(read.list);
    m_listReadable = !read.error;
    // A list that could not be read must not be saved over the file as empty.
    m_saveButton->setEnabled(m_listReadable);
    fill(0);
    if (const auto told = templateListReadNote(read, runtime::toWinPath(m_listFile)))
        m_session.dialogs().message(*told);
}

void TemplateRegistrarWindow::closeEvent(QCloseEvent* event)
{
    // The worker still uses the list: the window closes once it is done.
    if (m_busy) {
        event->ignore();
        return;
    }
    ToolWindow::closeEvent(event);
}

std::string TemplateRegistrarWindow::clarionRoot() const
{
    return m_session.configuration().text(config::Cfg::CwPath);
}

int TemplateRegistrarWindow::selectedRow() const
{
    const QTreeWidgetItem* item = m_view->currentItem();
    return item ? m_view->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) : -1;
}

void TemplateRegistrarWindow::fill(int select)
{
    m_view->clear();
    for (const TemplateEntry& e : m_list.entries())
        new QTreeWidgetItem(m_view, {runtime::toQt(e.load), runtime::toQt(e.file), runtime::toQt(e.path)});
    if (m_list.empty())
        return;
    select = std::clamp(select, 0, static_cast<int>(m_list.size()) - 1);
    m_view->setCurrentItem(m_view->topLevelItem(select));
}

void TemplateRegistrarWindow::showLoad(int row, const std::string& load)
{
    if (QTreeWidgetItem* item = m_view->topLevelItem(row)) {
        item->setText(0, runtime::toQt(load));
        emit entryShown(row, runtime::toQt(load));
    }
}

void TemplateRegistrarWindow::addFiles()
{
    const std::vector<std::string> chosen = m_session.dialogs().openFiles(
        {"Multi-Select Template Files", "Template Files|*.TPL",
         runtime::withoutTrailingBackslashes(runtime::rtrim(clarionRoot())) + "\\template"});
    std::optional<TemplateEntry> last;
    for (const std::string& path : chosen) {
        const std::string file = runtime::fileNamePart(path);
        const std::string directory = path.substr(0, path.size() - std::min(path.size(), file.size() + 1));
        if (const auto added = m_list.add(directory, file, TemplateLoad::New))
            last = m_list[*added];
    }
    if (last)
        fill(static_cast<int>(*m_list.find(last->path, last->file)));
}

void TemplateRegistrarWindow::removeSelected()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    m_list.remove(static_cast<std::size_t>(row));
    fill(row);
}

void TemplateRegistrarWindow::toggleLoad()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    m_list.toggleLoad(static_cast<std::size_t>(row));
    showLoad(row, m_list[static_cast<std::size_t>(row)].load);
}

void TemplateRegistrarWindow::viewSelected()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const std::string editor = m_session.configuration().text(config::Cfg::Editor);
    const std::string file = m_list[static_cast<std::size_t>(row)].fullPath();
    if (!m_startEditor(editor, file))
        m_session.dialogs().message(note("The editor \"" + editor + "\" could not be started for|" + file +
                                         "||Set the editor in the Configuration."));
}

bool TemplateRegistrarWindow::save()
{
    if (!m_listReadable)
        return false;
    if (const runtime::FileError error = writeTemplateList(m_list, m_listFile)) {
        m_session.dialogs().message(templateListWriteError(error, runtime::toWinPath(m_listFile)));
        return false;
    }
    close();
    return true;
}

void TemplateRegistrarWindow::runRegistration(const std::function<RegisterResult(TemplateRegistrar&)>& job)
{
    runtime::ProgressDialog progress(QStringLiteral("Registering Templates"), this);
    runtime::GuiThreadDialogs dialogs(m_session.dialogs(), &progress);
    TemplateRegistrar registrar(m_list, clarionRoot(), dialogs, m_dde);
    registrar.setTimeout(m_timeout);
    // The list belongs to the worker until it is done; the window only repaints the lines it is told of.
    widget()->setEnabled(false);
    m_busy = true;
    progress.runJob([&](runtime::ProgressReport& report) {
        registrar.setCancelCheck([&report] { return report.cancelRequested(); });
        registrar.setProgress([this, &report](std::size_t index, const std::string& load) {
            const int row = static_cast<int>(index);
            const std::string shown = load;
            QMetaObject::invokeMethod(
                this, [this, row, shown] { showLoad(row, shown); }, Qt::QueuedConnection);
            if (load == TemplateLoad::Now)
                report.step("Registering " + m_list[index].fullPath());
        });
        job(registrar);
    });
    m_busy = false;
    widget()->setEnabled(true);
}

void TemplateRegistrarWindow::registerAll()
{
    runRegistration([](TemplateRegistrar& r) { return r.registerAll(); });
}

void TemplateRegistrarWindow::registerSelected()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    if (m_list[static_cast<std::size_t>(row)].marked()) {
        m_session.dialogs().message(
            note("This template is marked not to load (Load Y/N): it is never registered."));
        return;
    }
    runRegistration([row](TemplateRegistrar& r) { return r.registerOne(static_cast<std::size_t>(row)); });
}

void TemplateRegistrarWindow::registerDirectory()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const std::string directory = m_list[static_cast<std::size_t>(row)].path;
    runRegistration([directory](TemplateRegistrar& r) { return r.registerDirectory(directory); });
}

void TemplateRegistrarWindow::deleteRegistryFile()
{
    deleteRegistry(clarionRoot(), m_session.dialogs());
}

void TemplateRegistrarWindow::scan()
{
    runtime::ProgressDialog progress(QStringLiteral("Scan for Template Files"), this);
    TemplateScanResult result;
    const std::string root = clarionRoot();
    widget()->setEnabled(false);
    m_busy = true;
    progress.runJob([&](runtime::ProgressReport& report) {
        report.step(root);
        result = scanForTemplates(root, [&report] { return report.cancelRequested(); });
    });
    m_busy = false;
    widget()->setEnabled(true);
    if (!result.completed)
        return;
    addScanned(m_list, result);
    fill(selectedRow());
    m_session.dialogs().message(templateScanReport(result));
}

} // namespace kestrix::organizers
