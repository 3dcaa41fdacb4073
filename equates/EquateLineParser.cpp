#include "equates/EquateLineParser.h"

#include "runtime/FixedText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace kestrix::equates {

using runtime::ltrim;
using runtime::rtrim;

namespace {

constexpr std::size_t LabelLength = 30;
constexpr std::size_t TypeLength = 12;
constexpr std::size_t ValueLength = 20;
constexpr std::size_t WorkLength = 30;

bool isNumeric(std::string_view text, std::int64_t& value)
{
    const std::string_view t = runtime::trim(text);
    if (t.empty())
        return false;
    const bool negative = t[0] == '-';
    const std::size_t first = (negative || t[0] == '+') ? 1 : 0;
    bool digits = false;
    bool point = false;
    for (std::size_t k = first; k < t.size(); ++k) {
        if (std::isdigit(static_cast<unsigned char>(t[k])))
            digits = true;
        else if (t[k] == '.' && !point)
            point = true;
        else
            return false;
    }
    if (!digits)
        return false;
    // Beyond what a LONG can hold the value is no number the program can use.
    constexpr std::int64_t Limit = 2147483648LL;
    if (!point) {
        // Whole numbers, nearly every value, are read digit by digit; the sum stops growing well past
        // the limit, so a long run of digits cannot overflow it.
        std::int64_t number = 0;
        for (std::size_t k = first; k < t.size(); ++k)
            number = std::min<std::int64_t>(number * 10 + (t[k] - '0'), Limit * 16);
        if (negative)
            number = -number;
        if (number <= -Limit - 1 || number >= Limit)
            return false;
        value = number;
        return true;
    }
    try {
        const long double number = std::stold(std::string(t));
        if (!(number > -2147483649.0L && number < 2147483648.0L))
            return false;
        value = static_cast<std::int64_t>(number);
    } catch (...) {
        return false;
    }
    return true;
}

} // namespace

void repairType(std::string& type)
{
    const std::string_view text(type);
    if (text.starts_with("Tc")) {
        type[1] = runtime::upperChar(type[1]);
        if (type.size() >= 3)
            type[2] = runtime::upperChar(type[2]);
        return;
    }
    static constexpr std::pair<std::string_view, std::string_view> repairs[] = {
        {"Dde", "DDE"},           {"Ocxe", "OCXE"},         {"Vbxe", "VBXE"},
        {"Listzone", "ListZone"}, {"Proplist", "PropList"}, {"Propprint", "PropPrint"},
        {"Paperbin", "PaperBin"},
    };
    // Each line of a load passes here: one repair at most applies, as no two of them begin alike.
    for (const auto& [from, to] : repairs) {
        if (text.starts_with(from)) {
            type.replace(0, from.size(), to);
            return;
        }
    }
}

std::int32_t hexValue(std::string_view literal)
{
    // The last nine characters, right-aligned in nine places: eight digits and the H.
    std::string_view kept = rtrim(literal);
    if (kept.size() > 9)
        kept = kept.substr(kept.size() - 9);
    std::array<char, 9> text;
    text.fill(' ');
    std::copy(kept.begin(), kept.end(), text.end() - static_cast<std::ptrdiff_t>(kept.size()));
    const std::string_view places(text.data(), 8);
    std::int64_t value = 0;
    bool negative = false;
    for (std::size_t i = 0; i < places.size(); ++i) {
        const char c = runtime::upperChar(places[i]);
        std::int64_t digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (i == 0 && places[0] != ' ' && digit >= 8) {
            digit -= 8;
            negative = true;
        }
        value = value * 16 + digit;
    }
    if (negative)
        value -= 2147483648LL;
    return static_cast<std::int32_t>(value);
}

std::string byteCodeAsHex(std::string_view value)
{
    if (value.size() < 19 || value[0] != '\'' || value[1] != '<' || value[18] != '>')
        return {};
    std::string hex;
    for (const std::size_t at : {15, 11, 7, 3}) // the bytes' digits, last byte first
        hex.append(value.substr(at, 2));
    return hex + 'H';
}

ParsedEquate parseEquateLine(const std::string& line, const std::string& defaultType, bool forceType,
                             ItemizeBlock& block)
{
    ParsedEquate e;
    parseEquateLine(line, defaultType, forceType, block, e);
    return e;
}

void ParsedEquate::clear()
{
    for (std::string* text : {&label, &type, &name, &searchName, &equate, &hex, &notes})
        text->clear();
    value = 0;
}

// Every line of every source passes here: the parts are read as views of the line, and only the
// fields kept are copied out.
void parseEquateLine(const std::string& line, const std::string& defaultType, bool forceType,
                     ItemizeBlock& block, ParsedEquate& e)
{
    e.clear();
    const std::string_view text(line);
    const std::size_t firstBlank = text.find(' ');
    const std::string_view label = text.substr(0, std::min(firstBlank, text.size())).substr(0, LabelLength);
    if (runtime::isBlank(label))
        return;
    e.label = label;
    e.name = label;
    e.searchName = label;
    const std::size_t colon = forceType ? std::string_view::npos : label.find(':');
    if (colon != std::string_view::npos) {
        e.type.assign(1, label[0]);
        for (const char c : label.substr(1, colon > 0 ? colon - 1 : 0))
            e.type += runtime::lowerChar(c);
        e.searchName = label.substr(colon + 1);
        repairType(e.type);
    } else {
        e.type = defaultType;
    }
    e.type.resize(runtime::fittedView(e.type, TypeLength).size());

    std::string_view rest =
        firstBlank == std::string_view::npos ? std::string_view() : text.substr(firstBlank);
    if (const std::size_t bang = rest.find('!'); bang != std::string_view::npos) {
        e.notes = runtime::fittedView(ltrim(rest.substr(bang + 1)), 40);
        rest = rest.substr(0, bang);
    }
    const std::size_t keyword = runtime::findNoCase(rest, "EQUATE");
    if (keyword == std::string_view::npos)
        return;
    const std::size_t open = rest.find('(', keyword);
    if (open == std::string_view::npos) {
        if (block.inside) {
            e.equate = std::to_string(block.counter);
            e.value = static_cast<std::int32_t>(block.counter);
            ++block.counter;
        }
        return;
    }
    const std::size_t close = rest.find(')', open + 1);
    const std::string inside = runtime::upper(ltrim(
        rest.substr(open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1)));
    e.equate = runtime::fittedView(inside, ValueLength);

    const std::string bytes = byteCodeAsHex(runtime::fittedView(inside, WorkLength));
    const std::string_view work = bytes.empty() ? runtime::fittedView(inside, WorkLength) : bytes;
    std::int64_t number = 0;
    if (!work.empty() && work.back() == 'H') {
        e.hex = runtime::fittedView(work, 10);
        e.value = hexValue(work);
    } else if (isNumeric(work, number)) {
        e.value = static_cast<std::int32_t>(number);
        block.counter = number + 1;
    }
}

} // namespace kestrix::equates
