#include "equates/ui/ColorDesignerWindow.h"

#include "config/ConfigRecord.h"
#include "config/Session.h"
#include "runtime/ui/AppIcons.h"
#include "runtime/ui/FilterBox.h"
#include "runtime/ui/FontConversion.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/PopupMenuText.h"
#include "runtime/ui/QtText.h"
#include "runtime/ui/RowColors.h"

#include <QColorDialog>
#include <QComboBox>
#include <QCursor>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kestrix::equates {

namespace {

constexpr std::int32_t WindowBackground = static_cast<std::int32_t>(0x80000005u);
constexpr std::int32_t SelectedText = static_cast<std::int32_t>(0x8000000Eu);
constexpr std::int32_t SelectionBackground = static_cast<std::int32_t>(0x8000000Du);
constexpr int SelectedForegroundData = Qt::UserRole + 1;
constexpr int SelectedBackgroundData = Qt::UserRole + 2;

// Lets a cell carry its own colours for when it is selected.
class CellColorDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (const QColor c = index.data(SelectedForegroundData).value<QColor>(); c.isValid())
            option->palette.setColor(QPalette::HighlightedText, c);
        if (const QColor c = index.data(SelectedBackgroundData).value<QColor>(); c.isValid())
            option->palette.setColor(QPalette::Highlight, c);
    }
};

void setOrClear(QTableWidgetItem* item, int role, std::int32_t value, const QPalette& palette)
{
    if (value == NoColor)
        item->setData(role, QVariant());
    else if (role == Qt::ForegroundRole || role == Qt::BackgroundRole)
        item->setData(role, QBrush(platformColor(value, palette)));
    else
        item->setData(role, platformColor(value, palette));
}

// The four colours on a widget's palette, over the palette it had before any was applied.
QPalette colored(QPalette palette, const ColorQuad& quad, const QPalette& system)
{
    const auto set = [&](std::initializer_list<QPalette::ColorRole> roles, std::int32_t value) {
        if (value == NoColor)
            return;
        for (QPalette::ColorRole role : roles)
            palette.setColor(role, platformColor(value, system));
    };
    set({QPalette::WindowText, QPalette::Text, QPalette::ButtonText}, quad[Foreground]);
    set({QPalette::Window, QPalette::Base, QPalette::Button}, quad[Background]);
    set({QPalette::HighlightedText}, quad[SelectedForeground]);
    set({QPalette::Highlight}, quad[SelectedBackground]);
    return palette;
}

std::int32_t bgrOf(const QColor& color)
{
    return (color.blue() << 16) | (color.green() << 8) | color.red();
}

} // namespace

QColor platformColor(std::int32_t value, const QPalette& palette)
{
    if (value >= 0)
        return runtime::toQColor(value);
    // The system colours by their index, as the platform's palette has them.
    static const QPalette::ColorRole Roles[] = {QPalette::Button,
                                                QPalette::Dark,
                                                QPalette::Highlight,
                                                QPalette::Mid,
                                                QPalette::Window,
                                                QPalette::Base,
                                                QPalette::Shadow,
                                                QPalette::WindowText,
                                                QPalette::Text,
                                                QPalette::HighlightedText,
                                                QPalette::Window,
                                                QPalette::Window,
                                                QPalette::Dark,
                                                QPalette::Highlight,
                                                QPalette::HighlightedText,
                                                QPalette::Button,
                                                QPalette::Dark,
                                                QPalette::PlaceholderText,
                                                QPalette::ButtonText,
                                                QPalette::Text,
                                                QPalette::Light,
                                                QPalette::Shadow,
                                                QPalette::Midlight,
                                                QPalette::ToolTipText,
                                                QPalette::ToolTipBase};
    const auto index = static_cast<std::uint32_t>(value) & 0xFFFFFFu;
    if ((static_cast<std::uint32_t>(value) & 0xFF000000u) == 0x80000000u && index < std::size(Roles))
        return palette.color(Roles[index]);
    return {};
}

ColorDesignerWindow::ColorDesignerWindow(config::Session& session, runtime::KeyedFile& equates,
                                         QWidget* parent)
    : ToolWindow("ColorDesigner", session.tools(), session.positions(), parent), m_session(session),
      m_designer(equates)
{
    setPositionSection("ColorFinder");
    setWindowTitle(QStringLiteral("Color Designer"));
    setWindowIcon(runtime::appIcon("TBCOLORC.ICO"));
    m_pickColor = [this]() -> std::optional<QColor> {
        const QColor picked =
            QColorDialog::getColor(Qt::white, this, QString::fromLatin1(CustomColorDialogTitle));
        return picked.isValid() ? std::optional<QColor>(picked) : std::nullopt;
    };
    m_iconizeFrame = [this] {
        if (QWidget* frame = window())
            frame->showMinimized();
    };
    auto* body = new QWidget(this);

    // The five pick lists.
    auto* lists = new QGridLayout;
    const std::pair<ColorRole, const char*> roles[] = {{Foreground, "Foreground Color"},
                                                       {Background, "Background Color"},
                                                       {SelectedForeground, "Selected Foreground"},
                                                       {SelectedBackground, "Selected Background"},
                                                       {Grid, "Grid Color"}};
    const char* const listNames[] = {"foreground", "background", "selectedForeground", "selectedBackground",
                                     "grid"};
    for (const auto& [role, title] : roles) {
        auto* label = new QLabel(QString::fromLatin1(title), body);
        QTreeWidget* list = pickList(role, QString::fromLatin1(listNames[role]));
        list->setToolTip(role == Grid ? QStringLiteral("Double Click on Color to Apply")
                                      : QStringLiteral("Double Click to Apply"));
        lists->addWidget(label, 0, role);
        lists->addWidget(list, 1, role);
    }
    // One box narrows the five lists alike: they hold the same colours.
    auto* filter = new runtime::FilterBox(body);
    for (QTreeWidget* list : m_lists)
        runtime::filterTree(filter, list);

    // The object and the buttons.
    m_object = new QComboBox(body);
    m_object->setObjectName(QStringLiteral("object"));
    for (int i = 0; i < SampleObjectCount; ++i)
        m_object->addItem(QString::fromLatin1(sampleObjectName(static_cast<SampleObject>(i))));
    connect(m_object, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_designer.setObject(static_cast<SampleObject>(index)); });
    auto* objectLabel = new QLabel(QStringLiteral("&Object:"), body);
    objectLabel->setBuddy(m_object);
    const auto button = [&](const QString& text, const char* name, const QString& tip) {
        auto* b = new QPushButton(text, body);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(tip);
        return b;
    };
    QPushButton* toClip =
        button(QStringLiteral("To &Clip"), "toClip", QStringLiteral("Copy Object Colors to Clipboard"));
    QPushButton* toClipMinimize =
        button(QString(), "toClipMinimize", QStringLiteral("Copy Object Colors to Clipboard and Minimize"));
    toClipMinimize->setIcon(runtime::appIcon("LIGHTMIN.ICO"));
    QPushButton* resetObject = button(QStringLiteral("R&eset Colors to Object"), "resetToObject",
                                      QStringLiteral("Set the 4 color boxes to the current objects colors"));
    QPushButton* resetNone = button(QStringLiteral("&Reset Colors to None"), "resetToNone",
                                    QStringLiteral("Set the 4 color boxes and the object to no colors"));
    QPushButton* apply = button(QStringLiteral("&Apply Colors to Object"), "apply",
                                QStringLiteral("Set the current object to the colors selected"));
    QPushButton* addCustom = button(QStringLiteral("Add C&ustom Color"), "addCustom",
                                    QStringLiteral("Pick a color from the palette and add it to the list"));
    QPushButton* remove = button(QStringLiteral("&Delete Color Selected Above"), "deleteColor",
                                 QStringLiteral("Delete the current color in the Selected Background list"));
    connect(toClip, &QPushButton::clicked, this, [this] { copyCode(QCursor::pos(), false); });
    connect(toClipMinimize, &QPushButton::clicked, this, [this] { copyCode(QCursor::pos(), true); });
    connect(resetObject, &QPushButton::clicked, this, [this] {
        if (const auto message = m_designer.resetToObject())
            tell(*message);
        showSelections();
    });
    connect(resetNone, &QPushButton::clicked, this, [this] {
        m_designer.resetToNone();
        showSelections();
        showSample();
    });
    connect(apply, &QPushButton::clicked, this, &ColorDesignerWindow::applyColors);
    connect(addCustom, &QPushButton::clicked, this, &ColorDesignerWindow::addCustomColor);
    connect(remove, &QPushButton::clicked, this, &ColorDesignerWindow::deleteColor);

    auto* controls = new QGridLayout;
    controls->addWidget(objectLabel, 0, 0);
    controls->addWidget(m_object, 0, 1);
    controls->addWidget(toClip, 0, 2);
    controls->addWidget(toClipMinimize, 0, 3);
    controls->addWidget(apply, 1, 0, 1, 2);
    controls->addWidget(resetObject, 1, 2, 1, 2);
    controls->addWidget(resetNone, 2, 0, 1, 2);
    controls->addWidget(addCustom, 2, 2, 1, 2);
    controls->addWidget(remove, 3, 0, 1, 2);

    // The sample window.
    m_sheet = new QTabWidget(body);
    m_sheet->setObjectName(QStringLiteral("sampleSheet"));
    const auto control = [this](SampleObject object, QWidget* widget, const char* name) {
        widget->setObjectName(QString::fromLatin1(name));
        m_controls[static_cast<int>(object)] = widget;
        m_originalPalettes[static_cast<int>(object)] = widget->palette();
        return widget;
    };
    auto* tab1 = new QWidget(m_sheet);
    auto* tab1Layout = new QFormLayout(tab1);
    auto* entry1 = new QLineEdit(tab1);
    tab1Layout->addRow(
        control(SampleObject::Prompt1, new QLabel(QStringLiteral("Prompt 1:"), tab1), "prompt1"),
        control(SampleObject::Entry1, entry1, "entry1"));
    tab1Layout->addRow(
        control(SampleObject::String1, new QLabel(QStringLiteral("Sample Text String 1"), tab1), "string1"));
    m_dropList = new QComboBox(tab1);
    m_dropList->setObjectName(QStringLiteral("dropList"));
    m_dropList->addItems({QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three"),
                          QStringLiteral("Four"), QStringLiteral("Five"), QStringLiteral("Drop List")});
    m_dropList->setCurrentIndex(5);
    tab1Layout->addRow(m_dropList);
    auto* button1 = new QPushButton(QStringLiteral("Button 1"), tab1);
    button1->setToolTip(QStringLiteral("Selects Tab 1"));
    tab1Layout->addRow(control(SampleObject::Button1, button1, "button1"));
    connect(button1, &QPushButton::clicked, this, [this] { m_sheet->setCurrentIndex(0); });

    auto* tab2 = new QWidget(m_sheet);
    auto* tab2Layout = new QFormLayout(tab2);
    tab2Layout->addRow(
        control(SampleObject::Prompt2, new QLabel(QStringLiteral("Prompt 2:"), tab2), "prompt2"),
        control(SampleObject::Entry2, new QLineEdit(tab2), "entry2"));
    tab2Layout->addRow(
        control(SampleObject::String2, new QLabel(QStringLiteral("Sample Text String 2"), tab2), "string2"));
    m_dropCombo = new QComboBox(tab2);
    m_dropCombo->setObjectName(QStringLiteral("dropCombo"));
    m_dropCombo->setEditable(true);
    m_dropCombo->addItems({QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")});
    m_dropCombo->setEditText(QStringLiteral("Drop Combo"));
    tab2Layout->addRow(m_dropCombo);
    tab2Layout->addRow(
        control(SampleObject::Button2, new QPushButton(QStringLiteral("Button 2"), tab2), "button2"));

    auto* tab3 = new QWidget(m_sheet);
    m_sample = new QTableWidget(SampleRows, SampleColumns, tab3);
    m_sample->setObjectName(QStringLiteral("sampleList"));
    m_sample->setToolTip(QStringLiteral("Right Click for Menu"));
    m_sample->setHorizontalHeaderLabels(
        {QStringLiteral("List Box"), QStringLiteral("Column 2"), QStringLiteral("Column 3")});
    m_sample->verticalHeader()->hide();
    m_sample->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_sample->setItemDelegate(new CellColorDelegate(m_sample));
    const QFont font = m_sample->font();
    m_sample->setItem(0, 0, new QTableWidgetItem(font.family()));
    m_sample->setItem(0, 1,
                      new QTableWidgetItem(QString::number(font.pointSize()) + QStringLiteral(" Point")));
    m_sample->setItem(0, 2, new QTableWidgetItem(QString::number(runtime::fromQFont(font).style)));
    for (int row = 2; row <= SampleRows; ++row) {
        m_sample->setItem(row - 1, 0, new QTableWidgetItem(QStringLiteral("Line %1").arg(row)));
        for (int column = 2; column <= SampleColumns; ++column)
            m_sample->setItem(row - 1, column - 1,
                              new QTableWidgetItem(QStringLiteral("Cell %1,%2").arg(row).arg(column)));
    }
    m_samplePalette = m_sample->palette();
    // The menu picks which part of the list the colours go to, at the cell clicked.
    m_sample->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_sample, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QTableWidgetItem* item = m_sample->itemAt(at))
            m_sample->setCurrentItem(item);
        const std::vector<runtime::MenuItem> parts = {
            {static_cast<int>(SampleObject::List) + 1, "Object: &List", true},
            {static_cast<int>(SampleObject::Column) + 1, "Object: &Column", true},
            {static_cast<int>(SampleObject::Row) + 1, "Object: &Row", true},
            {static_cast<int>(SampleObject::Cell) + 1, "Object: C&ell", true}};
        const int chosen = runtime::popupMenuChoice(this, parts, m_sample->viewport()->mapToGlobal(at));
        if (chosen != runtime::SeparatorId)
            m_object->setCurrentIndex(chosen - 1);
    });
    connect(m_sample, &QTableWidget::currentCellChanged, this,
            [this](int row, int column) { m_designer.setListPosition(row + 1, column + 1); });
    auto* tab3Layout = new QVBoxLayout(tab3);
    tab3Layout->addWidget(m_sample);
    m_sheet->addTab(control(SampleObject::Tab1, tab1, "tab1"), QStringLiteral(" Sample Tab &1 "));
    m_sheet->addTab(control(SampleObject::Tab2, tab2, "tab2"), QStringLiteral(" Tab &2 "));
    m_sheet->addTab(control(SampleObject::Tab3, tab3, "tab3"), QStringLiteral(" Tab &3"));

    auto* right = new QVBoxLayout;
    right->addLayout(controls);
    right->addWidget(m_sheet);
    auto* layout = new QVBoxLayout(body);
    layout->addLayout(runtime::filterRow(body, filter));
    layout->addLayout(lists);
    layout->addLayout(right);
    setWidget(body);
    runtime::addHelpKey(this, QStringLiteral("~Color_Designer"));
    connect(this, &ToolWindow::equatesReloaded, this, &ColorDesignerWindow::reload);
    resize(760, 560);
    reload();
}

QTreeWidget* ColorDesignerWindow::pickList(ColorRole role, const QString& objectName)
{
    auto* list = new QTreeWidget(this);
    list->setObjectName(objectName);
    runtime::showListBold(list, m_session.configuration().number(config::Cfg::LookBold, 5) != 0);
    list->setColumnCount(2);
    list->setHeaderHidden(true);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    connect(list, &QTreeWidget::currentItemChanged, this, [this, role, list](QTreeWidgetItem* item) {
        if (item)
            m_designer.select(role, list->indexOfTopLevelItem(item));
    });
    connect(list, &QTreeWidget::itemDoubleClicked, this, [this, role, list](QTreeWidgetItem* item) {
        m_designer.select(role, list->indexOfTopLevelItem(item));
        applyColors();
    });
    m_lists[role] = list;
    return list;
}

void ColorDesignerWindow::reload()
{
    if (const runtime::FileError error = m_designer.load())
        tell({"The colours could not be read||Error: " + error.describe(), "FILE ERROR",
              runtime::MessageIcon::Asterisk});
    fillLists();
    showSample();
}

void ColorDesignerWindow::fillLists()
{
    const QPalette& system = palette();
    for (int role = 0; role < RoleCount; ++role) {
        QTreeWidget* list = m_lists[role];
        const QSignalBlocker block(list);
        list->clear();
        for (const ColorEntry& color : m_designer.colors()) {
            auto* item = new QTreeWidgetItem(list, {runtime::toQt(color.display), QStringLiteral("Sample")});
            if (color.value == NoColor)
                continue;
            // The sample shows the colour in the role of its list.
            const QColor c = platformColor(color.value, system);
            QColor fore, back;
            switch (role) {
            case Foreground:
                fore = c;
                back = platformColor(WindowBackground, system);
                break;
            case SelectedForeground:
                fore = c;
                back = platformColor(SelectionBackground, system);
                break;
            case SelectedBackground:
                fore = platformColor(SelectedText, system);
                back = c;
                break;
            default:
                back = c;
                break;
            }
            if (fore.isValid())
                item->setForeground(1, fore);
            if (back.isValid())
                item->setBackground(1, back);
        }
        list->resizeColumnToContents(0);
    }
    showSelections();
}

void ColorDesignerWindow::showSelections()
{
    for (int role = 0; role < RoleCount; ++role) {
        const QSignalBlocker block(m_lists[role]);
        m_lists[role]->setCurrentItem(
            m_lists[role]->topLevelItem(m_designer.selected(static_cast<ColorRole>(role))));
    }
}

void ColorDesignerWindow::showSample()
{
    const QPalette& system = palette();
    for (int i = 0; i < SampleObjectCount; ++i) {
        QWidget* widget = m_controls[i];
        if (!widget)
            continue;
        const ColorQuad quad = m_designer.controlColors(static_cast<SampleObject>(i));
        widget->setPalette(colored(m_originalPalettes[i], quad, system));
        widget->setAutoFillBackground(quad[Background] != NoColor);
    }
    const ColorQuad list = m_designer.controlColors(SampleObject::List);
    m_sample->setPalette(colored(m_samplePalette, list, system));
    for (QComboBox* drop : {m_dropList, m_dropCombo})
        drop->setPalette(colored(m_samplePalette, list, system));
    for (int row = 1; row <= SampleRows; ++row) {
        for (int column = 1; column <= SampleColumns; ++column) {
            QTableWidgetItem* item = m_sample->item(row - 1, column - 1);
            const ColorQuad cell = m_designer.cellColors(row, column);
            setOrClear(item, Qt::ForegroundRole, cell[Foreground], system);
            setOrClear(item, Qt::BackgroundRole, cell[Background], system);
            setOrClear(item, SelectedForegroundData, cell[SelectedForeground], system);
            setOrClear(item, SelectedBackgroundData, cell[SelectedBackground], system);
        }
    }
    const std::int32_t grid = m_designer.gridColor();
    m_sample->setStyleSheet(
        grid == NoColor
            ? QString()
            : QStringLiteral("QTableWidget { gridline-color: %1; }").arg(platformColor(grid, system).name()));
}

void ColorDesignerWindow::tell(const runtime::MessageRequest& message)
{
    m_session.dialogs().message(message);
}

void ColorDesignerWindow::applyColors()
{
    m_designer.apply();
    showSample();
}

void ColorDesignerWindow::copyCode(const QPoint& where, bool thenMinimize)
{
    const int choice = runtime::popupMenuChoice(this, colorCodeMenu(), where);
    if (choice == runtime::SeparatorId)
        return;
    m_session.putCode(m_designer.code(static_cast<ColorCodeForm>(choice)));
    if (thenMinimize && m_iconizeFrame)
        m_iconizeFrame();
}

void ColorDesignerWindow::addCustomColor()
{
    const std::optional<QColor> picked = m_pickColor ? m_pickColor() : std::nullopt;
    if (!picked)
        return;
    const ColorOutcome outcome = m_designer.addCustom(bgrOf(*picked));
    if (outcome.message)
        tell(*outcome.message);
    if (outcome.changed)
        fillLists();
}

void ColorDesignerWindow::deleteColor()
{
    bool mayDelete = false;
    const runtime::MessageRequest question = m_designer.deleteQuestion(mayDelete);
    const unsigned answer = m_session.dialogs().message(question);
    if (!mayDelete || answer != runtime::Button::Yes)
        return;
    const ColorOutcome outcome = m_designer.deleteSelected();
    if (outcome.message)
        tell(*outcome.message);
    if (outcome.changed)
        fillLists();
}

} // namespace kestrix::equates
