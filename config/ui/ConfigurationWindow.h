#pragma once

#include "config/ConfigurationForm.h"
#include "config/SettingsExchange.h"
#include "config/ToolShortcuts.h"
#include "runtime/DialogService.h"
#include "runtime/WindowPositionStore.h"

#include <QDialog>

#include <functional>
#include <map>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QKeySequenceEdit;
class QLabel;
class QLineEdit;
class QTabWidget;
class QTreeWidget;

// "Configuration Update": the window over the configuration record. It only
// binds controls to a ConfigurationForm, which holds the checks.
namespace kestrix::config {

class ConfigurationWindow final : public QDialog
{
    Q_OBJECT

public:
    ConfigurationWindow(runtime::KeyedFile& file, runtime::DialogService& dialogs,
                        runtime::WindowPositionStore positions, QWidget* parent = nullptr);
    ~ConfigurationWindow() override;

    const runtime::Record& record() const { return m_form.record(); }
    QTabWidget* tabs() const { return m_tabs; }

    // The tools whose keys the Keys tab edits, with their keys as the frame shows them; OK stores them.
    void setToolKeys(const std::vector<ToolKey>& tools);
    const ShortcutTable& shortcuts() const { return m_shortcuts; }
    // Asks where the settings go; a save-file dialog unless replaced (tests).
    using TargetChooser = std::function<std::optional<std::string>()>;
    void setExportTargetChooser(TargetChooser choose) { m_chooseExportTarget = std::move(choose); }

signals:
    void helpRequested(const QString& topic);
    void toolTipsSwitched(bool off);

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    QWidget* buildGeneralTab();
    QWidget* buildMessageTab();
    QWidget* buildDictionaryTab();
    QWidget* buildStickNoteTab();
    QWidget* buildLookTab();
    QWidget* buildFeelTab();
    QWidget* buildKeysTab();
    void refreshKeys();
    void useKey(const QString& typed);
    void exportSettings();
    void importSettings();
    runtime::IniFile listsIni() const;
    QLineEdit* textField(Cfg::Field field);
    QLineEdit* numberField(Cfg::Field field);
    QCheckBox* checkField(Cfg::Field field, const QString& text, int element = 1);
    void loadControls();
    void collectControls();
    bool acceptPath();
    bool acceptNumber(Cfg::Field field);
    void refuse(QWidget* field, const runtime::MessageRequest& message);
    void refreshFontRows();
    void refreshNoteFont();
    int selectedFontRow() const;
    void chooseRowFont();
    void chooseNoteFont();
    void browseClarionPath();
    void browseEditor();

    ConfigurationForm m_form;
    runtime::DialogService& m_dialogs;
    runtime::WindowPositionStore m_positions;
    QTabWidget* m_tabs = nullptr;
    std::map<Cfg::Field, QLineEdit*> m_texts;
    std::map<Cfg::Field, QLineEdit*> m_numbers;
    std::vector<std::tuple<Cfg::Field, int, QCheckBox*>> m_checks;
    QLineEdit* m_path = nullptr;
    QLineEdit* m_tabChar = nullptr;
    QLabel* m_noteFont = nullptr;
    QComboBox* m_noteColor = nullptr;
    QTreeWidget* m_fonts = nullptr;
    QCheckBox* m_noTips = nullptr;
    QTreeWidget* m_keys = nullptr;
    QKeySequenceEdit* m_keyEdit = nullptr;
    ShortcutTable m_shortcuts;
    bool m_hasToolKeys = false;
    TargetChooser m_chooseExportTarget;
    std::optional<SettingsImport> m_import; // written on OK with the record
    bool m_refusing = false;
};

} // namespace kestrix::config
