#include "utilities/ui/CodeStoreBrowse.h"

#include "config/ConfigRecord.h"
#include "data/StandardWarning.h"
#include "runtime/FixedText.h"
#include "runtime/ui/AppIcons.h"
#include "runtime/ui/FilterBox.h"
#include "runtime/ui/FontConversion.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/QtText.h"
#include "runtime/ui/RowColors.h"
#include "utilities/CodeStoreRecord.h"
#include "utilities/ui/CodeStoreForm.h"
#include "utilities/ui/CodeStoreMerge.h"
#include "utilities/ui/CodeTypeForm.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kestrix::utilities {

namespace {

QTreeWidget* makeList(QWidget* parent, const QStringList& headers, const char* name)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setHeaderLabels(headers);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    return list;
}

// The code as one line of the list: line ends shown as blanks.
QString codeLine(const std::string& code)
{
    std::string line = code.substr(0, 200);
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < ' ')
            c = ' ';
    }
    return runtime::toQt(line);
}

} // namespace

CodeStoreBrowse::CodeStoreBrowse(config::Session& session, runtime::KeyedFile& snippets,
                                 runtime::KeyedFile& types, QWidget* parent)
    : ToolWindow("CodeStoreBrowse", session.tools(), session.positions(), parent), m_session(session),
      m_library(snippets, types, session.dialogs())
{
    setWindowTitle(QStringLiteral("Code Library"));
    setWindowIcon(runtime::appIcon("TBCODLIB"));
    m_mergeAsk = [this](const std::vector<MergeToken>& tokens) -> std::optional<std::vector<MergeToken>> {
        CodeStoreMerge merge(tokens, m_session.draggedFields(), m_session.positions(), this);
        if (merge.exec() != QDialog::Accepted)
            return std::nullopt;
        return merge.tokens();
    };

    auto* body = new QWidget(this);
    m_types = makeList(body, {QStringLiteral("Type")}, "types");
    m_snippets = makeList(body, {QStringLiteral("Code Description"), QStringLiteral("Code")}, "snippets");
    const bool bold = m_session.configuration().number(config::Cfg::LookBold, 6) != 0; // "Code Storage"
    runtime::showListBold(m_types, bold);
    runtime::showListBold(m_snippets, bold);
    m_filter = new runtime::FilterBox(body);
    runtime::filterTree(m_filter, m_snippets);
    m_snippets->header()->resizeSection(0, 220);
    m_source = new QPlainTextEdit(body);
    m_source->setObjectName(QStringLiteral("source"));
    m_source->setReadOnly(true);
    m_source->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_source->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    runtime::applyFont(m_source, config::fontOf(m_session.configuration(), config::FontRow::CodeStorage),
                       m_source->font());
    connect(m_types, &QTreeWidget::currentItemChanged, this, [this] { reloadSnippets(); });
    connect(m_snippets, &QTreeWidget::currentItemChanged, this, [this] { showSource(); });
    connect(m_types, &QTreeWidget::itemDoubleClicked, this, [this] { editType(false); });
    connect(m_snippets, &QTreeWidget::itemDoubleClicked, this, [this] { editSnippet(false); });

    const auto button = [&](QBoxLayout* row, const QString& text, const char* name, const QString& tip,
                            auto slot) {
        auto* b = new QPushButton(text, body);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(tip);
        b->setAutoDefault(false);
        row->addWidget(b);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    auto* typeButtons = new QHBoxLayout;
    button(typeButtons, QStringLiteral("Ins"), "insertType", QStringLiteral("Add New Type"),
           [this] { editType(true); });
    button(typeButtons, QStringLiteral("Chg"), "changeType", QStringLiteral("Change Type"),
           [this] { editType(false); });
    button(typeButtons, QStringLiteral("Del"), "deleteType", QStringLiteral("Delete Type and all code"),
           [this] { deleteType(); });
    auto* snippetButtons = new QHBoxLayout;
    button(snippetButtons, QStringLiteral("Insert"), "insert", QStringLiteral("Add new code snippet"),
           [this] { editSnippet(true); });
    button(snippetButtons, QStringLiteral("Change"), "change", QStringLiteral("Change code snippet"),
           [this] { editSnippet(false); });
    button(snippetButtons, QStringLiteral("Delete"), "delete", QStringLiteral("Delete code snippet"),
           [this] { deleteSnippet(); });
    snippetButtons->addStretch();
    button(snippetButtons, QStringLiteral("&To Clip"), "toClip", QStringLiteral("Copy Code to Clipboard"),
           [this] { copyToClipboard(false); });
    button(snippetButtons, QStringLiteral("Clip &Min"), "clipMin", QStringLiteral("Copy Code and Minimize"),
           [this] { copyToClipboard(true); });
    button(snippetButtons, QStringLiteral("Close"), "close", {}, [this] { close(); });

    auto* grid = new QGridLayout(body);
    grid->addWidget(m_types, 0, 0);
    grid->addLayout(typeButtons, 1, 0);
    auto* snippetColumn = new QVBoxLayout;
    snippetColumn->addLayout(runtime::filterRow(body, m_filter));
    snippetColumn->addWidget(m_snippets);
    grid->addLayout(snippetColumn, 0, 1);
    grid->addLayout(snippetButtons, 1, 1);
    auto* sourceLabel = new QLabel(QStringLiteral("Source Code"), body);
    sourceLabel->setBuddy(m_source);
    grid->addWidget(sourceLabel, 2, 0, 1, 2);
    grid->addWidget(m_source, 3, 0, 1, 2);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(0, 2);
    grid->setRowStretch(3, 2);
    setWidget(body);
    resize(760, 520);
    runtime::addHelpKey(this, QStringLiteral("~Code_Library"));
    reloadTypes();
}

bool CodeStoreBrowse::showItem(const runtime::ShowRequest& request)
{
    reloadTypes();
    const auto type = std::find_if(m_typeRows.begin(), m_typeRows.end(), [&](const std::string& t) {
        return runtime::sameTextNoCase(t, request.key);
    });
    if (type == m_typeRows.end())
        return false;
    selectType(*type);
    for (std::size_t i = 0; i < m_snippetRows.size(); ++i) {
        if (!runtime::sameTextNoCase(m_snippetRows[i].text(Cds::Name), request.subKey))
            continue;
        QTreeWidgetItem* item = m_snippets->topLevelItem(static_cast<int>(i));
        if (item->isHidden())
            m_filter->clear();
        m_snippets->setCurrentItem(item);
        m_snippets->scrollToItem(item);
        deliver(runtime::ToolEvent::Activate);
        return true;
    }
    return false;
}

void CodeStoreBrowse::reloadTypes()
{
    const std::string keep = currentType();
    m_typeRows = m_library.types();
    m_types->clear();
    for (const std::string& type : m_typeRows)
        m_types->addTopLevelItem(new QTreeWidgetItem(QStringList{runtime::toQt(type)}));
    selectType(keep);
    reloadSnippets();
}

void CodeStoreBrowse::selectType(const std::string& type)
{
    for (std::size_t i = 0; i < m_typeRows.size(); ++i) {
        if (runtime::sameTextNoCase(m_typeRows[i], type)) {
            m_types->setCurrentItem(m_types->topLevelItem(static_cast<int>(i)));
            return;
        }
    }
    if (!m_typeRows.empty())
        m_types->setCurrentItem(m_types->topLevelItem(0));
}

std::string CodeStoreBrowse::currentType() const
{
    const int row = m_types->currentItem() ? m_types->indexOfTopLevelItem(m_types->currentItem()) : -1;
    return row >= 0 && static_cast<std::size_t>(row) < m_typeRows.size()
               ? m_typeRows[static_cast<std::size_t>(row)]
               : std::string();
}

const runtime::Record* CodeStoreBrowse::currentSnippet() const
{
    const int row =
        m_snippets->currentItem() ? m_snippets->indexOfTopLevelItem(m_snippets->currentItem()) : -1;
    return row >= 0 && static_cast<std::size_t>(row) < m_snippetRows.size()
               ? &m_snippetRows[static_cast<std::size_t>(row)]
               : nullptr;
}

void CodeStoreBrowse::reloadSnippets()
{
    const std::int64_t keep = currentSnippet() ? currentSnippet()->position() : 0;
    const std::string type = currentType();
    m_snippetRows = type.empty() ? std::vector<runtime::Record>{} : m_library.snippetRecords(type);
    const QSignalBlocker block(m_snippets);
    m_snippets->clear();
    int current = m_snippetRows.empty() ? -1 : 0;
    for (std::size_t i = 0; i < m_snippetRows.size(); ++i) {
        const runtime::Record& r = m_snippetRows[i];
        m_snippets->addTopLevelItem(
            new QTreeWidgetItem(QStringList{runtime::toQt(r.text(Cds::Name)), codeLine(r.text(Cds::Code))}));
        if (r.position() == keep)
            current = static_cast<int>(i);
    }
    if (current >= 0)
        m_snippets->setCurrentItem(m_snippets->topLevelItem(current));
    showSource();
}

void CodeStoreBrowse::showSource()
{
    const runtime::Record* r = currentSnippet();
    m_source->setPlainText(r ? codeToBox(r->text(Cds::Code)) : QString());
}

void CodeStoreBrowse::editType(bool adding)
{
    const std::string current = adding ? std::string() : currentType();
    if (!adding && current.empty())
        return;
    CodeTypeForm form(m_library, m_session.dialogs(), current, m_session.positions(), this);
    if (form.exec() != QDialog::Accepted)
        return;
    m_typeRows.clear(); // the chosen type is the one just saved
    reloadTypes();
    selectType(form.type());
}

void CodeStoreBrowse::deleteType()
{
    const std::string type = currentType();
    if (type.empty())
        return;
    const unsigned answer = m_session.dialogs().message(
        {"Delete the code type " + type + " and all of its code?", "Delete Type and all code",
         runtime::MessageIcon::Question, runtime::Button::Yes | runtime::Button::No, runtime::Button::No});
    if (answer != runtime::Button::Yes)
        return;
    m_library.deleteType(type);
    reloadTypes();
}

void CodeStoreBrowse::editSnippet(bool adding)
{
    const runtime::Record* current = currentSnippet();
    if (!adding && !current)
        return;
    CodeStoreForm form(m_library, m_session.dialogs(),
                       adding ? std::nullopt : std::optional<runtime::Record>(*current), currentType(),
                       m_session.windowsIni(), this);
    if (form.exec() != QDialog::Accepted)
        return;
    const Snippet saved = form.snippet();
    reloadTypes();
    selectType(saved.type);
    reloadSnippets();
    for (std::size_t i = 0; i < m_snippetRows.size(); ++i) {
        if (runtime::sameText(m_snippetRows[i].text(Cds::Name), saved.name))
            m_snippets->setCurrentItem(m_snippets->topLevelItem(static_cast<int>(i)));
    }
}

void CodeStoreBrowse::deleteSnippet()
{
    const runtime::Record* current = currentSnippet();
    if (!current)
        return;
    if (data::showStandardWarning(m_session.dialogs(), data::Warn::StandardDelete) != runtime::Button::Ok)
        return;
    runtime::Record doomed = *current;
    m_library.deleteSnippet(doomed);
    reloadSnippets();
}

bool CodeStoreBrowse::copyToClipboard(bool thenMinimize)
{
    const runtime::Record* current = currentSnippet();
    if (!current)
        return false;
    SnippetCopy copy = prepareCopy(current->text(Cds::Code));
    if (!copy.tokens.empty()) {
        auto values = m_mergeAsk(copy.tokens);
        if (!values)
            return false; // a cancelled merge copies nothing
        copy.tokens = std::move(*values);
    }
    m_session.putCode(mergeTokens(copy.lines, copy.tokens));
    if (thenMinimize) {
        if (QWidget* frame = window())
            frame->showMinimized();
    }
    return true;
}

} // namespace kestrix::utilities
