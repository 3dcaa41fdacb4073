#pragma once

#include "config/Session.h"
#include "dictionary/AssignmentLines.h"

#include <QDialog>

class QTableWidget;

// "Variable Assignments": the two-column list of VAR1 = VAR2 pairs with its
// popup, accepting fields dragged from the dictionary tree.
namespace kestrix::dictionary {

class AssignmentDialog final : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* Procedure = "DicAssign";

    AssignmentDialog(config::Session& session, const std::string& title, AssignmentList list,
                     QWidget* parent = nullptr);
    ~AssignmentDialog() override;

    const AssignmentList& list() const { return m_list; }
    QTableWidget* table() const { return m_table; }
    // Runs one popup operation on the current cell.
    void edit(AssignmentEdit operation);
    // Puts the dragged fields into the column from `row` on, adding rows as needed.
    void dropFields(int row, int column);

private:
    void fill(int currentRow, int currentColumn);
    void takeEdits();

    config::Session& m_session;
    AssignmentList m_list;
    QTableWidget* m_table = nullptr;
};

} // namespace kestrix::dictionary
