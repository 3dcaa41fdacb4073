#include "message/MessageRecord.h"

#include "runtime/FixedText.h"

#include <stdexcept>

namespace kestrix::message {

namespace {
constexpr std::array<StandardButton, Mes::ButtonCount> kButtons = {{
    {"OK", 1, "&OK"},
    {"Yes", 2, "&Yes"},
    {"No", 4, "&No"},
    {"Abort", 8, "&Abort"},
    {"Retry", 16, "&Retry"},
    {"Ignore", 32, "&Ignore"},
    {"Cancel", 64, "Cancel"},
    {"Help", 128, "&Help"},
}};
} // namespace

const StandardButton& standardButton(int index)
{
    return kButtons.at(static_cast<std::size_t>(index - 1));
}

int buttonIndex(const std::string& name)
{
    for (int i = 1; i <= Mes::ButtonCount; ++i) {
        if (runtime::sameTextNoCase(kButtons[i - 1].name, name))
            return i;
    }
    return 0;
}

std::shared_ptr<const runtime::RecordLayout> messageLayout()
{
    static const std::shared_ptr<const runtime::RecordLayout> layout = [] {
        using runtime::FieldType;
        auto l = std::make_shared<runtime::RecordLayout>("MES");
        const auto check = [](int index, Mes::Field expected) {
            if (index != expected)
                throw std::logic_error("message layout out of order");
        };
        check(l->addNumber("ID", FieldType::Long), Mes::Id);
        check(l->addString("DESCRIPTION", 40), Mes::Description);
        check(l->addString("CAPTION", 60), Mes::Caption);
        check(l->addString("TEXT", 1000), Mes::Text);
        check(l->addString("ICON", 20), Mes::Icon);
        check(l->addNumber("BUTTON", FieldType::Byte, Mes::ButtonCount), Mes::Button);
        check(l->addString("DEFAULT", 6), Mes::Default);
        check(l->addString("STYLE", 1), Mes::Style);
        check(l->addString("CODETYPE", 4), Mes::CodeType);
        check(l->addNumber("CODELOOP", FieldType::Byte), Mes::CodeLoop);
        check(l->addNumber("CODEIFERROR", FieldType::Byte), Mes::CodeIfError);
        check(l->addNumber("SOUND", FieldType::Byte), Mes::Sound);
        check(l->addNumber("RENAMEBUTTONS", FieldType::Byte), Mes::RenameButtons);
        check(l->addString("BUTTONNAME", 15, Mes::ButtonCount), Mes::ButtonName);
        check(l->addString("FIXLOCALE", 1), Mes::FixLocale);
        l->addKey("BYDESCRIPTION", {Mes::Description});
        l->addKey("BYID", {Mes::Id});
        return l;
    }();
    return layout;
}

runtime::Record templateMessage()
{
    runtime::Record r(messageLayout());
    r.setText(Mes::Description, TemplateDescription);
    r.setText(Mes::Icon, "None");
    r.setNumber(Mes::Button, 1, 1);
    r.setText(Mes::Default, "OK");
    r.setText(Mes::CodeType, "Case");
    r.setNumber(Mes::Sound, 1);
    r.setText(Mes::FixLocale, "C");
    return r;
}

bool buttonChosen(const runtime::Record& message, int index)
{
    return message.number(Mes::Button, index) != 0;
}

std::string renamedButtonText(const runtime::Record& message, int index)
{
    const std::string name = message.text(Mes::ButtonName, index);
    return name.empty() ? standardButton(index).standardText : name;
}

std::string tabsToCharacter(const std::string& text, char tabCharacter)
{
    std::string out = text;
    for (char& c : out) {
        if (c == '\t')
            c = tabCharacter;
    }
    return out;
}

std::string characterToTabs(const std::string& text, char tabCharacter)
{
    std::string out = text;
    for (char& c : out) {
        if (c == tabCharacter)
            c = '\t';
    }
    return out;
}

} // namespace kestrix::message
