#include "dictionary/FieldPicture.h"

#include "runtime/FixedText.h"

#include <cctype>
#include <map>

namespace kestrix::dictionary {

namespace {

// The text inside the parentheses that follow `word` (upper-case) in `text`, minding quotes.
std::string argumentOf(const std::string& text, const std::string& word, bool& found)
{
    const std::string upperText = runtime::upper(text);
    std::size_t at = upperText.find(word + "(");
    found = at != std::string::npos;
    if (!found)
        return {};
    at += word.size() + 1;
    int depth = 1;
    bool quoted = false;
    std::size_t i = at;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\'')
            quoted = !quoted;
        else if (!quoted && c == '(')
            ++depth;
        else if (!quoted && c == ')' && --depth == 0)
            break;
    }
    return text.substr(at, i - at);
}

std::string typeWord(const std::string& declaration)
{
    std::string word;
    for (const char c : runtime::ltrim(declaration)) {
        if (!std::isalpha(static_cast<unsigned char>(c)))
            break;
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return word;
}

// Digits and decimals of DECIMAL(9,2) and the like; {0, 0} when absent.
std::pair<int, int> sizeOf(const std::string& declaration)
{
    bool found = false;
    const std::string args = argumentOf(declaration, typeWord(declaration), found);
    int digits = 0;
    int places = 0;
    const std::size_t comma = args.find(',');
    try {
        digits = std::stoi(args.substr(0, comma));
        if (comma != std::string::npos)
            places = std::stoi(args.substr(comma + 1));
    } catch (const std::exception&) {
        return {0, 0};
    }
    return {digits, places};
}

} // namespace

std::string displayPicture(const std::string& declaration)
{
    bool found = false;
    const std::string picture(runtime::trim(argumentOf(declaration, "PICTURE", found)));
    if (found && !picture.empty()) {
        const char kind = picture.size() > 1
                              ? static_cast<char>(std::toupper(static_cast<unsigned char>(picture[1])))
                              : ' ';
        return kind == 'S' || kind == 'K' ? std::string() : picture;
    }
    static const std::map<std::string, std::string> byType = {
        {"LONG", "@n-14"},    {"ULONG", "@n13"},      {"SHORT", "@n-7"},      {"USHORT", "@n6"},
        {"BYTE", "@n3"},      {"SIGNED", "@n-14"},    {"UNSIGNED", "@n13"},   {"REAL", "@n-15.4"},
        {"SREAL", "@n-15.4"}, {"BFLOAT4", "@n-15.4"}, {"BFLOAT8", "@n-15.4"}, {"DATE", "@d6"},
        {"TIME", "@t4"}};
    const std::string type = typeWord(declaration);
    if (const auto it = byType.find(type); it != byType.end())
        return it->second;
    if (type == "DECIMAL" || type == "PDECIMAL") {
        const auto [digits, places] = sizeOf(declaration);
        if (digits <= 0)
            return "@n-15.2";
        // Room for the sign, the point and a grouping comma every three whole digits.
        const int whole = digits - places;
        const int width = digits + 1 + (places > 0 ? 1 : 0) + (whole > 3 ? (whole - 1) / 3 : 0);
        return "@n-" + std::to_string(width) + (places > 0 ? "." + std::to_string(places) : "");
    }
    return {}; // STRING, CSTRING, PSTRING, GROUP, MEMO and the rest are shown as text
}

std::vector<std::string> inListValues(const std::string& declaration)
{
    bool found = false;
    const std::string args = argumentOf(declaration, "INLIST", found);
    std::vector<std::string> values;
    if (!found)
        return values;
    // The first argument is the field itself; the rest are literals.
    std::string current;
    bool quoted = false;
    bool first = true;
    bool any = false;
    for (std::size_t i = 0; i <= args.size(); ++i) {
        const char c = i < args.size() ? args[i] : ',';
        if (c == '\'') {
            if (quoted && i + 1 < args.size() && args[i + 1] == '\'') {
                current += "''";
                ++i;
                continue;
            }
            quoted = !quoted;
            any = true;
            continue;
        }
        if (!quoted && c == ',') {
            if (!first && (any || !runtime::isBlank(current)))
                values.push_back(any ? current : std::string(runtime::trim(current)));
            first = false;
            current.clear();
            any = false;
            continue;
        }
        if (quoted || !std::isspace(static_cast<unsigned char>(c)))
            current += c;
    }
    return values;
}

} // namespace kestrix::dictionary
