#include "equates/EquateLineParser.h"

#include "runtime/FixedText.h"

#include <cctype>

namespace kestrix::equates {

using runtime::ltrim;
using runtime::rtrim;

namespace {

constexpr std::size_t LabelLength = 30;
constexpr std::size_t TypeLength = 12;
constexpr std::size_t ValueLength = 20;
constexpr std::size_t WorkLength = 30;

bool isNumeric(const std::string& text, std::int64_t& value)
{
    const std::string t(runtime::trim(text));
    if (t.empty())
        return false;
    std::size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
    bool digits = false;
    bool point = false;
    for (std::size_t k = i; k < t.size(); ++k) {
        if (std::isdigit(static_cast<unsigned char>(t[k])))
            digits = true;
        else if (t[k] == '.' && !point)
            point = true;
        else
            return false;
    }
    if (!digits)
        return false;
    try {
        const long double number = std::stold(t);
        // Beyond what a LONG can hold the value is no number the program can use.
        if (!(number > -2147483649.0L && number < 2147483648.0L))
            return false;
        value = static_cast<std::int64_t>(number);
    } catch (...) {
        return false;
    }
    return true;
}

bool startsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

} // namespace

std::string repairedType(std::string type)
{
    if (startsWith(type, "Tc") && type.size() >= 2) {
        type[1] = runtime::upperChar(type[1]);
        if (type.size() >= 3)
            type[2] = runtime::upperChar(type[2]);
    }
    const std::pair<const char*, const char*> repairs[] = {
        {"Dde", "DDE"},           {"Ocxe", "OCXE"},         {"Vbxe", "VBXE"},
        {"Listzone", "ListZone"}, {"Proplist", "PropList"}, {"Propprint", "PropPrint"},
        {"Paperbin", "PaperBin"},
    };
    for (const auto& [from, to] : repairs) {
        if (startsWith(type, from))
            type.replace(0, std::string_view(from).size(), to);
    }
    return type;
}

std::int32_t hexValue(const std::string& literal)
{
    std::string text(rtrim(literal));
    if (text.size() > 9)
        text = text.substr(text.size() - 9);
    text = std::string(9 - text.size(), ' ') + text;
    const std::string places = text.substr(0, 8);
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

std::string byteCodeAsHex(const std::string& value)
{
    if (value.size() < 19 || value[0] != '\'' || value[1] != '<' || value[18] != '>')
        return {};
    return value.substr(15, 2) + value.substr(11, 2) + value.substr(7, 2) + value.substr(3, 2) + "H";
}

ParsedEquate parseEquateLine(const std::string& line, const std::string& defaultType, bool forceType,
                             ItemizeBlock& block)
{
    ParsedEquate e;
    const std::size_t firstBlank = line.find(' ');
    e.label = line.substr(0, std::min(firstBlank, line.size())).substr(0, LabelLength);
    if (runtime::isBlank(e.label)) {
        e.label.clear();
        return e;
    }
    e.name = e.label;
    e.type = defaultType;
    e.searchName = e.label;
    if (!forceType) {
        if (const std::size_t colon = e.label.find(':'); colon != std::string::npos) {
            e.type =
                std::string(1, e.label[0]) + runtime::lower(e.label.substr(1, colon > 0 ? colon - 1 : 0));
            e.searchName = e.label.substr(colon + 1);
            e.type = repairedType(e.type);
        }
    }
    e.type = runtime::fitted(e.type, TypeLength);

    std::string rest = firstBlank == std::string::npos ? std::string() : line.substr(firstBlank);
    if (const std::size_t bang = rest.find('!'); bang != std::string::npos) {
        e.notes = runtime::fitted(ltrim(rest.substr(bang + 1)), 40);
        rest.erase(bang);
    }
    const std::string upper = runtime::upper(rest);
    const std::size_t keyword = upper.find("EQUATE");
    if (keyword == std::string::npos)
        return e;
    const std::size_t open = upper.find('(', keyword);
    if (open == std::string::npos) {
        if (block.inside) {
            e.equate = std::to_string(block.counter);
            e.value = static_cast<std::int32_t>(block.counter);
            ++block.counter;
        }
        return e;
    }
    const std::size_t close = upper.find(')', open + 1);
    const std::string inside =
        close == std::string::npos ? upper.substr(open + 1) : upper.substr(open + 1, close - open - 1);
    e.equate = runtime::fitted(ltrim(inside), ValueLength);

    std::string work = runtime::fitted(ltrim(inside), WorkLength);
    if (const std::string bytes = byteCodeAsHex(work); !bytes.empty())
        work = bytes;
    std::int64_t number = 0;
    if (!work.empty() && work.back() == 'H') {
        e.hex = runtime::fitted(work, 10);
        e.value = hexValue(work);
    } else if (isNumeric(work, number)) {
        e.value = static_cast<std::int32_t>(number);
        block.counter = number + 1;
    }
    return e;
}

} // namespace kestrix::equates
