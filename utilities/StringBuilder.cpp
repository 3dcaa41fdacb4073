#include "utilities/StringBuilder.h"

#include "config/CodeFormat.h"
#include "runtime/FixedText.h"

namespace kestrix::utilities {

namespace {

constexpr int ContinuationLevel = 2;

bool isBreak(char c)
{
    return c == '\r' || c == '\n';
}

bool isControl(char c)
{
    return static_cast<unsigned char>(c) < 32;
}

// Position of the '}' that closes the '{' at `open`; the text is balanced, so there is one.
std::size_t matchingBrace(const std::string& text, std::size_t open)
{
    int depth = 0;
    for (std::size_t i = open; i < text.size(); ++i) {
        if (text[i] == '{')
            ++depth;
        else if (text[i] == '}' && --depth == 0)
            return i;
    }
    return text.size();
}

// A line break inside braces must not split the line of code.
std::string expressionText(std::string expr)
{
    for (char& c : expr) {
        if (isControl(c))
            c = ' ';
    }
    return expr;
}

class Generation
{
public:
    Generation(const std::string& text, const StringSettings& settings) : m_text(text), s(settings) {}

    StringCode run();

private:
    void append(std::string_view piece)
    {
        const std::size_t room = StringLineLimit > m_line.size() ? StringLineLimit - m_line.size() : 0;
        if (piece.size() > room) {
            m_code.dropped += piece.size() - room;
            piece = piece.substr(0, room);
        }
        m_line += piece;
    }
    void startLine()
    {
        m_line.clear();
        append(config::indentation(s.indent, s.nest, m_level));
        m_contentStart = m_line.size();
    }
    void emit() { m_code.lines.emplace_back(runtime::rtrim(m_line)); }
    bool lineBlank() const { return runtime::isBlank(m_line); }
    void expression(std::size_t& i);
    void lineBreak();
    void character(char c);
    void finish();

    const std::string& m_text;
    const StringSettings& s;
    StringCode m_code;
    std::string m_line;
    std::size_t m_contentStart = 0; // what the line start and the Variable part take
    int m_level = 0;
    bool m_quoted = false;
};

void Generation::expression(std::size_t& i)
{
    const std::size_t close = matchingBrace(m_text, i);
    const std::string expr = expressionText(m_text.substr(i + 1, close - i - 1));
    i = close;
    if (expr.empty())
        return;
    if (m_quoted) {
        append("'&");
        m_quoted = false;
    }
    const long room = static_cast<long>(s.end) - 1;
    if (static_cast<long>(m_line.size() + expr.size()) < room) {
        append(expr + "&");
        return;
    }
    if (!lineBlank()) {
        append("|");
        emit();
        startLine();
    }
    append(expr + "&");
}

void Generation::lineBreak()
{
    if (m_quoted) {
        append("' &|");
        m_quoted = false;
    } else if (!lineBlank()) {
        append(" |");
    }
    if (!lineBlank()) {
        emit();
        startLine();
    }
    if (s.enter) {
        append("'<13,10>");
        m_quoted = true;
    }
}

void Generation::character(char c)
{
    if (!m_quoted) {
        append("'");
        m_quoted = true;
    }
    bool wrap = false;
    if (c == ' ') {
        append(" ");
        wrap = static_cast<long>(m_line.size()) > static_cast<long>(s.end) - 9;
    } else if (c == '\'' || c == '<') {
        append(std::string(2, c));
    } else if (isControl(c)) {
        // A control character cannot stand in a line of code; its code keeps it.
        append("<" + std::to_string(static_cast<int>(c)) + ">");
    } else {
        append(std::string(1, c));
    }
    if (static_cast<long>(m_line.size()) > s.end)
        wrap = true;
    if (wrap) {
        append("' &|");
        emit();
        startLine();
        m_quoted = false;
    }
}

void Generation::finish()
{
    if (m_quoted) {
        append("'");
    } else {
        const std::size_t used = runtime::rtrim(m_line).size();
        if (used > m_contentStart && m_line[used - 1] == '&')
            m_line.erase(used - 1);
        if (runtime::rtrim(m_line).size() <= m_contentStart)
            append("''");
    }
    if (s.callMode)
        append(" )");
    emit();
}

StringCode Generation::run()
{
    if (!bracesBalanced(m_text)) {
        m_code.failure = runtime::MessageRequest{
            "The message text has unbalanced curly braces.|You must have the same number of { as }.",
            "INVALID MESSAGE TEXT",
            runtime::MessageIcon::Asterisk,
            runtime::Button::Ok,
            0,
            {}};
        m_code.lines = {"Unbalanced Curly Braces"};
        return std::move(m_code);
    }
    std::size_t length = m_text.size();
    while (length > 0 && static_cast<unsigned char>(m_text[length - 1]) <= 32)
        --length;

    startLine();
    const std::string variable(runtime::rtrim(s.variable));
    if (!variable.empty()) {
        append(variable);
        if (!s.callMode)
            append(" = ");
    }
    m_contentStart = m_line.size();
    m_level = ContinuationLevel;

    for (std::size_t i = 0; i < length; ++i) {
        const char c = m_text[i];
        if (c == '{') {
            expression(i);
        } else if (isBreak(c)) {
            if (c == '\r' && i + 1 < length && m_text[i + 1] == '\n')
                ++i;
            lineBreak();
        } else {
            character(c);
        }
    }
    finish();
    return std::move(m_code);
}

} // namespace

void acceptVariable(StringSettings& settings)
{
    if (settings.variable.find('(') != std::string::npos) {
        settings.callMode = true;
        const std::string start = runtime::upper(settings.variable.substr(0, 4));
        settings.enter = start == "STOP" || start == "HALT";
    } else {
        settings.callMode = false;
        settings.enter = false;
    }
}

const std::vector<std::string>& defaultVariableChoices()
{
    static const std::vector<std::string> choices{"STOP(",        "HALT(0,",  "RUN(",    "0{PROP:Text}",
                                                  "?{PROP:Text}", "MESSAGE(", "PROMPT(", "STRING("};
    return choices;
}

bool bracesBalanced(const std::string& text)
{
    long depth = 0;
    for (const char c : text) {
        if (c == '{')
            ++depth;
        else if (c == '}' && --depth < 0)
            return false;
    }
    return depth == 0;
}

StringCode buildString(const std::string& text, const StringSettings& settings)
{
    return Generation(text, settings).run();
}

} // namespace kestrix::utilities
