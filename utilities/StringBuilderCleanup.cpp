#include "utilities/StringBuilderCleanup.h"

#include "runtime/FieldFit.h"
#include "runtime/FixedText.h"
#include "utilities/StringBuilder.h"

#include <cctype>

namespace kestrix::utilities {

namespace {

bool digit(char c)
{
    return c >= '0' && c <= '9';
}

// "<13,10>" and the like at `at` (just past the '<'): the characters it stands for, and its length.
std::optional<std::string> characterCodes(const std::string& s, std::size_t at, std::size_t& end)
{
    std::string chars;
    std::size_t i = at;
    while (true) {
        if (i >= s.size() || !digit(s[i]))
            return std::nullopt;
        int value = 0;
        while (i < s.size() && digit(s[i])) {
            value = value * 10 + (s[i] - '0');
            if (value > 255)
                return std::nullopt;
            ++i;
        }
        chars += static_cast<char>(value);
        if (i < s.size() && s[i] == ',') {
            ++i;
            continue;
        }
        if (i < s.size() && s[i] == '>') {
            end = i + 1;
            break;
        }
        return std::nullopt;
    }
    // A line break is the text box's CR LF, however the code wrote it.
    std::string out;
    for (std::size_t k = 0; k < chars.size(); ++k) {
        if (chars[k] == '\r' && k + 1 < chars.size() && chars[k + 1] == '\n')
            continue;
        if (chars[k] == '\r' || chars[k] == '\n')
            out += "\r\n";
        else
            out += chars[k];
    }
    return out;
}

// The text a literal's inside stands for.
std::string decodeLiteral(const std::string& inside)
{
    std::string out;
    for (std::size_t i = 0; i < inside.size(); ++i) {
        const char c = inside[i];
        const char next = i + 1 < inside.size() ? inside[i + 1] : '\0';
        if ((c == '\'' || c == '<' || c == '{') && next == c) {
            out += c;
            ++i;
            continue;
        }
        if (c == '<') {
            std::size_t end = 0;
            if (auto chars = characterCodes(inside, i + 1, end)) {
                out += *chars;
                i = end - 1;
                continue;
            }
        }
        out += c;
    }
    return out;
}

// The code joined into one logical line: a '|' outside quotes continues the line.
std::string joinContinuations(const std::string& code)
{
    std::string out;
    bool quoted = false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '\'') {
            quoted = !quoted;
        } else if (!quoted && c == '|') {
            // Skip to the next line and its leading blanks.
            std::size_t j = i + 1;
            while (j < code.size() && code[j] != '\r' && code[j] != '\n')
                ++j;
            while (j < code.size() && static_cast<unsigned char>(code[j]) <= 32)
                ++j;
            i = j - 1;
            continue;
        } else if (!quoted && (c == '\r' || c == '\n')) {
            out += ' ';
            continue;
        }
        out += c;
    }
    return out;
}

struct Piece final
{
    bool literal = false;
    std::string text;
};

// The expression's top-level parts: quoted literals and the code between them,
// split at the '&' operators. Quotes inside parentheses belong to the code.
std::vector<Piece> splitExpression(const std::string& expr)
{
    std::vector<Piece> pieces;
    std::string code;
    int depth = 0;
    const auto endCode = [&] {
        const std::string trimmed(runtime::trim(code));
        if (!trimmed.empty())
            pieces.push_back({false, trimmed});
        code.clear();
    };
    for (std::size_t i = 0; i < expr.size(); ++i) {
        const char c = expr[i];
        if (c == '\'') {
            // Find the closing quote, stepping over doubled ones.
            std::size_t j = i + 1;
            while (j < expr.size() && !(expr[j] == '\'' && (j + 1 >= expr.size() || expr[j + 1] != '\'')))
                j += expr[j] == '\'' ? 2 : 1;
            if (depth > 0) {
                code += expr.substr(i, j + 1 - i);
            } else {
                endCode();
                pieces.push_back({true, expr.substr(i + 1, j - i - 1)});
            }
            i = j;
            continue;
        }
        if (c == '(' || c == '{')
            ++depth;
        else if ((c == ')' || c == '}') && depth > 0)
            --depth;
        if (c == '&' && depth == 0) {
            endCode();
            continue;
        }
        code += c;
    }
    endCode();
    return pieces;
}

// Where the expression begins: after the "Variable = " of an assignment or the
// "NAME(" (or "HALT(0,") of a call, whose closing ')' is then left off the end.
std::string expressionPart(const std::string& line)
{
    int depth = 0;
    std::size_t assign = std::string::npos;
    std::size_t callOpen = std::string::npos;
    std::size_t callArgs = std::string::npos;
    std::size_t firstQuote = line.size();
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\'') {
            firstQuote = i;
            break;
        }
        if (c == '(' || c == '{') {
            if (depth == 0 && c == '(')
                callOpen = i, callArgs = i;
            ++depth;
        } else if ((c == ')' || c == '}') && depth > 0) {
            if (--depth == 0 && c == ')')
                callOpen = std::string::npos;
        } else if (c == ',' && depth == 1 && callOpen != std::string::npos) {
            callArgs = i;
        } else if (c == '=' && depth == 0) {
            assign = i;
        }
    }
    if (callOpen != std::string::npos && depth > 0) {
        std::string rest = line.substr(callArgs + 1);
        const std::size_t last = runtime::rtrim(rest).size();
        if (last > 0 && rest[last - 1] == ')')
            rest.erase(last - 1);
        return rest;
    }
    if (assign != std::string::npos && firstQuote < line.size())
        return line.substr(assign + 1);
    return line;
}

} // namespace

std::string cleanText(const std::string& text, CleanAction action)
{
    std::string out;
    out.reserve(text.size());
    switch (action) {
    case CleanAction::RemoveReturns:
        for (const char c : text) {
            if (c == '\r')
                out += ' ';
            else if (c != '\n')
                out += c;
        }
        break;
    case CleanAction::RemoveTabs:
        for (const char c : text)
            out += c == '\t' ? ' ' : c;
        break;
    case CleanAction::RemoveExtraSpaces:
        for (const char c : text) {
            if (c == ' ' && (out.empty() || out.back() == ' '))
                continue;
            out += c;
        }
        break;
    case CleanAction::RemoveNonAscii:
        for (const char c : text) {
            const auto u = static_cast<unsigned char>(c);
            out += (u < 32 || u > 0x7F) && c != '\r' && c != '\n' ? ' ' : c;
        }
        break;
    }
    return out;
}

std::string returnsAtBreaks(const std::vector<std::string>& displayedLines)
{
    std::string out;
    for (std::size_t i = 0; i < displayedLines.size(); ++i) {
        if (i > 0)
            out += "\r\n";
        out += runtime::rtrim(displayedLines[i]);
    }
    return out;
}

DecompiledString decompileString(const std::string& code)
{
    DecompiledString result;
    if (code.find('\'') == std::string::npos) {
        result.failure = runtime::MessageRequest{"The clipboard holds no quoted string to decompile.",
                                                 "NO STRING FOUND",
                                                 runtime::MessageIcon::Exclamation,
                                                 runtime::Button::Ok,
                                                 0,
                                                 {}};
        return result;
    }
    const std::string expr = expressionPart(joinContinuations(code));
    for (const Piece& piece : splitExpression(expr)) {
        if (piece.literal)
            result.text += decodeLiteral(piece.text);
        else
            result.text += "{" + piece.text + "}";
    }
    return result;
}

std::string draggedFieldInserts(const config::DraggedFieldList& fields)
{
    std::string out;
    for (const config::DraggedField& field : fields) {
        const std::string name(runtime::trim(field.vari));
        const std::string picture(runtime::trim(field.picture));
        const std::string type = runtime::upper(runtime::trim(field.type));
        if (type.rfind("STRING", 0) == 0)
            out += "{" + name + "}";
        else if (!picture.empty())
            out += "{FORMAT(" + name + "," + picture + ")}";
        else
            out += "{CLIP(" + name + ")}";
    }
    return out;
}

std::optional<runtime::MessageRequest> textTooLong(const std::string& text)
{
    if (text.size() <= StringTextSize)
        return std::nullopt;
    return runtime::MessageRequest{"The text holds at most " + std::to_string(StringTextSize) +
                                       " characters, not " + std::to_string(text.size()) + ".",
                                   "TEXT TOO LONG",
                                   runtime::MessageIcon::Exclamation,
                                   runtime::Button::Ok,
                                   0,
                                   {}};
}

} // namespace kestrix::utilities
