#include "message/ButtonRenaming.h"

#include "message/MessageRecord.h"
#include "runtime/FixedText.h"

namespace kestrix::message {

namespace {
constexpr std::size_t PieceLength = 20; // what the name entries show
}

void startRenaming(runtime::Record& message)
{
    if (runtime::isBlank(message.text(Mes::FixLocale)))
        message.setText(Mes::FixLocale, "C");
    message.setNumber(Mes::RenameButtons, 1);
}

void loadButtonNames(runtime::Record& message, const std::string& names)
{
    blankButtonNames(message);
    const std::string list = names + ",";
    std::size_t start = 0;
    for (int index = 1; index <= Mes::ButtonCount; ++index) {
        const std::size_t comma = list.find(',', start);
        if (comma == std::string::npos)
            break;
        message.setText(Mes::ButtonName, list.substr(start, std::min(comma - start, PieceLength)), index);
        start = comma + 1;
    }
}

void blankButtonNames(runtime::Record& message)
{
    for (int index = 1; index <= Mes::ButtonCount; ++index)
        message.setText(Mes::ButtonName, "", index);
}

void finishRenaming(runtime::Record& message)
{
    for (int index = 1; index <= Mes::ButtonCount; ++index) {
        if (!runtime::isBlank(message.text(Mes::ButtonName, index)))
            return;
    }
    message.setNumber(Mes::RenameButtons, 0);
}

} // namespace kestrix::message
