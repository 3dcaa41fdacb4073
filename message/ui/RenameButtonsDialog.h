#pragma once

#include "message/ui/PopupCode.h"
#include "runtime/Record.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLineEdit;

namespace kestrix::message {

// "Rename Message Buttons": the texts the buttons show instead of the standard ones.
// Works on the Message Maker's record; closing with every name blank switches renaming off.
class RenameButtonsDialog final : public QDialog
{
    Q_OBJECT

public:
    RenameButtonsDialog(runtime::Record& message, PopupCode popupCode, QWidget* parent = nullptr);

    void done(int result) override;

private:
    void showRecord();

    runtime::Record& m_message;
    PopupCode m_popupCode;
    std::array<QCheckBox*, 8> m_chosen{};
    std::array<QLineEdit*, 8> m_names{};
    QCheckBox* m_rename = nullptr;
};

} // namespace kestrix::message
