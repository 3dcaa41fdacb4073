#include "utilities/ui/ErrorHelperWindow.h"

#include "config/ConfigRecord.h"
#include "runtime/WinPath.h"
#include "runtime/ui/AppIcons.h"
#include "runtime/ui/FilterBox.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/NamedButton.h"
#include "runtime/ui/QtText.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

namespace kestrix::utilities {

using runtime::toQt;

namespace {

constexpr int CodeRole = Qt::UserRole;
constexpr int ErrorListBoldFlag = 3;

QTreeWidget* errorList(QWidget* parent, const char* name, const QString& first, const QString& tip, bool bold)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setRootIsDecorated(false);
    list->setHeaderLabels({first, QStringLiteral("Description")});
    list->setToolTip(tip);
    list->header()->resizeSection(0, 50);
    if (bold) {
        QFont font = list->font();
        font.setBold(true);
        list->setFont(font);
    }
    return list;
}

void fill(QTreeWidget* list, const std::vector<ErrorEntry>& errors)
{
    list->clear();
    for (const ErrorEntry& e : errors) {
        auto* item = new QTreeWidgetItem(list, {QString::number(e.code), toQt(e.description)});
        item->setData(0, CodeRole, e.code);
    }
}

} // namespace

ErrorHelperWindow::ErrorHelperWindow(config::Session& session, ErrorHelper helper, QWidget* parent)
    : ToolWindow("ErrorHelper", session.tools(), session.positions(), parent), m_session(session),
      m_helper(std::move(helper))
{
    m_iconizeFrame = [this] {
        if (QWidget* frame = window())
            frame->showMinimized();
    };
    m_openDocument = [](const std::string& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    };
    setWindowTitle(QStringLiteral("Error Helper"));
    setWindowIcon(runtime::appIcon("TBERROR.ICO"));
    const bool bold = session.configuration().number(config::Cfg::LookBold, ErrorListBoldFlag) != 0;
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    auto* lists = new QHBoxLayout;

    m_categories = new QTreeWidget(body);
    m_categories->setObjectName(QStringLiteral("categories"));
    m_categories->setHeaderLabels({QStringLiteral("Type")});
    {
        std::vector<QTreeWidgetItem*> parents; // the last item of each level
        const auto& tree = m_helper.categoryTree();
        for (std::size_t i = 0; i < tree.size(); ++i) {
            const std::size_t level = static_cast<std::size_t>(std::max(1, tree[i].level));
            parents.resize(std::min(parents.size(), level - 1));
            auto* item = parents.empty() ? new QTreeWidgetItem(m_categories, {toQt(tree[i].name)})
                                         : new QTreeWidgetItem(parents.back(), {toQt(tree[i].name)});
            item->setData(0, CodeRole, static_cast<qulonglong>(i));
            parents.push_back(item);
        }
        // Contracted entries keep the entries below them hidden until opened.
        for (std::size_t i = 0; i < tree.size(); ++i) {
            QTreeWidgetItemIterator it(m_categories);
            for (; *it; ++it) {
                if ((*it)->data(0, CodeRole).toULongLong() == i)
                    (*it)->setExpanded(!tree[i].contracted);
            }
        }
    }
    connect(m_categories, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            chooseCategory(static_cast<std::size_t>(item->data(0, CodeRole).toULongLong()));
    });
    lists->addWidget(m_categories);

    auto* errorColumn = new QVBoxLayout;
    m_heading = new QLabel(body);
    m_heading->setObjectName(QStringLiteral("heading"));
    errorColumn->addWidget(m_heading);
    m_errors = errorList(body, "errors", QStringLiteral("No"),
                         QStringLiteral("Double click to Add Error to Case"), bold);
    connect(m_errors, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        m_helper.add(item->data(0, CodeRole).toInt());
        showChosen();
    });
    connect(m_errors, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { showNotes(item); });
    m_filter = new runtime::FilterBox(body);
    runtime::filterTree(m_filter, m_errors);
    errorColumn->addLayout(runtime::filterRow(body, m_filter));
    errorColumn->addWidget(m_errors);
    lists->addLayout(errorColumn, 1);

    auto* moves = new QVBoxLayout;
    auto* add = runtime::namedButton(body, QStringLiteral(">>"), "add",
                                     QStringLiteral("Add Selected Error to Case "));
    auto* addAllButton =
        runtime::namedButton(body, QStringLiteral("All"), "addAll", QStringLiteral("Add All Errors to Case"));
    auto* remove = runtime::namedButton(body, QStringLiteral("<<"), "remove",
                                        QStringLiteral("Remove Selected Error from Case"));
    auto* removeAllButton = runtime::namedButton(body, QStringLiteral("All"), "removeAll",
                                                 QStringLiteral("Remove All Errors from Case"));
    connect(add, &QPushButton::clicked, this, &ErrorHelperWindow::addSelected);
    connect(addAllButton, &QPushButton::clicked, this, &ErrorHelperWindow::addAll);
    connect(remove, &QPushButton::clicked, this, &ErrorHelperWindow::removeSelected);
    connect(removeAllButton, &QPushButton::clicked, this, &ErrorHelperWindow::removeAll);
    moves->addStretch();
    for (QPushButton* b : {add, addAllButton, remove, removeAllButton})
        moves->addWidget(b);
    moves->addStretch();
    lists->addLayout(moves);

    auto* chosenColumn = new QVBoxLayout;
    chosenColumn->addWidget(new QLabel(QStringLiteral("CASE ERRORCODE()"), body));
    m_chosen = errorList(body, "chosen", QStringLiteral("OF"),
                         QStringLiteral("Double click to Remove Error to Case"), bold);
    connect(m_chosen, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        m_helper.remove(item->data(0, CodeRole).toInt());
        showChosen();
    });
    connect(m_chosen, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { showNotes(item); });
    chosenColumn->addWidget(m_chosen);
    lists->addLayout(chosenColumn, 1);
    layout->addLayout(lists, 1);

    m_notes = new QPlainTextEdit(body);
    m_notes->setObjectName(QStringLiteral("notes"));
    m_notes->setReadOnly(true);
    m_notes->setMaximumHeight(80);
    layout->addWidget(m_notes);

    auto* bottom = new QHBoxLayout;
    auto* options = new QGridLayout;
    m_ofNoError = new QCheckBox(QStringLiteral(" OF No Error"), body);
    m_elseStop = new QCheckBox(QStringLiteral(" ELSE  STOP(Error())"), body);
    m_errorFile = new QCheckBox(QStringLiteral(" && ErrorFile()"), body);
    m_fileError = new QCheckBox(QStringLiteral(" && FileError()"), body);
    int n = 0;
    for (auto [box, name] : {std::pair{m_ofNoError, "ofNoError"},
                             {m_elseStop, "elseStop"},
                             {m_errorFile, "errorFile"},
                             {m_fileError, "fileError"}}) {
        box->setObjectName(QString::fromLatin1(name));
        connect(box, &QCheckBox::toggled, this, &ErrorHelperWindow::readOptions);
        options->addWidget(box, n / 2, n % 2);
        ++n;
    }
    bottom->addLayout(options);
    bottom->addStretch();
    auto* newCase = runtime::namedButton(body, QStringLiteral("&New"), "new",
                                         QStringLiteral("Clear entries for new Case"));
    auto* toClip = runtime::namedButton(body, QStringLiteral("To &Clip"), "toClip",
                                        QStringLiteral("Copy Code to Clipboard"));
    auto* minimize = runtime::namedButton(body, QStringLiteral("Clip + &Minimize"), "toClipMinimize",
                                          QStringLiteral("Copy Code and Minimize"));
    auto* help = runtime::namedButton(body, QStringLiteral("C&W Help"), "cwHelp",
                                      QStringLiteral("Display CW Help on Errors"));
    connect(newCase, &QPushButton::clicked, this, &ErrorHelperWindow::removeAll);
    connect(toClip, &QPushButton::clicked, this, [this] { generate(false); });
    connect(minimize, &QPushButton::clicked, this, [this] { generate(true); });
    connect(help, &QPushButton::clicked, this, &ErrorHelperWindow::cwHelp);
    for (QPushButton* b : {newCase, toClip, minimize, help})
        bottom->addWidget(b);
    layout->addLayout(bottom);

    setWidget(body);
    runtime::addHelpKey(this, QStringLiteral("~Error_Helper"));
    resize(720, 460);

    if (QTreeWidgetItem* first = m_categories->topLevelItem(0))
        m_categories->setCurrentItem(first);
    showListed();
}

void ErrorHelperWindow::chooseCategory(std::size_t treeIndex)
{
    m_helper.chooseCategory(treeIndex);
    showListed();
}

void ErrorHelperWindow::showListed()
{
    m_heading->setText(toQt(m_helper.heading()));
    fill(m_errors, m_helper.listed());
}

bool ErrorHelperWindow::showItem(const runtime::ShowRequest& request)
{
    const int code = static_cast<int>(request.number);
    if (!m_helper.find(code))
        return false;
    const auto listed = [&] {
        const auto& errors = m_helper.listed();
        return std::any_of(errors.begin(), errors.end(),
                           [code](const ErrorEntry& e) { return e.code == code; });
    };
    if (!listed()) {
        const std::size_t all = m_helper.categoryTree().size() - 1;
        {
            const QSignalBlocker quiet(m_categories);
            for (QTreeWidgetItemIterator it(m_categories); *it; ++it) {
                if ((*it)->data(0, CodeRole).toULongLong() == all)
                    m_categories->setCurrentItem(*it);
            }
        }
        chooseCategory(all);
        if (!listed())
            return false;
    }
    for (int i = 0; i < m_errors->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_errors->topLevelItem(i);
        if (item->data(0, CodeRole).toInt() != code)
            continue;
        if (item->isHidden())
            m_filter->clear();
        m_errors->setCurrentItem(item);
        m_errors->scrollToItem(item);
        deliver(runtime::ToolEvent::Activate);
        return true;
    }
    return false;
}

void ErrorHelperWindow::showChosen()
{
    fill(m_chosen, m_helper.chosen());
}

void ErrorHelperWindow::showNotes(QTreeWidgetItem* item)
{
    m_notes->setPlainText(item ? toQt(m_helper.notes(item->data(0, CodeRole).toInt())) : QString());
}

void ErrorHelperWindow::addSelected()
{
    if (QTreeWidgetItem* item = m_errors->currentItem()) {
        m_helper.add(item->data(0, CodeRole).toInt());
        showChosen();
    }
}

void ErrorHelperWindow::addAll()
{
    m_helper.addAllListed();
    showChosen();
}

void ErrorHelperWindow::removeSelected()
{
    if (QTreeWidgetItem* item = m_chosen->currentItem()) {
        m_helper.remove(item->data(0, CodeRole).toInt());
        showChosen();
    }
}

void ErrorHelperWindow::removeAll()
{
    m_helper.removeAll();
    showChosen();
}

void ErrorHelperWindow::readOptions()
{
    m_helper.options = {m_ofNoError->isChecked(), m_elseStop->isChecked(), m_errorFile->isChecked(),
                        m_fileError->isChecked()};
}

void ErrorHelperWindow::generate(bool thenMinimize)
{
    const bool endComment = m_session.configuration().number(config::Cfg::EndComment) != 0;
    m_session.putCode(m_helper.generate(endComment));
    if (thenMinimize && m_iconizeFrame)
        m_iconizeFrame();
}

void ErrorHelperWindow::cwHelp()
{
    const std::string winPath = errorHelpFile(m_session.configuration().text(config::Cfg::CwPath));
    const std::filesystem::path path = runtime::resolveWinPath(winPath);
    std::error_code ec;
    if (std::filesystem::exists(path, ec) && m_openDocument(path.string()))
        return;
    m_session.dialogs().message({"The Clarion help file " + winPath + " could not be opened.",
                                 "NO CW HELP",
                                 runtime::MessageIcon::Exclamation,
                                 runtime::Button::Ok,
                                 0,
                                 {}});
}

} // namespace kestrix::utilities
