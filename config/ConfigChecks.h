#pragma once

#include "config/ConfigRecord.h"
#include "runtime/DialogService.h"

#include <optional>
#include <string>
#include <vector>

// The checks a configuration value passes when it is accepted, shared by the
// Configuration window and `ktx config set`.
namespace kestrix::config {

struct RangeRule final
{
    Cfg::Field field;
    const char* label; // as the range message names it
    long low;
    long high;
};
const std::vector<RangeRule>& rangeRules();
const RangeRule* rangeRuleFor(int field);

// The range message when `value` is out of the field's range.
std::optional<runtime::MessageRequest> checkRange(int field, long value);

struct PathCheck final
{
    std::string path; // without trailing '\'
    std::optional<runtime::MessageRequest> refusal;
};
// A non-blank Clarion path must hold the directory "LibSrc".
PathCheck checkClarionPath(const std::string& typed);

} // namespace kestrix::config
