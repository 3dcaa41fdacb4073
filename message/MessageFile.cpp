#include "message/MessageFile.h"

#include "message/MessageRecord.h"

namespace kestrix::message {

TemplateResult fetchTemplate(runtime::KeyedFile& file)
{
    TemplateResult result;
    if (auto found = findByDescription(file, TemplateDescription)) {
        result.record = *found;
        return result;
    }
    // Added only while still missing, in one transaction: programs starting together make one template.
    runtime::Record created = templateMessage();
    runtime::FileError error = file.createIfMissing({created}, Mes::ByDescription);
    if (error.ok()) {
        if (auto found = findByDescription(file, TemplateDescription))
            created = *found;
        else
            error = file.lastError();
    }
    if (error) {
        result.failure = runtime::MessageRequest{
            "Unable to Create ZZ-DEFAULT record in the message file.|Error: " + std::to_string(error.code) +
                " - " + error.text() + "||Program must be aborted",
            "DEFAULT RECORD ERROR", runtime::MessageIcon::Hand, runtime::Button::Ok, runtime::Button::Ok};
        return result;
    }
    result.record = created;
    return result;
}

TemplateResult newMessage(runtime::KeyedFile& file)
{
    TemplateResult result = fetchTemplate(file);
    if (result.record) {
        result.record->setText(Mes::Description, "");
        result.record->setPosition(0, 0); // unsaved: nothing in the file to write back to
    }
    return result;
}

std::optional<runtime::Record> findByDescription(runtime::KeyedFile& file, const std::string& description)
{
    runtime::Record r(messageLayout());
    r.setText(Mes::Description, description);
    if (file.get(Mes::ByDescription, r))
        return std::nullopt;
    return r;
}

} // namespace kestrix::message
