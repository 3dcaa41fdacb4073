#pragma once

#include "runtime/DialogService.h"
#include "runtime/WindowPositionStore.h"

#include <QDialog>

#include <functional>
#include <string>

class QLineEdit;

namespace kestrix::message {

// The save window ("MessageSave"): asks for the description a message is saved
// under. OK hands it to `save`, which writes the record; the window stays open
// when that fails so the user can try again or cancel.
class MessageSaveDialog final : public QDialog
{
    Q_OBJECT

public:
    enum class Request { Change, Insert };

    MessageSaveDialog(Request request, const std::string& description,
                      std::function<bool(const std::string&)> save, runtime::DialogService& dialogs,
                      runtime::WindowPositionStore positions, QWidget* parent = nullptr);
    ~MessageSaveDialog() override;

    QLineEdit* description() const { return m_description; }

private:
    void tryToSave();

    std::function<bool(const std::string&)> m_save;
    runtime::DialogService& m_dialogs;
    runtime::WindowPositionStore m_positions;
    QLineEdit* m_description = nullptr;
};

} // namespace kestrix::message
