#pragma once

#include "runtime/Record.h"

#include <array>
#include <memory>
#include <string>

// The message record (prefix MES): everything about one message box, as the
// Message Maker edits it and the message file "MESSAGE" keeps it.
namespace kestrix::message {

namespace Mes {
enum Field : int {
    Id,
    Description,
    Caption,
    Text,
    Icon,
    Button,
    Default,
    Style,
    CodeType,
    CodeLoop,
    CodeIfError,
    Sound,
    RenameButtons,
    ButtonName,
    FixLocale,
};
enum Key : int { ByDescription, ById };
constexpr int ButtonCount = 8;
} // namespace Mes

constexpr const char* TemplateDescription = "ZZ-DEFAULT";

struct StandardButton final
{
    const char* name;         // as in MES:DEFAULT and after "BUTTON:"
    unsigned value;           // summed for the message box
    const char* standardText; // shown when the buttons are renamed
};
// Index 1 to 8: OK, Yes, No, Abort, Retry, Ignore, Cancel, Help.
const StandardButton& standardButton(int index);
// 1-based index of a button name (any case), 0 when unknown.
int buttonIndex(const std::string& name);

std::shared_ptr<const runtime::RecordLayout> messageLayout();

// The template record as the program creates it when the file has none.
runtime::Record templateMessage();

bool buttonChosen(const runtime::Record& message, int index);
// The text a chosen button shows when the buttons are renamed: its name or the standard text.
std::string renamedButtonText(const runtime::Record& message, int index);

// Between the file form (real tabs) and the window form (the configured tab character).
std::string tabsToCharacter(const std::string& text, char tabCharacter);
std::string characterToTabs(const std::string& text, char tabCharacter);

} // namespace kestrix::message
