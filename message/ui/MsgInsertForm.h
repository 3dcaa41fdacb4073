#pragma once

#include "message/ui/PopupCode.h"
#include "runtime/DialogService.h"
#include "runtime/KeyedFile.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace kestrix::message {

// "MsgInsertForm": adds or changes one message insert, writing it with the
// standard record handling.
class MsgInsertForm final : public QDialog
{
    Q_OBJECT

public:
    enum class Request { Insert, Change };

    MsgInsertForm(Request request, const runtime::Record& insert, runtime::KeyedFile& inserts,
                  runtime::DialogService& dialogs, PopupCode popupCode, QWidget* parent = nullptr);

    const runtime::Record& insert() const { return m_insert; }
    QLineEdit* text() const { return m_text; }

private:
    void save();
    void showInsert();
    void quickInsert();

    Request m_request;
    runtime::Record m_insert;
    runtime::KeyedFile& m_inserts;
    runtime::DialogService& m_dialogs;
    PopupCode m_popupCode;
    QLineEdit* m_text = nullptr;
    QCheckBox* m_curly = nullptr;
    QCheckBox* m_clip = nullptr;
};

} // namespace kestrix::message
