#pragma once

#include <optional>
#include <string>
#include <vector>

// The modal boxes and common dialogs every tool uses, behind one interface so
// that tests and the command line can answer them.
namespace kestrix::runtime {

// Button values of a message box, as the language's BUTTON: equates.
namespace Button {
constexpr unsigned Ok = 1;
constexpr unsigned Yes = 2;
constexpr unsigned No = 4;
constexpr unsigned Abort = 8;
constexpr unsigned Retry = 16;
constexpr unsigned Ignore = 32;
constexpr unsigned Cancel = 64;
constexpr unsigned Help = 128;
} // namespace Button

enum class MessageIcon { None, Exclamation, Question, Hand, Asterisk };

// The system sounds a message box can play.
enum class SystemSound { Default, Hand, Question, Exclamation, Asterisk };

struct MessageRequest final
{
    std::string text; // '|' starts a new line
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    unsigned buttons = Button::Ok;
    unsigned defaultButton = 0; // 0: the first button
    // When not empty, the box shows these texts instead of `buttons`, the
    // default is the 1-based position in `defaultButton`, and the answer is a position.
    std::vector<std::string> buttonTexts;
    bool operator==(const MessageRequest&) const = default;
};

// Font as the program stores it: style 400 is normal weight, 700 bold, plus the flags below.
struct FontSpec final
{
    std::string name = "Default";
    long size = 8;
    long color = 0;
    long style = 0;
    bool operator==(const FontSpec&) const = default;
};
namespace FontStyle {
constexpr long Normal = 400;
constexpr long Bold = 700;
constexpr long Italic = 0x1000;
constexpr long Underline = 0x2000;
constexpr long Strikeout = 0x4000;
constexpr long WeightMask = 0xFFF;
} // namespace FontStyle

struct FileDialogRequest final
{
    std::string title;
    std::string filter; // "Programs|*.EXE;*.COM|All Files|*.*"
    std::string startPath;
};

class DialogService
{
public:
    virtual ~DialogService() = default;
    // Returns the pressed button.
    virtual unsigned message(const MessageRequest& request) = 0;
    virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
    // Several files chosen at once, none when cancelled; where there is no such dialog, one file.
    virtual std::vector<std::string> openFiles(const FileDialogRequest& request);
    virtual std::optional<std::string> chooseDirectory(const std::string& title,
                                                       const std::string& start) = 0;
    virtual std::optional<FontSpec> chooseFont(const std::string& title, const FontSpec& start) = 0;
    virtual void beep() = 0;
    virtual void playSound(SystemSound sound) = 0;
};

// The first button of a set, in the order the boxes show them.
unsigned firstButton(unsigned buttons);
unsigned effectiveDefault(const MessageRequest& request);
// "|" line breaks to real ones.
std::string messageLines(const std::string& text);

} // namespace kestrix::runtime
