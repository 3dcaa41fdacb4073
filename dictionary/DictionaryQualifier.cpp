#include "dictionary/DictionaryQualifier.h"

#include "runtime/FixedText.h"

namespace kestrix::dictionary {

std::string qualifierOf(const std::string& fileLabel, const std::string& prefix)
{
    const std::string pre(runtime::trim(prefix));
    if (pre.empty())
        return {};
    if (pre == "1")
        return runtime::clip(fileLabel) + ".";
    if (pre.back() == '.')
        return pre;
    return pre + ":";
}

} // namespace kestrix::dictionary
