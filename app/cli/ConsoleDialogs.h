#pragma once

#include "runtime/DialogService.h"

#include <iosfwd>

// Dialogs for the command line: each message box is written to stderr as
// "CAPTION: text" and answered with its default button; file and font
// dialogs are cancelled.
namespace kestrix::app {

class ConsoleDialogs final : public runtime::DialogService
{
public:
    explicit ConsoleDialogs(std::ostream& out);
    unsigned message(const runtime::MessageRequest& request) override;
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

private:
    std::ostream& m_out;
};

} // namespace kestrix::app
