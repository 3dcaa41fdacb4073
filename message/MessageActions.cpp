#include "message/MessageActions.h"

#include "message/MessagePreview.h"

namespace kestrix::message {

GeneratedCode generateToClipboard(config::Session& session, const runtime::Record& message)
{
    GeneratedCode code = MessageGenerator(generatorSettings(session.configuration())).generate(message);
    if (code.failure)
        session.dialogs().message(*code.failure);
    session.putCode(code.lines);
    return code;
}

void previewMessage(config::Session& session, runtime::Record& message, const std::vector<std::string>& icons)
{
    const PreviewPlan plan = planPreview(message, generatorSettings(session.configuration()), icons);
    if (plan.warning)
        session.dialogs().message(*plan.warning);
    if (plan.sound)
        session.dialogs().playSound(*plan.sound);
    session.dialogs().message(plan.box);
}

} // namespace kestrix::message
