#include "dictionary/ui/AssignmentDialog.h"

#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/PopupMenuText.h"
#include "runtime/ui/QtText.h"

#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrix::dictionary {

namespace {

// The table accepts only drags of dictionary fields.
class FieldDropTable final : public QTableWidget
{
public:
    FieldDropTable(AssignmentDialog* owner) : QTableWidget(owner), m_owner(owner)
    {
        setAcceptDrops(true);
        viewport()->setAcceptDrops(true);
        setDragDropMode(QAbstractItemView::DropOnly);
    }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override { acceptIfFields(event); }
    void dragMoveEvent(QDragMoveEvent* event) override { acceptIfFields(event); }
    void dropEvent(QDropEvent* event) override
    {
        if (!event->mimeData()->hasFormat(QString::fromLatin1(config::DraggedFieldsMime)))
            return;
        const QModelIndex at = indexAt(event->position().toPoint());
        m_owner->dropFields(at.isValid() ? at.row() : rowCount(), at.isValid() ? at.column() : 0);
        event->acceptProposedAction();
    }

private:
    template <typename Event> void acceptIfFields(Event* event)
    {
        if (event->mimeData()->hasFormat(QString::fromLatin1(config::DraggedFieldsMime)))
            event->acceptProposedAction();
        else
            event->ignore();
    }
    AssignmentDialog* m_owner;
};

// A cell takes no more than a pair's side holds.
class SideDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* editor = new QLineEdit(parent);
        editor->setMaxLength(static_cast<int>(AssignmentTextSize));
        return editor;
    }
};

} // namespace

AssignmentDialog::AssignmentDialog(config::Session& session, const std::string& title, AssignmentList list,
                                   QWidget* parent)
    : QDialog(parent), m_session(session), m_list(std::move(list))
{
    setObjectName(QString::fromLatin1(Procedure));
    setWindowTitle(runtime::toQt(title));
    m_table = new FieldDropTable(this);
    m_table->setObjectName(QStringLiteral("assignments"));
    m_table->setColumnCount(2);
    m_table->setHorizontalHeaderLabels({QStringLiteral("Variable"), QStringLiteral("= Value")});
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setItemDelegate(new SideDelegate(m_table));
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_table, &QTableWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const int chosen = runtime::popupMenuChoice(this, QString::fromLatin1(AssignmentPopup),
                                                    m_table->viewport()->mapToGlobal(at));
        if (chosen > 0)
            edit(static_cast<AssignmentEdit>(chosen - 1));
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        takeEdits();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    runtime::addHelpKey(this, QStringLiteral("~Variable_Assignments"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    resize(520, 320);
    const auto place = session.positions().restore(Procedure);
    if (place)
        setGeometry(place->x, place->y, place->width, place->height);
    fill(0, 0);
}

AssignmentDialog::~AssignmentDialog()
{
    m_session.positions().save(Procedure, {x(), y(), width(), height(), false});
}

void AssignmentDialog::fill(int currentRow, int currentColumn)
{
    m_table->setRowCount(static_cast<int>(m_list.size()));
    for (int r = 0; r < static_cast<int>(m_list.size()); ++r) {
        const Assignment& a = m_list[static_cast<std::size_t>(r)];
        m_table->setItem(r, 0, new QTableWidgetItem(runtime::toQt(a.var1)));
        m_table->setItem(r, 1, new QTableWidgetItem(runtime::toQt(a.var2)));
    }
    if (currentRow >= 0 && currentRow < m_table->rowCount())
        m_table->setCurrentCell(currentRow, currentColumn);
}

void AssignmentDialog::takeEdits()
{
    for (int r = 0; r < m_table->rowCount() && r < static_cast<int>(m_list.size()); ++r) {
        for (int c = 0; c < 2; ++c) {
            const QTableWidgetItem* item = m_table->item(r, c);
            const std::string text = item ? runtime::fromQt(item->text()) : std::string();
            (c == 0 ? m_list[static_cast<std::size_t>(r)].var1 : m_list[static_cast<std::size_t>(r)].var2) =
                text;
        }
    }
}

void AssignmentDialog::edit(AssignmentEdit operation)
{
    takeEdits();
    const int column = std::max(0, m_table->currentColumn());
    const int row = editAssignments(m_list, operation, m_table->currentRow(), column);
    fill(row, column);
}

void AssignmentDialog::dropFields(int row, int column)
{
    takeEdits();
    for (const config::DraggedField& field : m_session.draggedFields()) {
        if (row >= static_cast<int>(m_list.size()))
            m_list.resize(static_cast<std::size_t>(row) + 1);
        Assignment& a = m_list[static_cast<std::size_t>(row)];
        (column == 0 ? a.var1 : a.var2) = field.vari;
        ++row;
    }
    fill(row - 1, column);
}

} // namespace kestrix::dictionary
