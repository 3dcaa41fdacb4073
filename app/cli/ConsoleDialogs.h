#pragma once

#include "runtime/DialogService.h"

#include <iosfwd>

namespace kestrix::app {

// No person to ask: file, folder and font dialogs are cancelled and sounds are not made. Subclasses
// decide what becomes of a message box.
class HeadlessDialogs : public runtime::DialogService
{
public:
    std::optional<std::string> openFile(const runtime::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> chooseDirectory(const std::string&, const std::string&) override
    {
        return std::nullopt;
    }
    std::optional<runtime::FontSpec> chooseFont(const std::string&, const runtime::FontSpec&) override
    {
        return std::nullopt;
    }
    void beep() override {}
    void playSound(runtime::SystemSound) override {}
};

// Dialogs for the command line: each message box is written to stderr as "CAPTION: text" and answered
// with its default button.
class ConsoleDialogs final : public HeadlessDialogs
{
public:
    explicit ConsoleDialogs(std::ostream& out);
    unsigned message(const runtime::MessageRequest& request) override;

private:
    std::ostream& m_out;
};

} // namespace kestrix::app
