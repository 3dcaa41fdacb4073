#include "utilities/StringBuilderChoices.h"

#include "equates/PopupRecord.h"
#include "runtime/FixedText.h"
#include "utilities/StringBuilder.h"

namespace kestrix::utilities {

std::vector<std::string> variableChoices(runtime::KeyedFile* popups)
{
    if (!popups)
        return defaultVariableChoices();
    runtime::Record header = popups->newRecord();
    header.setText(equates::Pop::Type, "STRING BLD");
    header.setNumber(equates::Pop::Seq, 0);
    if (popups->get(equates::Pop::Key, header))
        return defaultVariableChoices();
    std::vector<std::string> choices;
    const std::string menu = header.text(equates::Pop::Data);
    std::size_t start = 0;
    while (start <= menu.size()) {
        const std::size_t bar = std::min(menu.find('|', start), menu.size());
        const std::string item(runtime::trim(menu.substr(start, bar - start)));
        if (!item.empty())
            choices.push_back(item.substr(0, StringVariableSize));
        start = bar + 1;
    }
    return choices.empty() ? defaultVariableChoices() : choices;
}

} // namespace kestrix::utilities
