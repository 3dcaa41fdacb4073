#pragma once

#include "config/Session.h"
#include "message/TextInsertion.h"
#include "runtime/KeyedFile.h"
#include "runtime/Record.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// What the Message Maker window does with its one message record: new, open
// and save, the button and default rules, decompile, inserts and the three
// outputs. The window only binds its controls to this.
namespace kestrix::message {

// The "&Default Button" radios: the first four chosen buttons.
struct DefaultChoices final
{
    std::vector<int> buttons;  // button indexes (1 to 8), at most four
    int selected = -1;         // index into `buttons`
};

constexpr int DefaultChoiceCount = 4;

class MessageMaker final
{
public:
    // `messages` is the open message file; `icons` the equates file's "Icon" entries in order.
    MessageMaker(config::Session& session, runtime::KeyedFile& messages, std::vector<std::string> icons);

    // The window's copy: the text holds the configured tab character for every tab.
    runtime::Record& message() { return m_message; }
    const runtime::Record& message() const { return m_message; }
    const std::vector<std::string>& icons() const { return m_icons; }
    char tabCharacter() const;

    // Starts a new message from the template; false (after the error beep and
    // box) when the template cannot be created: the window must close.
    bool newMessage();
    // The record chosen in the Open Message window, as saved, or as an unsaved copy.
    void open(const runtime::Record& saved);
    void openAsNew(const runtime::Record& saved);
    // Writes a saved message back, under `description`; false after telling the user why.
    bool save(const std::string& description);
    // Adds the message under `description`; on false the user was told and the message is unchanged.
    bool saveAs(const std::string& description);

    bool saveEnabled() const;
    std::string title() const;
    // The right-click menu, "|" between items, "~" before a disabled one.
    std::string contextMenuText() const;

    // The three rules after the record changed: icon, rename state (shown by the window), default button.
    void refresh();
    DefaultChoices defaultChoices() const;
    void setButton(int index, bool chosen);
    void setDefaultChoice(int choice);
    int iconIndex() const;            // of MES:ICON in the icon list; 0 when the list is empty
    void setIcon(int index);

    // Reads a MESSAGE() statement; false when there is none (the user was told).
    bool decompile(const std::string& source);
    void generateToClipboard();
    void preview();
    // One-letter requests on a record of the file ("C", "M", "T"); the window's own message stays.
    // "M" then calls `iconizeFrame`.
    void perform(char request, const runtime::Record& saved, const std::function<void()>& iconizeFrame);

    // Puts a piece into the text at `caret` (characters before it); the new caret, or
    // nothing when the text would grow past its 1000 characters (the user was told).
    std::optional<int> insert(const std::string& piece, int caret);

private:
    runtime::Record windowForm(const runtime::Record& saved) const;
    runtime::Record fileForm() const;

    config::Session& m_session;
    runtime::KeyedFile& m_messages;
    std::vector<std::string> m_icons;
    runtime::Record m_message;
};

// The question before a saved message is deleted.
runtime::MessageRequest deleteMessageQuestion(const runtime::Record& saved);

} // namespace kestrix::message
