#pragma once

#include "runtime/DialogService.h"
#include "runtime/Record.h"

#include <optional>
#include <string>
#include <vector>

// Writes the Clarion source of a MESSAGE() call from a message record, with
// the code structure around it (IF ERRORCODE(), LOOP, CASE or IF on the
// pressed button), as the lines that go to the clipboard.
namespace kestrix::message {

struct GeneratorSettings final
{
    int initialIndent = 0;
    int nestIndent = 3;
    std::string buttonVariable = "Btn#";
    bool playDefaultSound = true;
    bool defaultAlways = true;
    bool doubleAmpersand = false;
    bool endComment = true;
    char tabCharacter = '`';
};
GeneratorSettings generatorSettings(const runtime::Record& config);

struct GeneratedCode final
{
    std::vector<std::string> lines;
    // Set when a check failed: the message to show; `lines` then holds the single line that says why.
    std::optional<runtime::MessageRequest> failure;
};

struct MessageCheckFailure final
{
    runtime::MessageRequest box;
    std::string line; // what goes to the clipboard instead of code
};
// The checks a message passes before code is written or it is saved: a button, balanced braces.
std::optional<MessageCheckFailure> checkMessage(const runtime::Record& message);

class MessageGenerator final
{
public:
    explicit MessageGenerator(GeneratorSettings settings) : m_settings(std::move(settings)) {}

    // `message` is the window's copy: tabs appear as the configured tab character.
    GeneratedCode generate(const runtime::Record& message) const;

private:
    GeneratorSettings m_settings;
};

// The message text without its trailing characters of code 32 or less.
std::string trimmedMessageText(const std::string& text);
// A caption as a string expression: "Delete {CLIP(Name)}?" -> "'Delete ' & CLIP(Name) & '?'".
std::string captionExpression(const std::string& caption);
// Text inside a string literal: quotes, '<' and '{' doubled.
std::string literalText(const std::string& text);

} // namespace kestrix::message
