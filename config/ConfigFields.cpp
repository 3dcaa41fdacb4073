#include "config/ConfigFields.h"

#include "config/ConfigChecks.h"
#include "config/ConfigRecord.h"
#include "runtime/FieldFit.h"
#include "runtime/FixedText.h"

#include <charconv>
#include <cstdint>

namespace kestrix::config {

std::vector<std::pair<std::string, std::string>> configValues(const runtime::Record& config)
{
    std::vector<std::pair<std::string, std::string>> out;
    const auto& fields = config.layout().fields();
    for (std::size_t f = 0; f < fields.size(); ++f) {
        for (int e = 1; e <= fields[f].dims; ++e) {
            std::string name = fields[f].name;
            if (fields[f].dims > 1)
                name += "[" + std::to_string(e) + "]";
            out.emplace_back(name, config.text(static_cast<int>(f), e));
        }
    }
    out.emplace_back("TABCHAR", std::string(1, tabCharacter(config)));
    return out;
}

namespace {

bool parseNumber(std::string_view text, std::int64_t& value)
{
    text = runtime::trim(text);
    if (text.empty())
        return false;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// A line break or other control character in a setting would forge lines of `config show`.
std::optional<std::string> controlCharacterIn(const std::string& label, const std::string& value)
{
    for (const char c : value) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 32 || code == 127)
            return label + " cannot hold the control character " + std::to_string(code) + ".";
    }
    return std::nullopt;
}

AssignmentResult refused(std::string why)
{
    AssignmentResult result;
    result.error = std::move(why);
    return result;
}

} // namespace

AssignmentResult applyConfigAssignment(runtime::Record& config, const std::string& assignment)
{
    AssignmentResult result;
    const auto equals = assignment.find('=');
    if (equals == std::string::npos)
        return refused("Expected NAME=VALUE: " + assignment);
    std::string name = runtime::upper(runtime::trim(assignment.substr(0, equals)));
    const std::string value = assignment.substr(equals + 1);
    if (name == "TABCHAR") {
        if (value.size() > 1)
            return refused("TABCHAR holds one character, not " + std::to_string(value.size()) + ".");
        if (auto control = controlCharacterIn(name, value))
            return refused(*control);
        setTabCharacter(config, value.empty() ? ' ' : value.front());
        result.ok = true;
        return result;
    }
    std::int64_t element = 1;
    if (const auto bracket = name.find('['); bracket != std::string::npos && name.back() == ']') {
        if (!parseNumber(std::string_view(name).substr(bracket + 1, name.size() - bracket - 2), element))
            return refused("Invalid element in " + name);
        name = name.substr(0, bracket);
    }
    const int field = config.layout().fieldIndex(name);
    if (field < 0)
        return refused("Unknown configuration field: " + name);
    const runtime::FieldDef& def = config.layout().field(field);
    if (element < 1 || element > def.dims)
        return refused(name + " has elements 1 to " + std::to_string(def.dims));
    const int e = static_cast<int>(element);
    const std::string label = runtime::fieldLabel(config.layout(), field, e);
    if (def.type == runtime::FieldType::String) {
        if (auto control = controlCharacterIn(label, value))
            return refused(*control);
        if (field == Cfg::CwPath) {
            PathCheck check = checkClarionPath(value);
            if (check.refusal) {
                result.refusal = check.refusal;
                return result;
            }
            config.setText(field, check.path);
        } else {
            if (auto tooLong = runtime::textDoesNotFit(config.layout(), field, value, e))
                return refused(*tooLong);
            config.setText(field, value, e);
            if (field == Cfg::FutString && e == 1)
                normalizeConfig(config);
        }
    } else {
        std::int64_t number = 0;
        if (!parseNumber(value, number))
            return refused(label + " takes a number: " + value);
        if (auto outside = runtime::numberDoesNotFit(config.layout(), field, number, e))
            return refused(*outside);
        if (auto refusal = checkRange(field, static_cast<long>(number))) {
            result.refusal = refusal;
            return result;
        }
        config.setNumber(field, number, e);
    }
    result.ok = true;
    return result;
}

} // namespace kestrix::config
