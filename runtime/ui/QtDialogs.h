#pragma once

#include "runtime/DialogService.h"

#include <QString>

class QWidget;

// The dialogs as the user sees them: QMessageBox and the common dialogs.
namespace kestrix::runtime {

class QtDialogs final : public DialogService
{
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    unsigned message(const MessageRequest& request) override;
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::vector<std::string> openFiles(const FileDialogRequest& request) override;
    std::optional<std::string> chooseDirectory(const std::string& title, const std::string& start) override;
    std::optional<FontSpec> chooseFont(const std::string& title, const FontSpec& start) override;
    void beep() override;
    // MessageBeep on Windows; the toolkit's beep elsewhere.
    void playSound(SystemSound sound) override;

private:
    QWidget* m_parent = nullptr;
};

// "Programs|*.EXE;*.COM|All Files|*.*" as a Qt name filter, each pattern in both cases.
QString qtFileFilter(const std::string& filter);

} // namespace kestrix::runtime
