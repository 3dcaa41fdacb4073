#include "equates/ui/AsciiTableWindow.h"

#include "config/Session.h"
#include "equates/AsciiTable.h"
#include "runtime/ui/AppIcons.h"
#include "runtime/ui/FilterBox.h"
#include "runtime/ui/HelpRequest.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrix::equates {

namespace {

QTableWidget* table(QWidget* parent, const char* name, const QStringList& headers, int rows)
{
    auto* t = new QTableWidget(rows, static_cast<int>(headers.size()), parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setHorizontalHeaderLabels(headers);
    t->verticalHeader()->hide();
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectItems);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    return t;
}

void setCell(QTableWidget* t, int row, int column, const std::string& utf8, bool centred = true)
{
    auto* item = new QTableWidgetItem(QString::fromStdString(utf8));
    if (centred)
        item->setTextAlignment(Qt::AlignCenter);
    t->setItem(row, column, item);
}

} // namespace

AsciiTableWindow::AsciiTableWindow(config::Session& session, QWidget* parent)
    : ToolWindow("AsciiTable", session.tools(), session.positions(), parent), m_session(session)
{
    setPositionSection("ASCIITable");
    setWindowTitle(QStringLiteral("ASCII Table"));
    setWindowIcon(runtime::appIcon("TBASCII.ICO"));
    auto* body = new QWidget(this);
    m_search = new QLineEdit(body);
    m_search->setObjectName(QStringLiteral("search"));
    m_search->setPlaceholderText(QStringLiteral("Character, decimal or hex (41H)"));
    m_search->setToolTip(
        QStringLiteral("Type a character, a decimal or a hexadecimal value to find its row"));
    auto* searchLabel = new QLabel(QStringLiteral("&Find:"), body);
    searchLabel->setBuddy(m_search);
    connect(m_search, &QLineEdit::textChanged, this, [this](const QString& typed) { find(typed); });

    m_sheet = new QTabWidget(body);
    m_sheet->setObjectName(QStringLiteral("sheet"));
    m_ascii = characterTable(false);
    m_control = controlTable();
    m_ansi = characterTable(true);
    m_sheet->addTab(m_ascii, QStringLiteral("ASCII"));
    m_sheet->addTab(m_control, QStringLiteral("Control"));
    m_sheet->addTab(m_ansi, QStringLiteral("ANSI"));
    connect(m_sheet, &QTabWidget::currentChanged, this, [this] { find(m_search->text()); });

    m_filter = new runtime::FilterBox(body);
    for (QTableWidget* t : {m_ascii, m_control, m_ansi})
        runtime::filterTable(m_filter, t);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(m_search);
    searchRow->addLayout(runtime::filterRow(body, m_filter));
    auto* layout = new QVBoxLayout(body);
    layout->addLayout(searchRow);
    layout->addWidget(m_sheet);
    setWidget(body);
    runtime::addHelpKey(this, QStringLiteral("~ASCII_Table"));
    resize(420, 480);
}

QTableWidget* AsciiTableWindow::characterTable(bool ansi)
{
    const QStringList headers = {QStringLiteral("Char"), QStringLiteral("Dec"), QStringLiteral("Hex"),
                                 QStringLiteral("Char"), QStringLiteral("Dec"), QStringLiteral("Hex")};
    QTableWidget* t = table(this, ansi ? "ansi" : "ascii", headers, CharacterRows);
    // The glyphs are Unicode already, so any font that has them will do; the OEM set's box
    // characters line up best in a fixed-pitch one.
    if (!ansi)
        t->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const auto rows = characterRows(ansi ? CharacterSet::Ansi : CharacterSet::Oem);
    for (int n = 0; n < CharacterRows; ++n) {
        const CharacterRow& row = rows[n];
        setCell(t, n, 0, row.low.glyph);
        setCell(t, n, 1, row.low.dec);
        setCell(t, n, 2, row.low.hex);
        setCell(t, n, 3, row.high.glyph);
        setCell(t, n, 4, row.high.dec);
        setCell(t, n, 5, row.high.hex);
    }
    t->setToolTip(QStringLiteral("Double Click to copy the character's code to the clipboard"));
    t->resizeColumnsToContents();
    connect(t, &QTableWidget::cellDoubleClicked, this,
            [this, t](int row, int column) { copyLiteral(t, row, column); });
    return t;
}

QTableWidget* AsciiTableWindow::controlTable()
{
    const QStringList headers = {QStringLiteral("Hex"), QStringLiteral("Code"), QStringLiteral("Key"),
                                 QStringLiteral("Description")};
    QTableWidget* t = table(this, "control", headers, ControlRows);
    const auto rows = controlRows();
    for (int n = 0; n < ControlRows; ++n) {
        setCell(t, n, 0, rows[n].hex);
        setCell(t, n, 1, rows[n].code);
        setCell(t, n, 2, rows[n].key);
        setCell(t, n, 3, rows[n].description, false);
    }
    t->resizeColumnsToContents();
    t->horizontalHeader()->setStretchLastSection(true);
    connect(t, &QTableWidget::cellDoubleClicked, this,
            [this, t](int row, int column) { copyLiteral(t, row, column); });
    return t;
}

bool AsciiTableWindow::find(const QString& typed)
{
    auto* shown = qobject_cast<QTableWidget*>(m_sheet->currentWidget());
    const bool ansi = shown == m_ansi;
    const auto code = findCharacterCode(typed.toStdString(), ansi ? CharacterSet::Ansi : CharacterSet::Oem);
    if (!code)
        return false;
    if (shown == m_control) {
        if (*code >= ControlRows)
            return false;
        shown->setCurrentCell(*code, 0);
    } else {
        shown->setCurrentCell(*code % CharacterRows, *code < CharacterRows ? 0 : 3);
    }
    // The row found must be in sight: a filter that hides it goes.
    if (shown->isRowHidden(shown->currentRow()))
        m_filter->clear();
    shown->scrollToItem(shown->currentItem(), QAbstractItemView::PositionAtCenter);
    return true;
}

void AsciiTableWindow::copyLiteral(QTableWidget* t, int row, int column)
{
    const int code = t == m_control ? row : row + (column >= 3 ? CharacterRows : 0);
    const std::vector<std::string> lines = {characterLiteral(code)};
    // A literal goes into a line of code, so it carries no line end.
    m_session.putCodeOnClipboard(
        lines, m_session.modes().clipAddMode ? clipboard::ClipMode::Add : clipboard::ClipMode::Change, false);
}

} // namespace kestrix::equates
