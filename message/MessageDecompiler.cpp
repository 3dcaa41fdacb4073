#include "message/MessageDecompiler.h"

#include "message/MessageRecord.h"
#include "runtime/FieldFit.h"
#include "runtime/FixedText.h"

#include <cctype>

namespace kestrix::message {

namespace {

// Keeps what fits of a piece too long for its field and says what was dropped.
std::string keepWhatFits(const std::string& value, const runtime::Record& r, int field, const char* what,
                         std::vector<std::string>& dropped)
{
    const auto room = static_cast<std::size_t>(r.layout().field(field).size);
    const std::string_view kept = runtime::rtrim(value);
    if (kept.size() <= room)
        return value;
    dropped.push_back("The " + std::string(what) + " has " + std::to_string(kept.size()) + " characters; " +
                      runtime::fieldLabel(r.layout(), field) + " holds " + std::to_string(room) +
                      ", so the last " + std::to_string(kept.size() - room) + " were dropped.");
    return std::string(kept.substr(0, room));
}

bool isControl(char c)
{
    return static_cast<unsigned char>(c) < 32;
}

bool startsWith(const std::string& s, std::size_t at, std::string_view what)
{
    return s.compare(at, what.size(), what) == 0;
}

// "LOOP" as a word of its own: followed by a blank, a line end or nothing.
bool hasLoopWord(const std::string& code)
{
    for (std::size_t at = code.find("LOOP"); at != std::string::npos; at = code.find("LOOP", at + 1)) {
        const bool endOk = at + 4 >= code.size() || static_cast<unsigned char>(code[at + 4]) <= 32;
        if (endOk)
            return true;
    }
    return false;
}

class TextScan
{
public:
    TextScan(const std::string& source, std::size_t start, char tabCharacter)
        : src(source), p(start), tab(tabCharacter)
    {
    }

    // Returns the text; position() is then just after the character that ended it.
    std::string run(bool& endedByComma);
    std::size_t position() const { return p; }

private:
    void write(std::string_view s) { text += s; }
    void closeExpression()
    {
        if (!text.empty() && text.back() == '&')
            text.pop_back();
        if (!text.empty() && text.back() == '{')
            text.pop_back();
        else
            text += '}';
    }
    void skipLine()
    {
        while (p < src.size() && src[p] != '\r' && src[p] != '\n')
            ++p;
        while (p < src.size() && (src[p] == '\r' || src[p] == '\n'))
            ++p;
    }
    bool literalChar();

    const std::string& src;
    std::size_t p;
    char tab;
    std::string text;
    bool inLiteral = false;
    int depth = 1;
};

// One character (or escape) inside a string literal.
bool TextScan::literalChar()
{
    const char c = src[p];
    const char next = p + 1 < src.size() ? src[p + 1] : '\0';
    if (c == '\'') {
        if (next == '\'') {
            write("'");
            p += 2;
        } else {
            inLiteral = false;
            write("{");
            ++p;
        }
        return true;
    }
    if (c == '<') {
        if (next == '<') {
            write("<");
            p += 2;
            return true;
        }
        for (const auto& [form, value] :
             {std::pair{"<9>", 1}, {"<9,9>", 2}, {"<9,9,9>", 3}, {"<13,10>", 0}}) {
            if (startsWith(src, p, form)) {
                write(value == 0 ? std::string("\r\n") : std::string(static_cast<std::size_t>(value), tab));
                p += std::string_view(form).size();
                return true;
            }
        }
        write("<");
        ++p;
        return true;
    }
    if (c == '{') {
        if (next == '{') {
            write("{");
            p += 2;
            return true;
        }
        // A repeat count: "{n}" or "{nn}" repeats the character written last.
        std::size_t digits = 0;
        while (digits < 2 && p + 1 + digits < src.size() &&
               std::isdigit(static_cast<unsigned char>(src[p + 1 + digits])))
            ++digits;
        if (digits > 0 && p + 1 + digits < src.size() && src[p + 1 + digits] == '}') {
            const int count = std::stoi(src.substr(p + 1, digits));
            if (!text.empty()) {
                const char last = text.back();
                for (int k = 0; k < count; ++k)
                    text += last;
            }
            p += digits + 2;
            return true;
        }
        write("{");
        ++p;
        return true;
    }
    if (c == '|')
        write("\r\n");
    else
        text += c;
    ++p;
    return true;
}

std::string TextScan::run(bool& endedByComma)
{
    endedByComma = false;
    while (p < src.size() && src[p] == ' ')
        ++p;
    if (p < src.size() && src[p] == '\'') {
        inLiteral = true;
        ++p;
    } else {
        write("{");
    }
    // The whole text is read, also past the field's room, so the caption after it is still found.
    while (p < src.size()) {
        const char c = src[p];
        if (isControl(c)) {
            ++p;
            continue;
        }
        if (inLiteral) {
            literalChar();
            continue;
        }
        if (depth != 1) {
            text += c;
            depth += c == '(' ? 1 : c == ')' ? -1 : 0;
            ++p;
            continue;
        }
        if (c == '&' && !text.empty() && text.back() == '{') {
            ++p;
        } else if (c == ' ') {
            ++p;
        } else if (c == '\'' || c == ',' || c == ')') {
            // ')' here closes MESSAGE( itself: the statement has no caption.
            closeExpression();
            ++p;
            if (c == '\'') {
                inLiteral = true;
            } else {
                endedByComma = c == ',';
                break;
            }
        } else if (c == '!' || c == '|') {
            skipLine();
        } else {
            text += c;
            if (c == '(')
                ++depth;
            ++p;
        }
    }
    const auto open = text.rfind('{');
    const auto close = text.rfind('}');
    if (p >= src.size() && !inLiteral && open != std::string::npos &&
        (close == std::string::npos || close < open))
        closeExpression(); // the source ended inside an expression
    return text;
}

// The caption argument: literals give their text, other pieces joined by '&' become {expressions}.
std::string scanCaption(const std::string& src, std::size_t p)
{
    std::string caption;
    std::string piece;
    bool quoted = false;
    int depth = 0;
    bool pieceIsLiteral = true; // only literals so far in this piece
    std::string literal;        // the text of those literals
    const auto flush = [&] {
        const std::string trimmed(runtime::trim(piece));
        if (!trimmed.empty()) {
            if (pieceIsLiteral)
                caption += literal;
            else
                caption += "{" + trimmed + "}";
        }
        piece.clear();
        literal.clear();
        pieceIsLiteral = true;
    };
    while (p < src.size() && (src[p] == ' ' || isControl(src[p])))
        ++p;
    for (; p < src.size(); ++p) {
        const char c = src[p];
        if (isControl(c))
            continue;
        const char next = p + 1 < src.size() ? src[p + 1] : '\0';
        if (quoted) {
            piece += c;
            if (c == '\'' && next == '\'') {
                literal += '\'';
                piece += next;
                ++p;
            } else if ((c == '<' && next == '<') || (c == '{' && next == '{')) {
                literal += c;
                piece += next;
                ++p;
            } else if (c == '\'') {
                quoted = false;
            } else {
                literal += c;
            }
            continue;
        }
        if (depth == 0 && (c == ',' || c == ')'))
            break;
        if (depth == 0 && (c == '|' || c == '!')) {
            while (p + 1 < src.size() && src[p + 1] != '\r' && src[p + 1] != '\n')
                ++p;
            continue;
        }
        if (depth == 0 && c == '&') {
            flush();
            continue;
        }
        if (c == '\'') {
            quoted = true;
            piece += c;
            continue;
        }
        piece += c;
        if (c != ' ')
            pieceIsLiteral = false;
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
    }
    flush();
    return caption;
}

} // namespace

std::string codeOnly(const std::string& source)
{
    std::string out = source;
    bool quoted = false;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const char c = out[i];
        if (c == '\r' || c == '\n') {
            quoted = false; // a literal never runs past its line
            continue;
        }
        if (c == '\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted) {
            out[i] = ' ';
        } else if (c == '!') {
            while (i < out.size() && out[i] != '\r' && out[i] != '\n')
                out[i++] = ' ';
            --i;
        }
    }
    return out;
}

namespace {

// The arguments of the call whose "(" is just before `open` in `code` (literals and comments
// blanked, upper case), each without blanks, line ends and "|" continuations.
std::vector<std::string> callArguments(const std::string& code, std::size_t open)
{
    std::vector<std::string> arguments(1);
    int depth = 0;
    for (std::size_t i = open; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (depth == 0)
                break;
            --depth;
        } else if (c == ',' && depth == 0) {
            arguments.emplace_back();
            continue;
        } else if (c == ' ' || c == '|' || static_cast<unsigned char>(c) < ' ') {
            continue;
        }
        arguments.back() += c;
    }
    return arguments;
}

} // namespace

DecompiledMessage decompileMessage(const std::string& source, const DecompileSettings& settings)
{
    DecompiledMessage result;
    const std::string code = runtime::upper(codeOnly(source));
    const std::size_t at = code.find("MESSAGE(");
    if (at == std::string::npos) {
        result.failure = runtime::MessageRequest{"No MESSAGE( found on clipboard", "NO MESSAGE FOUND",
                                                 runtime::MessageIcon::Exclamation, runtime::Button::Ok,
                                                 runtime::Button::Ok};
        return result;
    }
    runtime::Record r(messageLayout());
    const std::string before = code.substr(0, at);
    r.setNumber(Mes::Sound, before.find("BEEP(") != std::string::npos ? 1 : 0);
    r.setNumber(Mes::CodeIfError, before.find("IF ERROR") != std::string::npos ? 1 : 0);
    r.setNumber(Mes::CodeLoop, hasLoopWord(before) ? 1 : 0);
    std::string codeType = "None";
    if (code.find("CASE MESSAGE") != std::string::npos)
        codeType = "Case";
    const std::string variable = runtime::upper(runtime::trim(settings.buttonVariable));
    if (!variable.empty() && code.find(variable) != std::string::npos)
        codeType = "If";
    if (!variable.empty() && code.find("CASE " + variable) != std::string::npos)
        codeType = "Case";
    r.setText(Mes::CodeType, codeType);

    bool endedByComma = false;
    TextScan scan(source, at + 8, settings.tabCharacter);
    r.setText(Mes::Text, keepWhatFits(scan.run(endedByComma), r, Mes::Text, "message text", result.dropped));
    const std::size_t rest = scan.position();
    if (endedByComma)
        r.setText(Mes::Caption,
                  keepWhatFits(scanCaption(source, rest), r, Mes::Caption, "caption", result.dropped));

    const std::string after = code.substr(std::min(rest, code.size()));
    if (const std::size_t icon = after.find("ICON:"); icon != std::string::npos) {
        const std::string name = after.substr(icon + 5, 16);
        for (const std::string& entry : settings.icons) {
            const std::string wanted = runtime::upper(entry);
            if (!wanted.empty() && name.compare(0, wanted.size(), wanted) == 0)
                r.setText(Mes::Icon, entry);
        }
    }
    bool anyButton = false;
    for (int index = 1; index <= Mes::ButtonCount; ++index) {
        const std::string equate = runtime::upper(std::string("BUTTON:") + standardButton(index).name);
        std::size_t found = after.find(equate);
        // "BUTTON:No" must not be read out of "BUTTON:NoSuch".
        while (found != std::string::npos && found + equate.size() < after.size() &&
               std::isalnum(static_cast<unsigned char>(after[found + equate.size()])))
            found = after.find(equate, found + 1);
        if (found != std::string::npos) {
            r.setNumber(Mes::Button, 1, index);
            anyButton = true;
        }
    }
    if (!anyButton)
        r.setNumber(Mes::Button, 1, 1);
    // The fifth argument names the default button; one that is not among the chosen ones is ignored.
    const std::vector<std::string> arguments = callArguments(code, at + 8);
    if (arguments.size() >= 5) {
        for (int index = 1; index <= Mes::ButtonCount; ++index) {
            if (buttonChosen(r, index) &&
                arguments[4] == runtime::upper(std::string("BUTTON:") + standardButton(index).name))
                r.setText(Mes::Default, standardButton(index).name);
        }
    }
    result.record = r;
    return result;
}

runtime::MessageRequest decompiledInPart(const DecompiledMessage& result)
{
    std::string text;
    for (const std::string& sentence : result.dropped)
        text += (text.empty() ? "" : "|") + sentence;
    return {text, "MESSAGE READ IN PART", runtime::MessageIcon::Exclamation, runtime::Button::Ok,
            runtime::Button::Ok};
}

} // namespace kestrix::message
