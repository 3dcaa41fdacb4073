#include "message/MessagePreview.h"

#include "message/MessageRecord.h"
#include "runtime/FixedText.h"

#include <algorithm>

namespace kestrix::message {

PreviewPlan planPreview(runtime::Record& message, const GeneratorSettings& settings,
                        const std::vector<std::string>& icons)
{
    PreviewPlan plan;
    bool any = false;
    for (int index = 1; index <= Mes::ButtonCount; ++index)
        any = any || buttonChosen(message, index);
    if (!any) {
        message.setNumber(Mes::Button, 1, 1);
        message.setText(Mes::Default, "OK");
        plan.choseOk = true;
    }

    const std::string icon(runtime::trim(message.text(Mes::Icon)));
    const bool known = std::any_of(icons.begin(), icons.end(), [&](const std::string& name) {
        return runtime::sameTextNoCase(name, icon);
    });
    plan.box.icon = runtime::MessageIcon::None;
    if (known) {
        if (runtime::sameTextNoCase(icon, "Hand"))
            plan.box.icon = runtime::MessageIcon::Hand;
        else if (runtime::sameTextNoCase(icon, "Question"))
            plan.box.icon = runtime::MessageIcon::Question;
        else if (runtime::sameTextNoCase(icon, "Exclamation"))
            plan.box.icon = runtime::MessageIcon::Exclamation;
        else if (runtime::sameTextNoCase(icon, "Asterisk"))
            plan.box.icon = runtime::MessageIcon::Asterisk;
    }

    const bool renamed = message.number(Mes::RenameButtons) != 0;
    const std::string defaultName(runtime::trim(message.text(Mes::Default)));
    unsigned defaultValue = 0;
    unsigned position = 0;
    plan.box.buttons = 0;
    for (int index = 1; index <= Mes::ButtonCount; ++index) {
        if (!buttonChosen(message, index))
            continue;
        ++position;
        plan.box.buttons |= standardButton(index).value;
        if (renamed)
            plan.box.buttonTexts.push_back(renamedButtonText(message, index));
        if (runtime::sameTextNoCase(standardButton(index).name, defaultName))
            defaultValue = renamed ? position : standardButton(index).value;
    }
    if (defaultValue == 0) {
        plan.warning =
            runtime::MessageRequest{"Unable to Find Default = " + defaultName, "", runtime::MessageIcon::None,
                                    runtime::Button::Ok, runtime::Button::Ok};
        defaultValue = 1;
    }
    plan.box.defaultButton = defaultValue;

    if (message.number(Mes::Sound) != 0) {
        if (runtime::sameText(icon, "Hand"))
            plan.sound = runtime::SystemSound::Hand;
        else if (runtime::sameText(icon, "Question"))
            plan.sound = runtime::SystemSound::Question;
        else if (runtime::sameText(icon, "Exclamation"))
            plan.sound = runtime::SystemSound::Exclamation;
        else if (runtime::sameText(icon, "Asterisk"))
            plan.sound = runtime::SystemSound::Asterisk;
        else if (settings.playDefaultSound)
            plan.sound = runtime::SystemSound::Default;
    }
    plan.box.text = characterToTabs(trimmedMessageText(message.text(Mes::Text)), settings.tabCharacter);
    plan.box.caption = message.text(Mes::Caption);
    return plan;
}

} // namespace kestrix::message
