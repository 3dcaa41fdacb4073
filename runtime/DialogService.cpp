#include "runtime/DialogService.h"

namespace kestrix::runtime {

std::vector<std::string> DialogService::openFiles(const FileDialogRequest& request)
{
    std::vector<std::string> chosen;
    if (std::optional<std::string> one = openFile(request))
        chosen.push_back(std::move(*one));
    return chosen;
}

unsigned firstButton(unsigned buttons)
{
    for (unsigned b = Button::Ok; b <= Button::Help; b <<= 1) {
        if (buttons & b)
            return b;
    }
    return Button::Ok;
}

unsigned effectiveDefault(const MessageRequest& request)
{
    if (!request.buttonTexts.empty()) {
        const auto count = static_cast<unsigned>(request.buttonTexts.size());
        return request.defaultButton >= 1 && request.defaultButton <= count ? request.defaultButton : 1;
    }
    if (request.defaultButton != 0 && (request.buttons & request.defaultButton))
        return request.defaultButton;
    return firstButton(request.buttons);
}

std::string messageLines(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue; // the line feed that follows makes the break
        out += text[i] == '|' ? '\n' : text[i];
    }
    return out;
}

} // namespace kestrix::runtime
