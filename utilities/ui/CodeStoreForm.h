#pragma once

#include "runtime/IniFile.h"
#include "runtime/WindowPositionStore.h"
#include "utilities/CodeLibrary.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kestrix::utilities {

// "Update Code Library": one snippet's type, name and code.
class CodeStoreForm final : public QDialog
{
    Q_OBJECT

public:
    // Without `record`: adding a snippet of `type`.
    CodeStoreForm(CodeLibrary& library, runtime::DialogService& dialogs,
                  std::optional<runtime::Record> record, const std::string& type, runtime::IniFile windowsIni,
                  QWidget* parent = nullptr);
    ~CodeStoreForm() override;

    QComboBox* typeEntry() const { return m_type; }
    QLineEdit* nameEntry() const { return m_name; }
    QPlainTextEdit* codeBox() const { return m_code; }
    QCheckBox* wrap() const { return m_wrap; }
    // The snippet as saved (type, name).
    Snippet snippet() const;

    void accept() override;

private:
    void limitCode();

    CodeLibrary& m_library;
    runtime::DialogService& m_dialogs;
    std::optional<runtime::Record> m_record;
    runtime::IniFile m_ini;
    QComboBox* m_type = nullptr;
    QCheckBox* m_wrap = nullptr;
    QLineEdit* m_name = nullptr;
    QPlainTextEdit* m_code = nullptr;
    QString m_lastCode; // the last text that fitted the field
};

// The code box's text as the record holds it (CR LF line ends) and back.
std::string codeFromBox(const QString& text);
QString codeToBox(const std::string& code);

} // namespace kestrix::utilities
