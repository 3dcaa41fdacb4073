#include "message/MessageJson.h"

#include "message/MessageRecord.h"
#include "runtime/TextCodec.h"

namespace kestrix::message {

using nlohmann::json;

namespace {

std::string utf8(const std::string& cp1252)
{
    return runtime::cp1252ToUtf8(cp1252);
}

std::string fromUtf8(const json& value)
{
    return runtime::utf8ToCp1252(value.get<std::string>());
}

// true/false, or a number (any size: 0 is off); anything else is refused.
bool flag(const json& value)
{
    if (value.is_boolean())
        return value.get<bool>();
    if (!value.is_number())
        throw json::type_error::create(302, "a flag must be true, false or a number", &value);
    return value.get<double>() != 0.0;
}

} // namespace

nlohmann::ordered_json messageToJson(const runtime::Record& r, char tabCharacter)
{
    nlohmann::ordered_json out;
    out["description"] = utf8(r.text(Mes::Description));
    out["caption"] = utf8(r.text(Mes::Caption));
    out["text"] = utf8(characterToTabs(r.text(Mes::Text), tabCharacter));
    out["icon"] = utf8(r.text(Mes::Icon));
    json buttons = json::array();
    json names = json::array();
    for (int index = 1; index <= Mes::ButtonCount; ++index) {
        if (buttonChosen(r, index))
            buttons.push_back(standardButton(index).name);
        names.push_back(utf8(r.text(Mes::ButtonName, index)));
    }
    out["buttons"] = buttons;
    out["default"] = utf8(r.text(Mes::Default));
    out["codeType"] = utf8(r.text(Mes::CodeType));
    out["codeLoop"] = r.number(Mes::CodeLoop) != 0;
    out["codeIfError"] = r.number(Mes::CodeIfError) != 0;
    out["sound"] = r.number(Mes::Sound) != 0;
    out["renameButtons"] = r.number(Mes::RenameButtons) != 0;
    out["buttonNames"] = names;
    return out;
}

std::string applyMessageJson(runtime::Record& r, const json& in, char tabCharacter)
{
    if (!in.is_object())
        return "A message must be a JSON object.";
    try {
        const std::pair<const char*, Mes::Field> texts[] = {{"description", Mes::Description},
                                                            {"caption", Mes::Caption},
                                                            {"icon", Mes::Icon},
                                                            {"default", Mes::Default},
                                                            {"codeType", Mes::CodeType}};
        for (const auto& [key, field] : texts) {
            if (in.contains(key))
                r.setText(field, fromUtf8(in.at(key)));
        }
        if (in.contains("text"))
            r.setText(Mes::Text, tabsToCharacter(fromUtf8(in.at("text")), tabCharacter));
        const std::pair<const char*, Mes::Field> flags[] = {{"codeLoop", Mes::CodeLoop},
                                                            {"codeIfError", Mes::CodeIfError},
                                                            {"sound", Mes::Sound},
                                                            {"renameButtons", Mes::RenameButtons}};
        for (const auto& [key, field] : flags) {
            if (in.contains(key))
                r.setNumber(field, flag(in.at(key)) ? 1 : 0);
        }
        if (in.contains("buttons")) {
            const json& list = in.at("buttons");
            if (!list.is_array())
                return "\"buttons\" must be an array of button names.";
            for (int index = 1; index <= Mes::ButtonCount; ++index)
                r.setNumber(Mes::Button, 0, index);
            for (const json& name : list) {
                const int index = buttonIndex(name.get<std::string>());
                if (index == 0)
                    return "Unknown button: " + name.get<std::string>();
                r.setNumber(Mes::Button, 1, index);
            }
        }
        if (in.contains("buttonNames")) {
            const json& list = in.at("buttonNames");
            if (!list.is_array() || list.size() > static_cast<std::size_t>(Mes::ButtonCount))
                return "\"buttonNames\" must be an array of at most 8 texts.";
            for (std::size_t i = 0; i < list.size(); ++i)
                r.setText(Mes::ButtonName, fromUtf8(list[i]), static_cast<int>(i) + 1);
        }
    } catch (const json::exception& e) {
        return std::string("Invalid message: ") + e.what();
    }
    return {};
}

} // namespace kestrix::message
