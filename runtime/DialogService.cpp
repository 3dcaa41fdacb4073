#include "runtime/DialogService.h"

namespace kestrix::runtime {

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
    std::string out = text;
    for (char& c : out) {
        if (c == '|')
            c = '\n';
    }
    return out;
}

} // namespace kestrix::runtime
