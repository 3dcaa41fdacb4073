#pragma once

#include "runtime/DialogService.h"

class QObject;

// Lets a worker thread (a loader behind its progress window) show boxes: each
// call is carried out on the GUI thread while the worker waits for the answer.
namespace kestrix::runtime {

class GuiThreadDialogs final : public DialogService
{
public:
    // `guiObject` lives on the GUI thread.
    GuiThreadDialogs(DialogService& target, QObject* guiObject) : m_target(target), m_gui(guiObject) {}

    unsigned message(const MessageRequest& request) override;
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::vector<std::string> openFiles(const FileDialogRequest& request) override;
    std::optional<std::string> chooseDirectory(const std::string& title, const std::string& start) override;
    std::optional<FontSpec> chooseFont(const std::string& title, const FontSpec& start) override;
    void beep() override;
    void playSound(SystemSound sound) override;

private:
    template <class F> auto onGui(F&& work) -> decltype(work());

    DialogService& m_target;
    QObject* m_gui;
};

} // namespace kestrix::runtime
