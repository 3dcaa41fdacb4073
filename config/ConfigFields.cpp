#include "config/ConfigFields.h"

#include "config/ConfigChecks.h"
#include "config/ConfigRecord.h"
#include "runtime/FixedText.h"

#include <charconv>

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

bool parseNumber(std::string_view text, long& value)
{
    text = runtime::trim(text);
    if (text.empty())
        return false;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

} // namespace

AssignmentResult applyConfigAssignment(runtime::Record& config, const std::string& assignment)
{
    AssignmentResult result;
    const auto equals = assignment.find('=');
    if (equals == std::string::npos) {
        result.error = "Expected NAME=VALUE: " + assignment;
        return result;
    }
    std::string name = runtime::upper(runtime::trim(assignment.substr(0, equals)));
    const std::string value = assignment.substr(equals + 1);
    if (name == "TABCHAR") {
        setTabCharacter(config, value.empty() ? ' ' : value.front());
        result.ok = true;
        return result;
    }
    int element = 1;
    if (const auto bracket = name.find('['); bracket != std::string::npos && name.back() == ']') {
        long parsed = 0;
        if (!parseNumber(std::string_view(name).substr(bracket + 1, name.size() - bracket - 2), parsed)) {
            result.error = "Invalid element in " + name;
            return result;
        }
        element = static_cast<int>(parsed);
        name = name.substr(0, bracket);
    }
    const int field = config.layout().fieldIndex(name);
    if (field < 0) {
        result.error = "Unknown configuration field: " + name;
        return result;
    }
    const runtime::FieldDef& def = config.layout().field(field);
    if (element < 1 || element > def.dims) {
        result.error = name + " has elements 1 to " + std::to_string(def.dims);
        return result;
    }
    if (field == Cfg::CwPath) {
        PathCheck check = checkClarionPath(value);
        if (check.refusal) {
            result.refusal = check.refusal;
            return result;
        }
        config.setText(field, check.path);
    } else if (def.type == runtime::FieldType::String) {
        config.setText(field, value, element);
        if (field == Cfg::FutString && element == 1)
            normalizeConfig(config);
    } else {
        long number = 0;
        if (!parseNumber(value, number)) {
            result.error = name + " takes a number: " + value;
            return result;
        }
        if (auto refusal = checkRange(field, number)) {
            result.refusal = refusal;
            return result;
        }
        config.setNumber(field, number, element);
    }
    result.ok = true;
    return result;
}

} // namespace kestrix::config
