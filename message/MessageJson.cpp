#include "message/MessageJson.h"

#include "message/MessageRecord.h"
#include "runtime/FixedText.h"
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

ParsedMessageJson parseMessageJson(const json& in, char tabCharacter)
{
    ParsedMessageJson result;
    MessageEdits& e = result.edits;
    if (!in.is_object()) {
        result.error = "A message must be a JSON object.";
        return result;
    }
    try {
        const std::pair<const char*, std::optional<std::string>*> texts[] = {{"caption", &e.caption},
                                                                             {"icon", &e.icon},
                                                                             {"default", &e.defaultButton},
                                                                             {"codeType", &e.codeType}};
        for (const auto& [key, target] : texts) {
            if (in.contains(key))
                *target = fromUtf8(in.at(key));
        }
        if (e.defaultButton && runtime::isBlank(*e.defaultButton))
            e.defaultButton.reset(); // blank: the first chosen button, as the window's refresh picks
        if (in.contains("text"))
            e.text = tabsToCharacter(fromUtf8(in.at("text")), tabCharacter);
        const std::pair<const char*, std::optional<bool>*> flags[] = {{"codeLoop", &e.codeLoop},
                                                                      {"codeIfError", &e.codeIfError},
                                                                      {"sound", &e.sound},
                                                                      {"renameButtons", &e.renameButtons}};
        for (const auto& [key, target] : flags) {
            if (in.contains(key))
                *target = flag(in.at(key));
        }
        if (in.contains("buttons")) {
            const json& list = in.at("buttons");
            if (!list.is_array()) {
                result.error = "\"buttons\" must be an array of button names.";
                return result;
            }
            e.buttons.emplace();
            for (const json& name : list) {
                const int index = buttonIndex(name.get<std::string>());
                if (index == 0) {
                    result.error = "Unknown button: " + name.get<std::string>();
                    return result;
                }
                e.buttons->push_back(index);
            }
        }
        if (in.contains("buttonNames")) {
            const json& list = in.at("buttonNames");
            if (!list.is_array() || list.size() > static_cast<std::size_t>(Mes::ButtonCount)) {
                result.error = "\"buttonNames\" must be an array of at most 8 texts.";
                return result;
            }
            for (std::size_t i = 0; i < list.size(); ++i)
                e.buttonNames[i] = fromUtf8(list[i]);
        }
    } catch (const json::exception& ex) {
        result.error = std::string("Invalid message: ") + ex.what();
    }
    return result;
}

} // namespace kestrix::message
