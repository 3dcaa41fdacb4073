#include "equates/TemplateCode.h"

#include "equates/CodeTemplate.h"
#include "runtime/FixedText.h"

namespace kestrix::equates {

std::string templatePopupType(TemplatePopup popup, bool abc)
{
    switch (popup) {
    case TemplatePopup::TplCode:
        return abc ? "TPL EQUATE ABC" : "TPL EQUATE";
    case TemplatePopup::QuickMsg:
        return "MSG{Q}";
    case TemplatePopup::Symbols:
        break;
    }
    return abc ? "TPL SYMBOLS ABC" : "TPL SYMBOLS";
}

std::string templatePopupConversions(TemplatePopup popup)
{
    return popup == TemplatePopup::QuickMsg ? "|}" : "|";
}

std::string popupWord(TemplatePopup popup, const std::string& chosen)
{
    if (runtime::isBlank(chosen))
        return {};
    return popup == TemplatePopup::Symbols ? chosen : chosen + " ";
}

std::string buttonWord(std::string_view buttonText, bool abc)
{
    std::string word;
    for (const char c : buttonText) {
        if (c != '&')
            word += c;
    }
    if (abc) {
        if (word.rfind("Local", 0) == 0)
            word = "SELF." + word.substr(5);
        else if (word == "OriginalRequest")
            word = "SELF.OriginalRequest";
    }
    return word;
}

const std::vector<std::string>& templateWordButtons()
{
    static const std::vector<std::string> buttons = {"IF",
                                                     "OR",
                                                     "AND",
                                                     "THEN",
                                                     "CASE",
                                                     "OF",
                                                     "OROF",
                                                     "ELSE",
                                                     "ELSIF",
                                                     "NOT",
                                                     "END",
                                                     "EXIT",
                                                     "<>",
                                                     "=True",
                                                     "=False",
                                                     "&InsertRecord",
                                                     "C&hangeRecord",
                                                     "&DeleteRecord",
                                                     "&SelectRecord",
                                                     "&RequestCompleted",
                                                     "RequestCa&ncelled",
                                                     "&GlobalResponse",
                                                     "GlobalReq&uest",
                                                     "&LocalResponse",
                                                     "LocalRequ&est",
                                                     "OriginalReques&t",
                                                     "Return",
                                                     "Tab",
                                                     "Space"};
    return buttons;
}

void TemplateCode::clear()
{
    m_text.clear();
    for (int i = 0; i < 6; ++i)
        m_text += "\r\n";
    m_caret = 0;
}

bool TemplateCode::setText(std::string text, std::size_t caret)
{
    if (text.size() > TemplateCodeLength)
        return false;
    m_text = std::move(text);
    setCaret(caret);
    return true;
}

std::optional<runtime::MessageRequest> TemplateCode::tooLong(const std::string& word) const
{
    if (m_text.size() + word.size() <= TemplateCodeLength)
        return std::nullopt;
    std::string shown(runtime::trim(word));
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 32)
            c = ' ';
    }
    return runtime::MessageRequest{
        "The code holds at most " + std::to_string(TemplateCodeLength) + " characters; it has " +
            std::to_string(m_text.size()) + ", so \"" + shown + "\" was not inserted.",
        "CODE TOO LONG", runtime::MessageIcon::Exclamation, runtime::Button::Ok, runtime::Button::Ok};
}

std::optional<runtime::MessageRequest> TemplateCode::typeAtCaret(const std::string& characters)
{
    if (auto refusal = tooLong(characters))
        return refusal;
    m_text.insert(m_caret, characters);
    m_caret += characters.size();
    return std::nullopt;
}

std::optional<runtime::MessageRequest> TemplateCode::insert(std::string word)
{
    if (word == "Return")
        word = "\r\n";
    else if (word == "END" || word == "|")
        word += "\r\n";
    else if (word == "Space")
        return typeAtCaret(" ");
    else if (word == "Tab")
        return typeAtCaret("    ");
    else if (!word.empty() && static_cast<unsigned char>(word.back()) >= 32)
        word += ' ';
    word += ' ';
    if (auto refusal = tooLong(word))
        return refusal;
    m_text.insert(m_caret, word);
    m_caret += word.size();
    return std::nullopt;
}

TemplateCode::ClipLines TemplateCode::clipLines() const
{
    ClipLines result;
    std::size_t end = m_text.size();
    while (end > 0) {
        const auto c = static_cast<unsigned char>(m_text[end - 1]);
        if (c != '!' && c != ' ' && c >= 32)
            break;
        --end;
    }
    if (end < 2)
        return result;
    std::string line;
    std::size_t number = 0;
    const auto finish = [&] {
        ++number;
        const std::string_view clipped = runtime::rtrim(line);
        if (clipped.size() > maxCodeLineLength() && !result.refusal) {
            result.refusal = runtime::MessageRequest{
                "Line " + std::to_string(number) + " of the code has " + std::to_string(clipped.size()) +
                    " characters; a line of code on the clipboard holds at most " +
                    std::to_string(maxCodeLineLength()) + ".|Nothing was copied.",
                "LINE TOO LONG", runtime::MessageIcon::Exclamation, runtime::Button::Ok, runtime::Button::Ok};
        }
        result.lines.emplace_back(clipped);
        line.clear();
    };
    for (std::size_t i = 0; i < end; ++i) {
        const auto c = static_cast<unsigned char>(m_text[i]);
        if (c == '\r')
            finish();
        else if (c >= 32)
            line += static_cast<char>(c);
    }
    if (!runtime::isBlank(line))
        finish();
    if (result.refusal)
        result.lines.clear();
    return result;
}

} // namespace kestrix::equates
