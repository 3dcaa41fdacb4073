#pragma once

#include "runtime/DialogService.h"

#include <deque>
#include <functional>
#include <vector>

// Answers dialogs from a script and records every message shown, for tests.
namespace kestrix::runtime::testing {

class ScriptedDialogs final : public DialogService
{
public:
    unsigned message(const MessageRequest& request) override;
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    // From `filesAnswers` while it holds any, else as one file from `fileAnswers`.
    std::vector<std::string> openFiles(const FileDialogRequest& request) override;
    std::optional<std::string> chooseDirectory(const std::string& title, const std::string& start) override;
    std::optional<FontSpec> chooseFont(const std::string& title, const FontSpec& start) override;
    void beep() override { ++beeps; }
    void playSound(SystemSound sound) override { sounds.push_back(sound); }

    // Answers for the next message boxes; without one the default button is pressed.
    std::deque<unsigned> answers;
    std::deque<std::optional<std::string>> fileAnswers;
    std::deque<std::vector<std::string>> filesAnswers;
    std::deque<std::optional<FontSpec>> fontAnswers;
    std::vector<MessageRequest> shown;
    std::vector<std::string> dialogTitles;
    int beeps = 0;
    std::vector<SystemSound> sounds;
    // Called as each message box is shown, before it is answered: what another program does meanwhile.
    std::function<void()> onMessage;

    std::vector<std::string> captions() const;
};

} // namespace kestrix::runtime::testing
