#pragma once

#include "runtime/ui/ToolWindow.h"

class QLineEdit;
class QTabWidget;
class QTableWidget;

namespace kestrix::runtime {
class FilterBox;
}

namespace kestrix::config {
class Session;
}

namespace kestrix::equates {

// "ASCII Table": the character codes in the OEM and ANSI sets and the control codes.
class AsciiTableWindow final : public runtime::ToolWindow
{
    Q_OBJECT

public:
    explicit AsciiTableWindow(config::Session& session, QWidget* parent = nullptr);

    // Selects the row of what was typed in the search box on the tab shown; false when nothing matches.
    bool find(const QString& typed);
    // Puts the literal of the code in that cell on the clipboard.
    void copyLiteral(QTableWidget* table, int row, int column);

private:
    QTableWidget* characterTable(bool ansi);
    QTableWidget* controlTable();

    config::Session& m_session;
    QLineEdit* m_search = nullptr;
    runtime::FilterBox* m_filter = nullptr;
    QTabWidget* m_sheet = nullptr;
    QTableWidget* m_ascii = nullptr;
    QTableWidget* m_control = nullptr;
    QTableWidget* m_ansi = nullptr;
};

} // namespace kestrix::equates
