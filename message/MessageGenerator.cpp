#include "message/MessageGenerator.h"

#include "config/CodeFormat.h"
#include "config/ConfigRecord.h"
#include "message/MessageRecord.h"
#include "runtime/FixedText.h"

namespace kestrix::message {

using runtime::Record;

namespace {

constexpr std::size_t MaxLine = 254;
constexpr std::size_t BreakAtBlank = 70;
constexpr std::size_t BreakInWord = 88;
constexpr std::size_t ExpressionFits = 75;

// Position of the '}' that closes the '{' at `open`, npos when there is none.
std::size_t matchingBrace(const std::string& text, std::size_t open)
{
    int depth = 0;
    for (std::size_t i = open; i < text.size(); ++i) {
        if (text[i] == '{')
            ++depth;
        else if (text[i] == '}' && --depth == 0)
            return i;
    }
    return std::string::npos;
}

// Control characters cannot stand inside a line of code.
std::string expressionText(std::string expr)
{
    for (char& c : expr) {
        if (static_cast<unsigned char>(c) < 32)
            c = ' ';
    }
    return expr;
}

class Generation
{
public:
    Generation(const GeneratorSettings& settings, const Record& message) : s(settings), m(message) {}

    GeneratedCode run();

private:
    std::string indent() const { return config::indentation(s.initialIndent, s.nestIndent, level); }
    void emit(std::string line)
    {
        // A line that cannot be split is cut in its middle, so that its continuation stays.
        if (line.size() > MaxLine)
            line.erase(MaxLine - 4, line.size() - MaxLine);
        code.lines.push_back(std::move(line));
    }
    std::size_t lineLen() const { return runtime::rtrim(buffer).size(); }
    void lineBreak();
    void appendExpression(const std::string& expr);
    void emitLongExpression(std::string expr);
    void convertText(const std::string& text);
    std::string buttonsLine(std::string& defaultArg) const;
    void branches(const std::string& defaultArg);

    const GeneratorSettings& s;
    const Record& m;
    GeneratedCode code;
    int level = 0;
    std::string buffer;
    int breakMode = 0;
};

void Generation::lineBreak()
{
    if (!buffer.empty() && buffer.back() == '|')
        buffer += '|';
    else
        breakMode = 2;
}

void Generation::appendExpression(const std::string& expr)
{
    if (lineLen() + expr.size() > ExpressionFits) {
        buffer += "'&|";
        emit(buffer);
        emitLongExpression(expr);
        return;
    }
    buffer += "'&" + expr + "&'";
}

// Starts a line with the expression; one too long for a line is continued
// with '|' at blanks outside its literals and parentheses.
void Generation::emitLongExpression(std::string expr)
{
    const std::string lead = indent();
    const std::size_t room = MaxLine - lead.size() - 4;
    while (expr.size() > room) {
        std::size_t split = std::string::npos;
        bool quoted = false;
        int depth = 0;
        for (std::size_t i = 0; i < room; ++i) {
            const char c = expr[i];
            if (c == '\'')
                quoted = !quoted;
            else if (!quoted && c == '(')
                ++depth;
            else if (!quoted && c == ')')
                --depth;
            else if (!quoted && depth == 0 && c == ' ')
                split = i;
        }
        if (split == std::string::npos || split == 0)
            break; // nowhere to continue it: the line is cut
        emit(lead + expr.substr(0, split + 1) + "|");
        expr = std::string(runtime::ltrim(expr.substr(split + 1)));
    }
    buffer = lead + expr + "&'";
}

void Generation::convertText(const std::string& text)
{
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < n && text[i + 1] == '\n')
                ++i;
            lineBreak();
        } else if (c == '\n' || c == '|') {
            lineBreak();
        } else if (c == '{') {
            const std::size_t close = matchingBrace(text, i);
            if (close == std::string::npos) {
                buffer += "{{"; // a brace without its partner stays a character of the text
            } else {
                const std::string expr = expressionText(text.substr(i + 1, close - i - 1));
                i = close;
                if (!expr.empty())
                    appendExpression(expr);
            }
        } else if (c == ' ') {
            buffer += ' ';
            if (lineLen() > BreakAtBlank)
                breakMode = 1;
        } else if (c == s.tabCharacter) {
            buffer += "<9>";
        } else if (c == '\'' || c == '<') {
            buffer += c;
            buffer += c;
        } else if (c == '&') {
            buffer += s.doubleAmpersand ? "&&" : "&";
        } else if (static_cast<unsigned char>(c) < 32) {
            buffer += "<" + std::to_string(static_cast<int>(static_cast<unsigned char>(c))) + ">";
        } else {
            buffer += c;
        }
        if (lineLen() > BreakInWord && breakMode == 0)
            breakMode = 1;
        if (breakMode != 0) {
            buffer += "'&|";
            if (buffer.ends_with("&''&|"))
                buffer.replace(buffer.size() - 5, 5, "&|");
            emit(buffer);
            buffer = indent() + "'";
            if (breakMode == 2)
                buffer += '|';
            breakMode = 0;
        }
    }
}

std::string Generation::buttonsLine(std::string& defaultArg) const
{
    const bool renamed = m.number(Mes::RenameButtons) != 0;
    std::string list = renamed ? "'" : "";
    const char sep = renamed ? '|' : '+';
    const std::string defaultName(runtime::trim(m.text(Mes::Default)));
    int n = 0;
    for (int index = 1; index <= Mes::ButtonCount; ++index) {
        if (!buttonChosen(m, index))
            continue;
        ++n;
        const std::string equate = std::string("BUTTON:") + standardButton(index).name;
        if (runtime::sameTextNoCase(standardButton(index).name, defaultName) && (s.defaultAlways || n != 1))
            defaultArg = equate;
        std::string entry = equate;
        if (renamed) {
            if (defaultArg == equate)
                defaultArg = std::to_string(n);
            entry = literalText(renamedButtonText(m, index));
        }
        if (n > 1)
            list += sep;
        list += entry;
    }
    if (renamed)
        list += "'";
    return indent() + " " + list + ", " + defaultArg + ", 0)";
}

void Generation::branches(const std::string& defaultArg)
{
    const std::string codeType(runtime::trim(m.text(Mes::CodeType)));
    const bool isCase = runtime::sameTextNoCase(codeType, "Case");
    const bool isNone = runtime::sameTextNoCase(codeType, "None");
    const bool renamed = m.number(Mes::RenameButtons) != 0;
    const bool loop = m.number(Mes::CodeLoop) != 0;
    const std::string variable(runtime::rtrim(s.buttonVariable));
    if (isNone) {
        // A loop around a lone MESSAGE() would never end.
        if (loop)
            emit(indent() + "BREAK");
        return;
    }
    int n = 0;
    for (int index = 1; index <= Mes::ButtonCount; ++index) {
        if (!buttonChosen(m, index))
            continue;
        ++n;
        const std::string value =
            renamed ? std::to_string(n) : std::string("BUTTON:") + standardButton(index).name;
        std::string line = indent();
        if (isCase) {
            line += "OF " + value;
        } else {
            std::string padded = value;
            if (padded.size() < 15)
                padded.resize(15, ' ');
            line += (n == 1 ? "IF    " : "ELSIF ") + variable + " = " + padded;
        }
        if (renamed) {
            line += "  ! Name: " + renamedButtonText(m, index);
            if (defaultArg == std::to_string(n))
                line += "  (Default)";
        }
        emit(line);
        const bool help = index == Mes::ButtonCount;
        if (loop) {
            ++level;
            if (help) {
                emit(indent() + "! HELP(,'~id')  ; YIELD()");
                emit(indent() + "CYCLE");
            } else {
                emit(indent() + "BREAK");
            }
            --level;
        } else if (help) {
            emit(indent() + "   ! HELP(,'~id')  ; YIELD()");
        }
    }
}

GeneratedCode Generation::run()
{
    if (auto failed = checkMessage(m)) {
        code.lines.assign(1, failed->line);
        code.failure = failed->box;
        return code;
    }
    bool shortForm = true;
    for (int index = 2; index <= Mes::ButtonCount; ++index)
        shortForm = shortForm && !buttonChosen(m, index);
    const std::string codeType(runtime::trim(m.text(Mes::CodeType)));
    if (!runtime::sameTextNoCase(codeType, "None"))
        shortForm = false;

    const bool ifError = m.number(Mes::CodeIfError) != 0;
    const bool loop = m.number(Mes::CodeLoop) != 0;
    if (ifError) {
        emit(indent() + "IF ERRORCODE()");
        ++level;
    }
    if (m.number(Mes::Sound) != 0) {
        std::string sound = s.playDefaultSound ? "Default" : "";
        const std::string icon = m.text(Mes::Icon);
        for (const char* name : {"Hand", "Question", "Exclamation", "Asterisk"}) {
            if (icon == name)
                sound = name;
        }
        if (!sound.empty())
            emit(indent() + "BEEP(BEEP:System" + sound + ")  ;  YIELD()");
    }
    if (loop) {
        emit(indent() + "LOOP");
        ++level;
    }
    std::string opening;
    if (runtime::sameTextNoCase(codeType, "Case"))
        opening = "CASE MESSAGE('";
    else if (runtime::sameTextNoCase(codeType, "None"))
        opening = "MESSAGE('";
    else
        opening = runtime::clip(s.buttonVariable) + "=MESSAGE('";
    buffer = indent() + opening;
    level += 2;
    breakMode = 0;

    convertText(trimmedMessageText(m.text(Mes::Text)));
    if (buffer == indent() + "'" && code.lines.size() > (ifError ? 1u : 0u) + (loop ? 1u : 0u)) {
        // The text ended with a break: close it on the line before rather than with an empty literal.
        std::string& previous = code.lines.back();
        if (previous.ends_with("'&|"))
            previous.replace(previous.size() - 3, 3, "', |");
        else if (previous.ends_with("&|"))
            previous.replace(previous.size() - 2, 2, ", |");
        if (previous.size() > MaxLine) // a line already cut to the limit keeps its new ending
            previous.erase(MaxLine - 4, previous.size() - MaxLine);
    } else {
        if (buffer.ends_with("&'"))
            buffer.replace(buffer.size() - 2, 2, ", |");
        else
            buffer += "', |";
        emit(buffer);
    }

    const std::string icon(runtime::trim(m.text(Mes::Icon)));
    const std::string iconArg = runtime::sameTextNoCase(icon, "None") || icon.empty() ? "" : "ICON:" + icon;
    std::string caption = indent();
    if (!runtime::isBlank(m.text(Mes::Caption)))
        caption += captionExpression(m.text(Mes::Caption));
    caption += ", " + iconArg + (shortForm ? ")" : ", |");
    emit(caption);

    std::string defaultArg;
    const std::string buttons = buttonsLine(defaultArg);
    if (!shortForm)
        emit(buttons);
    level -= 2;

    branches(defaultArg);
    const char* comment = runtime::sameTextNoCase(codeType, "Case") ? " !CASE" : " !IF";
    if (!runtime::sameTextNoCase(codeType, "None"))
        emit(indent() + "END" + (s.endComment ? comment : ""));
    if (loop) {
        --level;
        emit(indent() + "END" + (s.endComment ? " !LOOP" : ""));
    }
    if (ifError) {
        --level;
        emit(indent() + "END" + (s.endComment ? " !IF ERROR" : ""));
    }
    return code;
}

} // namespace

GeneratorSettings generatorSettings(const Record& config)
{
    using config::Cfg::Field;
    GeneratorSettings s;
    s.initialIndent = static_cast<int>(config.number(config::Cfg::Indent));
    s.nestIndent = static_cast<int>(config.number(config::Cfg::NestIndent));
    s.buttonVariable = config.text(config::Cfg::Btn);
    s.playDefaultSound = config.number(config::Cfg::PlayDefaultSound) != 0;
    s.defaultAlways = config.number(config::Cfg::DefaultAlways) != 0;
    s.doubleAmpersand = config.number(config::Cfg::DoubleAmpersand) != 0;
    s.endComment = config.number(config::Cfg::EndComment) != 0;
    s.tabCharacter = config::tabCharacter(config);
    return s;
}

std::optional<MessageCheckFailure> checkMessage(const runtime::Record& m)
{
    const auto fail = [](const char* caption, const char* text, const char* line) {
        return MessageCheckFailure{runtime::MessageRequest{text, caption, runtime::MessageIcon::Exclamation,
                                                           runtime::Button::Ok, runtime::Button::Ok},
                                   line};
    };
    bool anyButton = false;
    for (int index = 1; index <= Mes::ButtonCount; ++index)
        anyButton = anyButton || buttonChosen(m, index);
    if (!anyButton)
        return fail("NO BUTTONS SELECTED", "No buttons have been checked!", "No buttons");
    int braces = 0;
    for (const char c : trimmedMessageText(m.text(Mes::Text)))
        braces += c == '{' ? 1 : c == '}' ? -1 : 0;
    if (braces != 0)
        return fail("INVALID MESSAGE TEXT",
                    "The message text has unbalanced curly braces.|You must have the same number of { as }.",
                    "Unbalanced Curly Braces");
    return std::nullopt;
}

GeneratedCode MessageGenerator::generate(const Record& message) const
{
    return Generation(m_settings, message).run();
}

std::string trimmedMessageText(const std::string& text)
{
    std::size_t end = text.size();
    while (end > 0 && static_cast<unsigned char>(text[end - 1]) <= 32)
        --end;
    return text.substr(0, end);
}

std::string literalText(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        out += c;
        if (c == '\'' || c == '<' || c == '{')
            out += c;
    }
    return out;
}

std::string captionExpression(const std::string& caption)
{
    std::vector<std::string> pieces;
    std::string literal;
    bool open = false;
    const auto closeLiteral = [&] {
        if (open)
            pieces.push_back("'" + literal + "'");
        literal.clear();
        open = false;
    };
    const std::string text(runtime::rtrim(caption));
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const std::size_t close = c == '{' ? matchingBrace(text, i) : std::string::npos;
        if (close != std::string::npos) {
            const std::string expr = expressionText(text.substr(i + 1, close - i - 1));
            i = close;
            if (expr.empty())
                continue;
            closeLiteral();
            pieces.push_back(expr);
            continue;
        }
        open = true;
        literal += literalText(std::string(1, static_cast<unsigned char>(c) < 32 ? ' ' : c));
    }
    closeLiteral();
    std::string out;
    for (std::size_t i = 0; i < pieces.size(); ++i)
        out += (i ? " & " : "") + pieces[i];
    return out;
}

} // namespace kestrix::message
