#pragma once

#include "runtime/DialogService.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Template Code's logic: the code text built by pressing word buttons at the
// caret, and the lines "To Clip" hands to the clipboard.
namespace kestrix::equates {

constexpr std::size_t TemplateCodeLength = 1000;

// The popup menus of the three popup buttons.
enum class TemplatePopup { TplCode, QuickMsg, Symbols };
// The popup type a button asks for in the current template family.
std::string templatePopupType(TemplatePopup popup, bool abc);
// The conversion characters its template is read with.
std::string templatePopupConversions(TemplatePopup popup);

// What a popup button inserts for the template chosen: nothing for a blank choice; the
// "Tpl Code" and "{Q} Msg" templates are followed by a blank.
std::string popupWord(TemplatePopup popup, const std::string& chosen);

// The word a button inserts: its text without '&', with "SELF." for the window's own
// request and response in the ABC family.
std::string buttonWord(std::string_view buttonText, bool abc);

// Every button text of the window, in the order they stand.
const std::vector<std::string>& templateWordButtons();

class TemplateCode final
{
public:
    TemplateCode() { clear(); }

    const std::string& text() const { return m_text; }
    // 0-based: the number of characters before the caret.
    std::size_t caret() const { return m_caret; }
    // The text as the user edited it; refused (false) when longer than the text holds.
    bool setText(std::string text, std::size_t caret);
    void setCaret(std::size_t caret) { m_caret = std::min(caret, m_text.size()); }

    // Inserts a word at the caret as a button does; nothing when the text would grow
    // beyond its length (the refusal says so).
    std::optional<runtime::MessageRequest> insert(std::string word);
    std::optional<runtime::MessageRequest> press(std::string_view buttonText, bool abc)
    {
        return insert(buttonWord(buttonText, abc));
    }
    // "Ne&w": six empty lines.
    void clear();

    // The lines "To Clip" hands on (empty when there is nothing to send), or why none go.
    struct ClipLines
    {
        std::vector<std::string> lines;
        std::optional<runtime::MessageRequest> refusal;
    };
    ClipLines clipLines() const;

private:
    std::optional<runtime::MessageRequest> typeAtCaret(const std::string& characters);
    std::optional<runtime::MessageRequest> tooLong(const std::string& word) const;

    std::string m_text;
    std::size_t m_caret = 0;
};

} // namespace kestrix::equates
