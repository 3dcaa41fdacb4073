#pragma once

#include "config/Session.h"
#include "dictionary/SetLoopCode.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;

// "Generate SET()/LOOP Code": the choices of one SET/LOOP request.
namespace kestrix::dictionary {

class SetLoopDialog final : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* Procedure = "DicSetForm";

    // `files`: the dictionary's files, for the action file list.
    SetLoopDialog(config::Session& session, SetGenerator request, const std::vector<std::string>& files,
                  const std::string& title, QWidget* parent = nullptr);
    ~SetLoopDialog() override;

    // The request as the controls stand.
    SetGenerator request() const;
    const AssignmentList& assignments() const { return m_assignments; }
    void setAssignments(AssignmentList list) { m_assignments = std::move(list); }

private:
    void streamChanged();

    config::Session& m_session;
    SetGenerator m_request;
    AssignmentList m_assignments;
    QRadioButton* m_previous = nullptr;
    QCheckBox* m_noMemo = nullptr;
    QComboBox* m_actionFile = nullptr;
    QComboBox* m_action = nullptr;
    QCheckBox* m_stream = nullptr;
    QCheckBox* m_flush = nullptr;
    QSpinBox* m_flushCount = nullptr;
    QCheckBox* m_yield = nullptr;
    QSpinBox* m_yieldCount = nullptr;
    QCheckBox* m_cursor = nullptr;
    QCheckBox* m_logout = nullptr;
    QCheckBox* m_abcSave = nullptr;
};

} // namespace kestrix::dictionary
