#include "config/CodeFormat.h"

#include "config/ConfigRecord.h"

namespace kestrix::config {

std::string indentation(int initialIndent, int nestIndent, int level)
{
    if (initialIndent <= 1 && level == 0)
        return {};
    const int width = (initialIndent - 1) + level * nestIndent;
    return std::string(static_cast<std::size_t>(width > 0 ? width : 0), ' ');
}

std::string indentation(const runtime::Record& config, int level)
{
    return indentation(static_cast<int>(config.number(Cfg::Indent)),
                       static_cast<int>(config.number(Cfg::NestIndent)), level);
}

} // namespace kestrix::config
