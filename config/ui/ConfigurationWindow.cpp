#include "config/ui/ConfigurationWindow.h"

#include "config/ClarionRootSearch.h"
#include "config/ConfigChecks.h"
#include "config/Settings.h"
#include "runtime/FixedText.h"
#include "runtime/ui/AppIcons.h"
#include "runtime/ui/QtText.h"
#include "runtime/ui/WindowPlacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QKeySequence>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kestrix::config {

using runtime::fromQt;
using runtime::toQt;

ConfigurationWindow::ConfigurationWindow(runtime::KeyedFile& file, runtime::DialogService& dialogs,
                                         runtime::WindowPositionStore positions, QWidget* parent)
    : QDialog(parent), m_form(file), m_dialogs(dialogs), m_positions(std::move(positions))
{
    setWindowTitle(QStringLiteral("Configuration Update"));
    setWindowIcon(runtime::appIcon("1HAND1"));
    setObjectName(QStringLiteral("Configuration"));

    m_tabs = new QTabWidget(this);
    // Every tab caption whole: the window is as wide as the tabs need.
    m_tabs->setElideMode(Qt::ElideNone);
    m_tabs->setUsesScrollButtons(false);
    m_tabs->addTab(buildGeneralTab(), QStringLiteral("&General"));
    m_tabs->addTab(buildMessageTab(), QStringLiteral("&Message"));
    m_tabs->addTab(buildDictionaryTab(), QStringLiteral("&Dictionary"));
    m_tabs->addTab(buildStickNoteTab(), QStringLiteral("&Stick Note"));
    m_tabs->addTab(buildLookTab(), QStringLiteral("&Look"));
    m_tabs->addTab(buildFeelTab(), QStringLiteral("&Feel"));
    m_tabs->addTab(buildKeysTab(), QStringLiteral("&Keys"));

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancel"));
    auto* help = buttons->addButton(QStringLiteral("Help"), QDialogButtonBox::HelpRole);
    auto* exporter = buttons->addButton(QStringLiteral("Export..."), QDialogButtonBox::ActionRole);
    exporter->setObjectName(QStringLiteral("exportSettings"));
    exporter->setToolTip(
        QStringLiteral("Write these settings, the window positions and list layouts to a file"));
    connect(exporter, &QPushButton::clicked, this, &ConfigurationWindow::exportSettings);
    auto* importer = buttons->addButton(QStringLiteral("Import..."), QDialogButtonBox::ActionRole);
    importer->setObjectName(QStringLiteral("importSettings"));
    importer->setToolTip(QStringLiteral("Take settings from a file written by Export; OK keeps them"));
    connect(importer, &QPushButton::clicked, this, &ConfigurationWindow::importSettings);
    m_chooseExportTarget = [this]() -> std::optional<std::string> {
        const QString target = QFileDialog::getSaveFileName(
            this, QStringLiteral("Export Settings"), QStringLiteral("kestrix-settings.ini"),
            QStringLiteral("Settings (*.ini);;All Files (*)"));
        return target.isEmpty() ? std::nullopt : std::optional<std::string>(fromQt(target));
    };
    connect(buttons, &QDialogButtonBox::accepted, this, &ConfigurationWindow::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ConfigurationWindow::reject);
    connect(help, &QPushButton::clicked, this,
            [this] { emit helpRequested(QStringLiteral("~Configuration")); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
    loadControls();
    runtime::restorePlacement(this, m_positions, Ini::ConfigurationProcedure);
}

QLineEdit* ConfigurationWindow::textField(Cfg::Field field)
{
    auto* edit = new QLineEdit(this);
    edit->setMaxLength(m_form.record().layout().field(field).size);
    edit->setObjectName(toQt(m_form.record().layout().field(field).name));
    m_texts[field] = edit;
    return edit;
}

// The entries lose their focus as the dialog's children go: by then the window
// is only a QDialog, so nothing of it may run.
ConfigurationWindow::~ConfigurationWindow()
{
    for (QWidget* child : findChildren<QWidget*>()) {
        child->removeEventFilter(this);
        child->disconnect(this);
    }
}

QLineEdit* ConfigurationWindow::numberField(Cfg::Field field)
{
    auto* edit = new QLineEdit(this);
    edit->setValidator(new QIntValidator(-99999, 99999, edit));
    edit->setMaximumWidth(70);
    edit->setObjectName(toQt(m_form.record().layout().field(field).name));
    m_numbers[field] = edit;
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::editingFinished, this, [this, field] { acceptNumber(field); });
    return edit;
}

QCheckBox* ConfigurationWindow::checkField(Cfg::Field field, const QString& text, int element)
{
    auto* box = new QCheckBox(text, this);
    box->setObjectName(toQt(m_form.record().layout().columnName(field, element)));
    m_checks.emplace_back(field, element, box);
    return box;
}

QWidget* ConfigurationWindow::buildGeneralTab()
{
    auto* page = new QWidget(this);
    auto* form = new QFormLayout;
    m_path = textField(Cfg::CwPath);
    m_path->installEventFilter(this);
    connect(m_path, &QLineEdit::editingFinished, this, [this] { acceptPath(); });
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(m_path);
    auto* pathButton = new QPushButton(QStringLiteral("..."), page);
    pathButton->setObjectName(QStringLiteral("browsePath"));
    connect(pathButton, &QPushButton::clicked, this, &ConfigurationWindow::browseClarionPath);
    pathRow->addWidget(pathButton);
    form->addRow(QStringLiteral("Clarion Path:"), pathRow);

    auto* editorRow = new QHBoxLayout;
    editorRow->addWidget(textField(Cfg::Editor));
    auto* editorButton = new QPushButton(QStringLiteral("..."), page);
    editorButton->setObjectName(QStringLiteral("browseEditor"));
    connect(editorButton, &QPushButton::clicked, this, &ConfigurationWindow::browseEditor);
    editorRow->addWidget(editorButton);
    form->addRow(QStringLiteral("Editor Name:"), editorRow);

    auto* formatting = new QGroupBox(QStringLiteral("Code Formatting"), page);
    auto* grid = new QFormLayout(formatting);
    grid->addRow(checkField(Cfg::LowerCase, QStringLiteral("Lower &Case Code")));
    grid->addRow(QStringLiteral("&Initial Indent:"), numberField(Cfg::Indent));
    grid->addRow(QStringLiteral("&Nest Indent:"), numberField(Cfg::NestIndent));
    grid->addRow(checkField(Cfg::EndComment, QStringLiteral("END !Comment")));

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addWidget(formatting);
    layout->addStretch();
    return page;
}

QWidget* ConfigurationWindow::buildMessageTab()
{
    auto* page = new QWidget(this);
    auto* form = new QFormLayout;
    form->addRow(checkField(Cfg::PlayDefaultSound, QStringLiteral("Play Default &Sound")));
    form->addRow(checkField(Cfg::DefaultAlways, QStringLiteral("D&efault Button Always")));
    form->addRow(QStringLiteral("&Button  Variable:"), textField(Cfg::Btn));
    m_tabChar = new QLineEdit(page);
    m_tabChar->setObjectName(QStringLiteral("TABCHAR"));
    m_tabChar->setMaxLength(1);
    m_tabChar->setMaximumWidth(40);
    connect(m_tabChar, &QLineEdit::editingFinished, this, [this] {
        m_form.acceptTabCharacter(fromQt(m_tabChar->text()));
        m_tabChar->setText(QString(QChar::fromLatin1(tabCharacter(m_form.record()))));
    });
    form->addRow(QStringLiteral("Tab Character"), m_tabChar);

    auto* rename = new QGroupBox(QStringLiteral("Rename Buttons"), page);
    auto* renameForm = new QFormLayout(rename);
    renameForm->addRow(QStringLiteral("Fix &Variable:"), textField(Cfg::RenameFixVariable));
    renameForm->addRow(QStringLiteral("Fix &File:"), textField(Cfg::RenameFixFile));
    QCheckBox* cancel = checkField(Cfg::AlwaysCancel, QStringLiteral("&Cancel Button Always"));
    cancel->setToolTip(QStringLiteral("Options to work around bugs prior to 2003, see Help"));
    renameForm->addRow(cancel);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addWidget(rename);
    layout->addWidget(checkField(Cfg::DoubleAmpersand, QStringLiteral("Double &Ampersand")));
    layout->addStretch();
    return page;
}

QWidget* ConfigurationWindow::buildDictionaryTab()
{
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    grid->addWidget(new QLabel(QStringLiteral("Str&eam Counter:"), page), 0, 0);
    grid->addWidget(textField(Cfg::StreamV), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Default Count:"), page), 0, 2);
    grid->addWidget(numberField(Cfg::StreamRecords), 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("&Yield Counter:"), page), 1, 0);
    grid->addWidget(textField(Cfg::YieldV), 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Default Count:"), page), 1, 2);
    grid->addWidget(numberField(Cfg::YieldRecords), 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Field &Width:"), page), 2, 0);
    grid->addWidget(numberField(Cfg::FieldWidth), 2, 1);
    for (int row = 0; row < 3; ++row) {
        for (int column : {0, 2}) {
            if (auto* label = qobject_cast<QLabel*>(grid->itemAtPosition(row, column)
                                                        ? grid->itemAtPosition(row, column)->widget()
                                                        : nullptr))
                label->setBuddy(grid->itemAtPosition(row, column + 1)->widget());
        }
    }
    grid->setRowStretch(3, 1);
    return page;
}

QWidget* ConfigurationWindow::buildStickNoteTab()
{
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    form->addRow(checkField(Cfg::NoteBars, QStringLiteral("Scroll Bars")));
    auto* fontRow = new QHBoxLayout;
    m_noteFont = new QLabel(page);
    m_noteFont->setObjectName(QStringLiteral("noteFont"));
    fontRow->addWidget(m_noteFont, 1);
    auto* fontButton = new QPushButton(QStringLiteral("Font"), page);
    fontButton->setObjectName(QStringLiteral("noteFontButton"));
    fontButton->setToolTip(QStringLiteral("Select new Font"));
    connect(fontButton, &QPushButton::clicked, this, &ConfigurationWindow::chooseNoteFont);
    fontRow->addWidget(fontButton);
    auto* fontLabel = new QLabel(QStringLiteral("Note &Font:"), page);
    fontLabel->setBuddy(fontButton);
    form->addRow(fontLabel, fontRow);
    m_noteColor = new QComboBox(page);
    m_noteColor->setObjectName(QStringLiteral("NOTE:COLOR"));
    for (int i = 1; i <= NoteColorCount; ++i)
        m_noteColor->addItem(QString::fromLatin1(noteColorName(i)));
    form->addRow(QStringLiteral("Note &Color:"), m_noteColor);
    return page;
}

QWidget* ConfigurationWindow::buildLookTab()
{
    auto* page = new QWidget(this);
    auto* bold = new QGroupBox(QStringLiteral("Make List Box Font Bold"), page);
    auto* boldGrid = new QGridLayout(bold);
    for (int e = 1; e <= Cfg::BoldFlagsUsed; ++e)
        boldGrid->addWidget(checkField(Cfg::LookBold, QString::fromLatin1(boldFlagName(e)), e), (e - 1) / 2,
                            (e - 1) % 2);
    auto* checkAll = new QPushButton(QStringLiteral("Check All"), bold);
    checkAll->setObjectName(QStringLiteral("checkAll"));
    connect(checkAll, &QPushButton::clicked, this, [this] {
        for (auto& [field, element, box] : m_checks) {
            if (field == Cfg::LookBold)
                box->setChecked(true);
        }
        m_form.checkAllBold();
    });
    boldGrid->addWidget(checkAll, (Cfg::BoldFlagsUsed + 1) / 2, 0);

    m_fonts = new QTreeWidget(page);
    m_fonts->setObjectName(QStringLiteral("fonts"));
    m_fonts->setRootIsDecorated(false);
    m_fonts->setHeaderLabels({QStringLiteral("Function"), QStringLiteral("Font")});
    for (int row = 1; row <= Cfg::FontRowsUsed; ++row)
        new QTreeWidgetItem(m_fonts, {QString::fromLatin1(fontRowName(row)), QString()});
    m_fonts->setCurrentItem(m_fonts->topLevelItem(0));
    m_fonts->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

    auto* fontButtons = new QHBoxLayout;
    auto* font = new QPushButton(QStringLiteral("&Font"), page);
    font->setObjectName(QStringLiteral("rowFont"));
    auto* byDefault = new QPushButton(QStringLiteral("&Default"), page);
    byDefault->setObjectName(QStringLiteral("rowDefault"));
    auto* fixed = new QPushButton(QStringLiteral("Fi&xed"), page);
    fixed->setObjectName(QStringLiteral("rowFixed"));
    fixed->setToolTip(QStringLiteral("Make all fonts Fixedsys"));
    connect(font, &QPushButton::clicked, this, &ConfigurationWindow::chooseRowFont);
    connect(byDefault, &QPushButton::clicked, this, [this] {
        m_form.defaultFontRow(selectedFontRow());
        refreshFontRows();
    });
    connect(fixed, &QPushButton::clicked, this, [this] {
        m_form.fixedFontRow(selectedFontRow());
        refreshFontRows();
    });
    fontButtons->addWidget(font);
    fontButtons->addWidget(byDefault);
    fontButtons->addWidget(fixed);
    fontButtons->addStretch();

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(bold);
    layout->addWidget(m_fonts);
    layout->addLayout(fontButtons);
    return page;
}

QWidget* ConfigurationWindow::buildFeelTab()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    m_noTips = checkField(Cfg::NoTips, QStringLiteral("No Tool Tips"));
    connect(m_noTips, &QCheckBox::toggled, this, [this](bool off) { emit toolTipsSwitched(off); });
    layout->addWidget(m_noTips);
    layout->addWidget(checkField(Cfg::FutBytes,
                                 QStringLiteral("Keep the Clipboard &Queue for the next start"),
                                 FutByte::KeepClipboardQueue));
    layout->addStretch();
    return page;
}

QWidget* ConfigurationWindow::buildKeysTab()
{
    auto* page = new QWidget(this);
    m_keys = new QTreeWidget(page);
    m_keys->setObjectName(QStringLiteral("keys"));
    m_keys->setHeaderLabels({QStringLiteral("Tool"), QStringLiteral("Key")});
    m_keys->setRootIsDecorated(false);
    m_keyEdit = new QKeySequenceEdit(page);
    m_keyEdit->setObjectName(QStringLiteral("keyEdit"));
    auto* use = new QPushButton(QStringLiteral("&Use Key"), page);
    use->setObjectName(QStringLiteral("useKey"));
    auto* remove = new QPushButton(QStringLiteral("&Remove Key"), page);
    remove->setObjectName(QStringLiteral("removeKey"));
    connect(use, &QPushButton::clicked, this,
            [this] { useKey(m_keyEdit->keySequence().toString(QKeySequence::PortableText)); });
    connect(remove, &QPushButton::clicked, this, [this] { useKey({}); });
    connect(m_keys, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        m_keyEdit->setKeySequence(item ? QKeySequence(item->text(1)) : QKeySequence());
    });
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Press the new key:"), page));
    row->addWidget(m_keyEdit, 1);
    row->addWidget(use);
    row->addWidget(remove);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_keys);
    layout->addLayout(row);
    return page;
}

void ConfigurationWindow::setToolKeys(const std::vector<ToolKey>& tools)
{
    m_shortcuts = ShortcutTable(tools);
    m_hasToolKeys = true;
    refreshKeys();
}

void ConfigurationWindow::refreshKeys()
{
    const int current = m_keys->indexOfTopLevelItem(m_keys->currentItem());
    m_keys->clear();
    for (const ToolKey& tool : m_shortcuts.tools()) {
        auto* item = new QTreeWidgetItem(m_keys, {toQt(tool.name), toQt(tool.key)});
        item->setData(0, Qt::UserRole, toQt(tool.procedure));
    }
    if (m_keys->topLevelItemCount() > 0)
        m_keys->setCurrentItem(m_keys->topLevelItem(std::clamp(current, 0, m_keys->topLevelItemCount() - 1)));
}

void ConfigurationWindow::useKey(const QString& typed)
{
    QTreeWidgetItem* item = m_keys->currentItem();
    if (!item)
        return;
    const std::string procedure = fromQt(item->data(0, Qt::UserRole).toString());
    if (auto refusal = m_shortcuts.assign(procedure, fromQt(typed))) {
        m_dialogs.message({*refusal, "KEY NOT AVAILABLE", runtime::MessageIcon::Exclamation,
                           runtime::Button::Ok, runtime::Button::Ok});
        m_keyEdit->setKeySequence(QKeySequence(item->text(1)));
        return;
    }
    refreshKeys();
}

runtime::IniFile ConfigurationWindow::listsIni() const
{
    return runtime::IniFile(m_positions.ini().path().parent_path() / Ini::ListsFile);
}

void ConfigurationWindow::exportSettings()
{
    const auto target = m_chooseExportTarget ? m_chooseExportTarget() : std::nullopt;
    if (!target)
        return;
    collectControls();
    if (auto error = config::exportSettings(*target, m_form.record(), m_positions.ini(), listsIni()))
        m_dialogs.message({*error, "EXPORT FAILED", runtime::MessageIcon::Exclamation, runtime::Button::Ok,
                           runtime::Button::Ok});
}

void ConfigurationWindow::importSettings()
{
    const auto source = m_dialogs.openFile({"Import Settings", "Settings|*.ini|All Files|*.*", {}});
    if (!source)
        return;
    collectControls();
    const runtime::IniFile windows = m_positions.ini();
    SettingsImport import = readSettings(*source, m_form.record(), &windows);
    if (!import.ok()) {
        m_dialogs.message({import.error + "||Nothing was imported.", "INVALID SETTINGS",
                           runtime::MessageIcon::Exclamation, runtime::Button::Ok, runtime::Button::Ok});
        return;
    }
    // Tool keys in the file show on the Keys tab, and are stored with it on OK.
    ImportedShortcuts importedKeys;
    if (m_hasToolKeys) {
        importedKeys = importedShortcuts(import, m_shortcuts);
        if (!importedKeys.error.empty()) {
            m_dialogs.message({importedKeys.error + "||Nothing was imported.", "INVALID SETTINGS",
                               runtime::MessageIcon::Exclamation, runtime::Button::Ok, runtime::Button::Ok});
            return;
        }
    }
    m_form.record() = *import.config;
    loadControls();
    if (importedKeys.table) {
        m_shortcuts = std::move(*importedKeys.table);
        refreshKeys();
    }
    m_import = std::move(import);
}

void ConfigurationWindow::loadControls()
{
    const runtime::Record& r = m_form.record();
    for (auto& [field, edit] : m_texts)
        edit->setText(toQt(r.text(field)));
    for (auto& [field, edit] : m_numbers)
        edit->setText(QString::number(r.number(field)));
    for (auto& [field, element, box] : m_checks) {
        const QSignalBlocker block(box);
        box->setChecked(r.number(field, element) != 0);
    }
    m_tabChar->setText(QString(QChar::fromLatin1(tabCharacter(r))));
    const int color = static_cast<int>(r.number(Cfg::NoteColor));
    m_noteColor->setCurrentIndex(color >= 1 && color <= NoteColorCount ? color - 1 : 5);
    refreshNoteFont();
    refreshFontRows();
}

void ConfigurationWindow::collectControls()
{
    runtime::Record& r = m_form.record();
    for (auto& [field, edit] : m_texts) {
        if (field != Cfg::CwPath)
            r.setText(field, fromQt(edit->text()));
    }
    for (auto& [field, element, box] : m_checks)
        r.setNumber(field, box->isChecked() ? 1 : 0, element);
    m_form.acceptTabCharacter(fromQt(m_tabChar->text()));
    r.setNumber(Cfg::NoteColor, m_noteColor->currentIndex() + 1);
}

void ConfigurationWindow::refuse(QWidget* field, const runtime::MessageRequest& message)
{
    m_refusing = true;
    m_dialogs.message(message);
    m_refusing = false;
    // After the box has closed, so that the focus is not taken back by it.
    QTimer::singleShot(0, field, [field] { field->setFocus(); });
}

bool ConfigurationWindow::acceptPath()
{
    if (m_refusing)
        return false;
    if (auto refusal = m_form.acceptClarionPath(fromQt(m_path->text()))) {
        m_dialogs.beep();
        refuse(m_path, *refusal);
        return false;
    }
    m_path->setText(toQt(m_form.record().text(Cfg::CwPath)));
    return true;
}

bool ConfigurationWindow::acceptNumber(Cfg::Field field)
{
    if (m_refusing)
        return false;
    QLineEdit* edit = m_numbers.at(field);
    if (auto refusal = m_form.acceptNumber(field, edit->text().toLong())) {
        refuse(edit, *refusal);
        return false;
    }
    return true;
}

bool ConfigurationWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Return on a refused value shows why once and stays in the field, rather than also pressing OK.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            for (auto& [field, edit] : m_numbers) {
                if (edit == watched && !acceptNumber(field))
                    return true;
            }
        }
    }
    if (watched == m_path && event->type() == QEvent::FocusIn && m_path->text().trimmed().isEmpty()) {
        const auto winIni = systemIniFile();
        m_form.fillBlankClarionPath(winIni ? std::optional<runtime::IniFile>(runtime::IniFile(*winIni))
                                           : std::nullopt);
        m_path->setText(toQt(m_form.record().text(Cfg::CwPath)));
    }
    return QDialog::eventFilter(watched, event);
}

void ConfigurationWindow::refreshFontRows()
{
    for (int row = 1; row <= Cfg::FontRowsUsed; ++row)
        m_fonts->topLevelItem(row - 1)->setText(1, toQt(fontDescription(fontOf(m_form.record(), row))));
}

void ConfigurationWindow::refreshNoteFont()
{
    const runtime::FontSpec font = noteFont(m_form.record());
    m_noteFont->setText(toQt(font.name + ", " + std::to_string(font.size)));
}

int ConfigurationWindow::selectedFontRow() const
{
    const int index = m_fonts->indexOfTopLevelItem(m_fonts->currentItem());
    return index < 0 ? 1 : index + 1;
}

void ConfigurationWindow::chooseRowFont()
{
    const int row = selectedFontRow();
    const std::string title = std::string("Select Font for ") + fontRowName(row);
    if (auto chosen =
            m_dialogs.chooseFont(title, ConfigurationForm::fontDialogStart(fontOf(m_form.record(), row)))) {
        if (auto refusal = m_form.acceptFontRow(row, *chosen))
            m_dialogs.message(*refusal);
        refreshFontRows();
    }
}

void ConfigurationWindow::chooseNoteFont()
{
    const auto start = ConfigurationForm::fontDialogStart(noteFont(m_form.record()));
    if (auto chosen = m_dialogs.chooseFont("Select Font for Stick Note", start)) {
        if (auto refusal = m_form.acceptNoteFont(*chosen))
            m_dialogs.message(*refusal);
        refreshNoteFont();
    }
}

void ConfigurationWindow::browseClarionPath()
{
    if (auto chosen = m_dialogs.chooseDirectory("Select Clarion Root Directory", fromQt(m_path->text()))) {
        // Checked before the entry takes it: the entry would cut a path longer than the field.
        if (auto refusal = m_form.acceptClarionPath(*chosen)) {
            m_dialogs.beep();
            refuse(m_path, *refusal);
            return;
        }
        m_path->setText(toQt(m_form.record().text(Cfg::CwPath)));
    }
}

void ConfigurationWindow::browseEditor()
{
    if (auto chosen =
            m_dialogs.openFile({"Select your editor program", "Programs|*.EXE;*.COM|All Files|*.*", {}})) {
        if (auto refusal = m_form.acceptEditor(*chosen)) {
            refuse(m_texts.at(Cfg::Editor), *refusal);
            return;
        }
        m_texts.at(Cfg::Editor)->setText(toQt(*chosen));
    }
}

void ConfigurationWindow::accept()
{
    // A value still being typed is checked before anything is written.
    if (!acceptPath())
        return;
    for (auto& [field, edit] : m_numbers) {
        if (!acceptNumber(field))
            return;
    }
    collectControls();
    if (m_form.save(m_dialogs)) {
        if (m_import)
            applySettingsSections(*m_import, m_positions.ini(), listsIni());
        // The keys after an import's: those of the Keys tab are what the user saw last.
        if (m_hasToolKeys)
            saveShortcuts(m_positions.ini(), m_shortcuts);
        QDialog::accept();
        return;
    }
    loadControls(); // shows what the file now holds after a change by another program
}

void ConfigurationWindow::done(int result)
{
    runtime::savePlacement(this, m_positions, Ini::ConfigurationProcedure);
    QDialog::done(result);
}

} // namespace kestrix::config
