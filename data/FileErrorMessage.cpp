#include "data/FileErrorMessage.h"

namespace kestrix::data {

runtime::MessageRequest fileErrorMessage(const std::string& caption, const std::string& sentence,
                                         const std::string& fileName, const runtime::FileError& error,
                                         unsigned buttons, runtime::MessageIcon icon)
{
    runtime::MessageRequest request;
    request.caption = caption;
    request.text = sentence + "||Error: " + error.describe() + "|File: " + fileName +
                   "|File Error: " + error.fileErrorText();
    request.icon = icon;
    request.buttons = buttons;
    request.defaultButton = runtime::firstButton(buttons);
    return request;
}

} // namespace kestrix::data
