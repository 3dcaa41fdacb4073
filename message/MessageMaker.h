#pragma once

#include "config/Session.h"
#include "message/MessageGenerator.h"
#include "message/TextInsertion.h"
#include "runtime/KeyedFile.h"
#include "runtime/MenuItem.h"
#include "runtime/Record.h"

#include <array>
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
    std::vector<int> buttons; // button indexes (1 to 8), at most four
    int selected = -1;        // index into `buttons`
};

constexpr int DefaultChoiceCount = 4;

// The commands of the window's menus; the context menu returns them as item ids.
enum class MakerCommand : int {
    Preview = 1,
    Generate,
    GenerateAndMinimize,
    New,
    OpenAsNew,
    Open,
    Save,
    SaveAs,
    Decompile,
};

// What the Open Message window does with a saved message.
enum class SavedMessageCommand : int { Open = 1, Preview, Generate, GenerateAndMinimize };

enum class CommandOutcome { Done, Failed, NeedsWindow };
enum class SaveOutcome { Saved, Refused, Failed };

// Why an edit was not taken (names the field and its size, or the values it takes); empty when it was.
using EditRefusal = std::optional<std::string>;

// Changes to a message as the command line and JSON give them; only the members set are applied.
struct MessageEdits final
{
    std::optional<std::string> caption;
    std::optional<std::string> text; // the window's form
    std::optional<std::string> icon;
    std::optional<std::vector<int>> buttons; // indexes 1 to 8
    std::optional<std::string> defaultButton;
    std::optional<std::string> codeType;
    std::optional<bool> codeLoop, codeIfError, sound, renameButtons;
    std::array<std::optional<std::string>, 8> buttonNames;
};

// The code structures, as MES:CODETYPE holds them.
const std::vector<std::string>& codeTypeNames();

class MessageMaker final
{
public:
    // `messages` is the open message file; `icons` the equates file's "Icon" entries in order.
    MessageMaker(config::Session& session, runtime::KeyedFile& messages, std::vector<std::string> icons);

    // The window's copy: the text holds the configured tab character for every tab. It is
    // changed only through the setters below, which apply the refresh rules.
    const runtime::Record& message() const { return m_message; }
    const std::vector<std::string>& icons() const { return m_icons; }
    char tabCharacter() const;

    // Starts a new message from the template; false (after the error beep and
    // box) when the template cannot be created: the window must close.
    bool newMessage();
    // The record chosen in the Open Message window, as saved, or as an unsaved copy.
    void open(const runtime::Record& saved);
    void openAsNew(const runtime::Record& saved);
    // Writes a saved message back, under `description`. Refused (the user was told) when
    // the message fails the generator's checks or the description cannot name it.
    SaveOutcome save(const std::string& description);
    // Adds the message under `description`; on anything but Saved the user was told and the message is
    // unchanged.
    SaveOutcome saveAs(const std::string& description);

    bool saveEnabled() const;
    std::string title() const;
    // The right-click menu; each item's id is a MakerCommand.
    std::vector<runtime::MenuItem> contextMenu() const;
    // Runs a command that needs no window of its own; NeedsWindow for Open and Save, which ask first.
    // Generate and minimise then calls `iconizeFrame`.
    CommandOutcome execute(MakerCommand command, const std::function<void()>& iconizeFrame = {});

    // The edits. Each refusal names the field and what it takes; the record is then unchanged.
    [[nodiscard]] EditRefusal setCaption(const std::string& caption);
    // In the window's form: typed line ends as CR LF, tabs as the tab character.
    [[nodiscard]] EditRefusal setText(const std::string& text);
    [[nodiscard]] EditRefusal setIconName(const std::string& name); // one of icons(), any case
    void setIcon(int index);
    int iconIndex() const; // of MES:ICON in the icon list; 0 when the list is empty
    void setButton(int index, bool chosen);
    // Exactly these buttons chosen (indexes 1 to 8), as if each check box were clicked.
    void setButtons(const std::vector<int>& chosen);
    DefaultChoices defaultChoices() const;
    void setDefaultChoice(int choice);
    // By name: refused unless it is one of the default choices.
    [[nodiscard]] EditRefusal setDefaultButton(const std::string& name);
    void setCodeType(int index); // into codeTypeNames()
    [[nodiscard]] EditRefusal setCodeType(const std::string& name);
    void setCodeLoop(bool on);
    void setCodeIfError(bool on);
    void setSound(bool on);
    void setRenameButtons(bool on);
    [[nodiscard]] EditRefusal setButtonName(int index, const std::string& text);
    // Every edit set in `edits`, in the order the window takes them (the default after the
    // buttons); the first refusal leaves the message as it was.
    [[nodiscard]] EditRefusal apply(const MessageEdits& edits);
    // What the Rename Message Buttons window changed on its copy: buttons, renaming, names.
    void applyRenaming(const runtime::Record& edited);

    // The refresh rules after the record changed: icon, default button.
    void refresh();

    // Reads a MESSAGE() statement; false when there is none (the user was told).
    bool decompile(const std::string& source);
    // The code, on the clipboard in the session's mode; a failed check was shown and its line put there.
    GeneratedCode generateToClipboard();
    void preview();
    // Preview and generate a record of the file; the window's own message stays. GenerateAndMinimize
    // then calls `iconizeFrame`. Open is the caller's (it replaces the window's message).
    void perform(SavedMessageCommand command, const runtime::Record& saved,
                 const std::function<void()>& iconizeFrame);
    // The Open Message list's right-click menu; each item's id is a SavedMessageCommand.
    static std::vector<runtime::MenuItem> savedMessageMenu();

    // Puts a piece into the text at `caret` (characters before it); the new caret, or
    // nothing when the text would grow past its 1000 characters (the user was told).
    std::optional<int> insert(const std::string& piece, int caret);

private:
    runtime::Record windowForm(const runtime::Record& saved) const;
    runtime::Record fileForm() const;
    std::optional<runtime::MessageRequest> saveRefusal(const std::string& description, bool adding) const;
    SaveOutcome write(const std::string& description, bool adding);

    config::Session& m_session;
    runtime::KeyedFile& m_messages;
    std::vector<std::string> m_icons;
    runtime::Record m_message;
};

// The question before a saved message is deleted.
runtime::MessageRequest deleteMessageQuestion(const runtime::Record& saved);

} // namespace kestrix::message
