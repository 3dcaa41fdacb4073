#include "config/ConfigChecks.h"

#include "data/StandardWarning.h"
#include "runtime/FieldFit.h"
#include "runtime/FixedText.h"
#include "runtime/WinPath.h"

namespace kestrix::config {

const std::vector<RangeRule>& rangeRules()
{
    static const std::vector<RangeRule> rules = {
        {Cfg::Indent, "Initial Indent", 0, 30},        {Cfg::NestIndent, "Nest Indent", 1, 10},
        {Cfg::StreamRecords, "Stream Count", 1, 9999}, {Cfg::YieldRecords, "Yield Count", 1, 9999},
        {Cfg::FieldWidth, "Field Width", 5, 50},
    };
    return rules;
}

const RangeRule* rangeRuleFor(int field)
{
    for (const RangeRule& rule : rangeRules()) {
        if (rule.field == field)
            return &rule;
    }
    return nullptr;
}

std::optional<runtime::MessageRequest> checkRange(int field, long value)
{
    const RangeRule* rule = rangeRuleFor(field);
    if (!rule || (value >= rule->low && value <= rule->high))
        return std::nullopt;
    const std::string range = std::to_string(rule->low) + " and " + std::to_string(rule->high);
    return data::standardWarning(data::Warn::OutOfRange, {rule->label, range});
}

PathCheck checkClarionPath(const std::string& typed)
{
    PathCheck result;
    result.path = runtime::withoutTrailingBackslashes(runtime::rtrim(typed));
    runtime::MessageRequest refusal;
    if (auto tooLong = runtime::textDoesNotFit(*configLayout(), Cfg::CwPath, result.path)) {
        // Checked whole and stored cut, it would name a folder that does not exist.
        refusal.caption = "INVALID CLARION PATH";
        refusal.icon = runtime::MessageIcon::Exclamation;
        refusal.text = *tooLong;
        result.refusal = refusal;
        return result;
    }
    if (result.path.empty() || runtime::winDirectoryExists(result.path + "\\LibSrc"))
        return result;
    refusal.caption = "INVALID CLARION PATH";
    refusal.icon = runtime::MessageIcon::Exclamation;
    refusal.text = "Clarion Path is invalid: " + result.path + "||I checked for: " + result.path +
                   "\\LibSrc|and did not find it.||If you blank the path I'll try find CW for you.";
    result.refusal = refusal;
    return result;
}

} // namespace kestrix::config
