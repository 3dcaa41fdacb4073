#pragma once

#include "runtime/WindowPositionStore.h"
#include "utilities/CodeLibrary.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace kestrix::utilities {

// "Update Code Types": adds a type, or renames one (its snippets move with it).
class CodeTypeForm final : public QDialog
{
    Q_OBJECT

public:
    // `current` empty: adding.
    CodeTypeForm(CodeLibrary& library, runtime::DialogService& dialogs, std::string current,
                 runtime::WindowPositionStore positions, QWidget* parent = nullptr);
    ~CodeTypeForm() override;

    // The type as saved.
    std::string type() const;
    QLineEdit* typeEntry() const { return m_type; }
    QLabel* action() const { return m_action; }

    void accept() override;

private:
    CodeLibrary& m_library;
    runtime::DialogService& m_dialogs;
    std::string m_current;
    runtime::WindowPositionStore m_positions;
    QLineEdit* m_type = nullptr;
    QLabel* m_action = nullptr;
};

} // namespace kestrix::utilities
