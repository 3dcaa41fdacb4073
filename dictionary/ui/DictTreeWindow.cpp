#include "dictionary/ui/DictTreeWindow.h"

#include "config/ConfigRecord.h"
#include "config/Settings.h"
#include "dictionary/BrowseTexts.h"
#include "dictionary/FieldCode.h"
#include "dictionary/FileCode.h"
#include "dictionary/KeyCode.h"
#include "dictionary/RelationCode.h"
#include "dictionary/ui/AssignmentDialog.h"
#include "dictionary/ui/CodeMenuPopup.h"
#include "dictionary/ui/SetLoopDialog.h"
#include "runtime/ui/AppIcons.h"
#include "runtime/ui/FilterBox.h"
#include "runtime/ui/FontConversion.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/QtText.h"

#include <QHeaderView>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kestrix::dictionary {

namespace {

constexpr int LineRole = Qt::UserRole + 1;
constexpr int SingleWidth = 512;
constexpr const char* TreeSection = "DictTreeBrowse";

// The tree list as a drag source of dictionary fields.
class FieldTree final : public QTreeWidget
{
public:
    FieldTree(DictTreeWindow* owner) : QTreeWidget(owner), m_owner(owner)
    {
        setDragEnabled(true);
        setDragDropMode(QAbstractItemView::DragOnly);
    }

protected:
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override
    {
        auto* mime = new QMimeData;
        const int highlighted = items.isEmpty() ? -1 : m_owner->lineOf(items.front());
        const std::string text = m_owner->startDrag(highlighted);
        mime->setData(QString::fromLatin1(config::DraggedFieldsMime), QByteArray("DicV"));
        mime->setText(runtime::toQt(text));
        return mime;
    }

private:
    DictTreeWindow* m_owner;
};

} // namespace

DictTreeWindow* DictTreeWindow::open(config::Session& session, const std::string& store,
                                     const std::string& fileName, QWidget* parent)
{
    auto opened = std::make_unique<DictionaryStore>(store);
    std::string failing;
    if (const runtime::FileError error = opened->openAll(failing)) {
        session.dialogs().message(tableOpenMessage(error.text(), failing));
        return nullptr;
    }
    runtime::Record dif = opened->files().newRecord();
    if (!opened->fileByName(fileName, dif)) {
        session.dialogs().message({missingFileText(opened->files().lastError().text()), "File Fields",
                                   runtime::MessageIcon::Exclamation});
        return nullptr;
    }
    return new DictTreeWindow(session, std::move(opened), dicFileOf(dif), parent);
}

DictTreeWindow::DictTreeWindow(config::Session& session, std::unique_ptr<DictionaryStore> store,
                               const DicFile& file, QWidget* parent)
    : ToolWindow(Procedure, session.tools(), session.positions(), parent), m_session(session),
      m_store(std::move(store))
{
    m_tree = loadFileTree(*m_store, file,
                          static_cast<int>(session.configuration().number(config::Cfg::FieldWidth)));
    setWindowTitle(runtime::toQt(file.name) + QStringLiteral(" - File Fields"));
    setWindowIcon(runtime::appIcon("TBDICT"));
    auto* body = new QWidget(this);
    auto* menus = new QMenuBar(body);
    menus->addMenu(QStringLiteral("&Dictionary"))->addAction(QStringLiteral("&Close"), this, [this] {
        close();
    });
    QMenu* options = menus->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("options"));
    options->addAction(QStringLiteral("Set Window Size as Default"), this, [this] {
        runtime::IniFile ini = m_session.programIni();
        ini.setNumber(TreeSection, "Width", width());
        ini.setNumber(TreeSection, "Height", height());
    });
    m_doubleWidthAction = options->addAction(QString(), this, [this] { toggleDoubleWidth(); });
    m_doubleWidthAction->setObjectName(QStringLiteral("doubleWidth"));
    m_doubleWidthAction->setCheckable(true);
    QAction* fixed = options->addAction(QStringLiteral("Fixedsys"), this, [this](bool on) {
        m_fixedsys = on;
        onConfigurationChanged();
    });
    fixed->setObjectName(QStringLiteral("fixedsys"));
    fixed->setCheckable(true);
    m_view = new FieldTree(this);
    m_view->setObjectName(QStringLiteral("tree"));
    m_view->setHeaderHidden(true);
    m_view->setColumnCount(1);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setToolTip(
        QStringLiteral("Right click for code, drag fields, check fields for the multi-field items"));
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QTreeWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const int line = lineOf(m_view->itemAt(at));
        const QPoint where = m_view->viewport()->mapToGlobal(at);
        popupFor(line, [this, where](const CodeMenu& menu) { return codeMenuChoice(this, menu, where); });
    });
    connect(m_view, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (DictTreeWindow* other = openRelated(lineOf(item))) {
            if (QMdiArea* area = mdiArea()) {
                area->addSubWindow(other);
                other->show();
            }
        }
    });
    connect(m_view, &QTreeWidget::itemChanged, this, [this] { syncMarks(); });
    auto* filter = new runtime::FilterBox(body);
    runtime::filterTree(filter, m_view);
    auto* layout = new QVBoxLayout(body);
    layout->setMenuBar(menus);
    layout->addLayout(runtime::filterRow(body, filter));
    layout->addWidget(m_view);
    onConfigurationChanged();
    setWidget(body);
    const runtime::IniFile ini = session.programIni();
    resize(static_cast<int>(ini.number(TreeSection, "Width", 560)),
           static_cast<int>(ini.number(TreeSection, "Height", 420)));
    runtime::addHelpKey(this, QStringLiteral("~File_Fields"));
    editSetLoop = [this](SetGenerator& sg, AssignmentList& list, const std::string& title) {
        std::vector<std::string> files;
        for (const runtime::Record& r : m_store->files().readAll(Dif::ByFileName))
            files.push_back(dicFileOf(r).name);
        SetLoopDialog dialog(m_session, sg, files, title, this);
        dialog.setAssignments(list);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        sg = dialog.request();
        list = dialog.assignments();
        return true;
    };
    editAssignments = [this](const std::string& title, AssignmentList& list) {
        AssignmentDialog dialog(m_session, title, list, this);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        list = dialog.list();
        return true;
    };
    fill();
}

void DictTreeWindow::onConfigurationChanged()
{
    // The window's own Fixedsys choice goes over the configured font while it is on.
    const runtime::FontSpec configured =
        config::fontOf(m_session.configuration(), config::FontRow::DictionaryFile);
    runtime::applyFont(m_view,
                       m_fixedsys ? runtime::FontSpec{"Fixedsys", 0, configured.color, 0} : configured);
}

void DictTreeWindow::fill()
{
    const QSignalBlocker quiet(m_view);
    m_view->clear();
    m_items.clear();
    std::vector<QTreeWidgetItem*> parents;
    for (std::size_t i = 0; i < m_tree.lines.size(); ++i) {
        const TreeLine& line = m_tree.lines[i];
        const std::size_t depth = static_cast<std::size_t>(std::abs(line.level));
        parents.resize(std::min(parents.size(), depth - 1));
        auto* item = parents.empty() ? new QTreeWidgetItem(m_view) : new QTreeWidgetItem(parents.back());
        item->setText(0, runtime::toQt(line.text));
        item->setData(0, LineRole, static_cast<int>(i));
        if (line.canMark())
            item->setCheckState(0, line.mark ? Qt::Checked : Qt::Unchecked);
        while (parents.size() < depth - 1)
            parents.push_back(parents.empty() ? item : parents.back()); // a gap in the levels
        parents.push_back(item);
        m_items.push_back(item);
    }
    for (std::size_t i = 0; i < m_items.size(); ++i)
        m_items[i]->setExpanded(m_tree.lines[i].level > 0);
    showListWidth();
}

void DictTreeWindow::showListWidth()
{
    m_view->setColumnWidth(0, m_doubleWidth ? 2 * SingleWidth : SingleWidth);
    // The width in use is shown where a shortcut would be: "1x" or "2x".
    m_doubleWidthAction->setText(QStringLiteral("Double Width\t") +
                                 (m_doubleWidth ? QStringLiteral("2x") : QStringLiteral("1x")));
    m_doubleWidthAction->setChecked(m_doubleWidth);
}

void DictTreeWindow::syncMarks()
{
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (m_tree.lines[i].canMark())
            m_tree.lines[i].mark = m_items[i]->checkState(0) == Qt::Checked;
    }
}

int DictTreeWindow::lineOf(const QTreeWidgetItem* item) const
{
    return item ? item->data(0, LineRole).toInt() : -1;
}

QTreeWidgetItem* DictTreeWindow::itemOf(int line) const
{
    return line >= 0 && line < static_cast<int>(m_items.size()) ? m_items[static_cast<std::size_t>(line)]
                                                                : nullptr;
}

void DictTreeWindow::toggleDoubleWidth()
{
    m_doubleWidth = !m_doubleWidth;
    showListWidth();
}

void DictTreeWindow::put(const std::vector<std::string>& lines)
{
    if (!lines.empty())
        m_session.putCode(lines);
}

void DictTreeWindow::popupFor(int line, const MenuChooser& choose)
{
    if (line < 0 || line >= static_cast<int>(m_tree.lines.size()))
        return;
    syncMarks();
    const TreeLine& l = m_tree.lines[static_cast<std::size_t>(line)];
    const bool abc = m_session.modes().abcMode;
    const CodeStyle style = codeStyleOf(m_session.configuration(), abc);
    if (l.isHeading()) {
        follow(fileMenuChoice(abc, choose(fileMenu(abc)), m_tree), {}, {}, line, choose);
    } else if (l.type == LineType::Field) {
        follow(fieldMenuChoice(choose(fieldMenu(m_tree, line)), m_tree, line), {}, {}, line, choose);
    } else if (l.type == LineType::Key) {
        const int key = keyLineOf(m_tree, line);
        if (key < 0)
            return;
        const int id = choose(keyMenu());
        const bool noMemo = keyItemOffersNoMemo(id, m_tree) && askNoMemo(m_tree.file.name);
        follow(keyMenuChoice(id, m_tree, key, style, noMemo),
               m_tree.lines[static_cast<std::size_t>(key)].field, keyContextOf(m_tree, key), line, choose);
    } else if (l.type == LineType::Relation) {
        const int head = relationLineOf(m_tree, line);
        runtime::Record dif = m_store->files().newRecord();
        if (head < 0 || !m_store->fileByName(m_tree.lines[static_cast<std::size_t>(head)].name, dif)) {
            m_session.dialogs().message({missingFileText(m_store->files().lastError().text()), "File Fields",
                                         runtime::MessageIcon::Exclamation});
            return;
        }
        RelationContext r;
        if (!relationContextOf(m_tree, head, dicFileOf(dif), r))
            return;
        r.relatedHasMemo = hasMemoFields(*m_store, r.related);
        const int id = choose(relationMenu(r));
        const bool noMemo =
            relationItemOffersNoMemo(id, r) && askNoMemo(id == 2 ? r.file.name : r.related.name);
        follow(relationMenuChoice(id, r, style, noMemo), r.ownKeyQualified, relationKeyContext(r), line,
               choose);
    }
    // An alias line has no menu.
}

bool DictTreeWindow::askNoMemo(const std::string& file)
{
    return m_session.dialogs().message(noMemoQuestion(file)) == runtime::Button::Yes;
}

void DictTreeWindow::follow(const CodeChoice& choice, const std::string& keyName, const KeyContext& key,
                            int line, const MenuChooser& choose)
{
    switch (choice.request) {
    case CodeRequest::Nothing:
        return;
    case CodeRequest::Lines:
        put(choice.lines);
        return;
    case CodeRequest::SetLoop:
        generateLoop(choice.setType, keyName, choice.setType == 1 ? keyContextOf(m_tree, -1) : key);
        return;
    case CodeRequest::AddRecord: {
        selectFields(m_tree, true);
        fill();
        AssignmentList list = assignmentsFor(m_tree, selectedFieldLines(m_tree, -1));
        if (editAssignments("Add Record Assignments", list))
            put(addRecordLines(m_session.modes().abcMode, m_tree, list));
        return;
    }
    case CodeRequest::Assignments: {
        AssignmentList list = assignmentsFor(m_tree, selectedFieldLines(m_tree, line));
        if (editAssignments("Field Assignments", list) && !list.empty())
            put(assignmentLines(list, FieldAssignmentIndent));
        return;
    }
    case CodeRequest::SelectFields:
    case CodeRequest::SelectFieldsAndMemos:
        selectFields(m_tree, choice.request == CodeRequest::SelectFieldsAndMemos);
        fill();
        return;
    case CodeRequest::FileMenu: {
        const bool abc = m_session.modes().abcMode;
        follow(fileMenuChoice(abc, choose(fileMenu(abc)), m_tree), {}, {}, line, choose);
        return;
    }
    }
}

void DictTreeWindow::generateLoop(int type, const std::string& keyName, const KeyContext& key)
{
    std::string problem;
    const std::optional<std::string> title = setLoopTitle(type, problem);
    if (!title) {
        m_session.dialogs().message({problem, "Generate SET()/LOOP Code", runtime::MessageIcon::Exclamation});
        return;
    }
    SetGenerator sg = setGeneratorFor(m_tree.file.name, keyName, static_cast<SetType>(type), m_tree.hasMemo,
                                      m_session.configuration());
    AssignmentList list;
    if (!editSetLoop(sg, list, *title))
        return;
    put(setLoopLines(sg, key, list, codeStyleOf(m_session.configuration(), m_session.modes().abcMode)));
}

DictTreeWindow* DictTreeWindow::openRelated(int line)
{
    if (line < 0 || line >= static_cast<int>(m_tree.lines.size()))
        return nullptr;
    int head = line;
    if (m_tree.lines[static_cast<std::size_t>(line)].type == LineType::Relation)
        head = relationLineOf(m_tree, line);
    else if (m_tree.lines[static_cast<std::size_t>(line)].type != LineType::Alias)
        return nullptr;
    if (head < 0)
        return nullptr;
    return open(m_session, m_store->names().container, m_tree.lines[static_cast<std::size_t>(head)].name,
                parentWidget());
}

std::string DictTreeWindow::startDrag(int highlighted)
{
    const_cast<DictTreeWindow*>(this)->syncMarks();
    FieldDrag drag = fieldDrag(m_tree, highlighted);
    m_session.draggedFields() = std::move(drag.fields);
    return drag.text;
}

} // namespace kestrix::dictionary
