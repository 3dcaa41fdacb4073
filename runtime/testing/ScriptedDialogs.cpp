#include "runtime/testing/ScriptedDialogs.h"

namespace kestrix::runtime::testing {

unsigned ScriptedDialogs::message(const MessageRequest& request)
{
    shown.push_back(request);
    if (onMessage)
        onMessage();
    if (answers.empty())
        return effectiveDefault(request);
    const unsigned answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::openFile(const FileDialogRequest& request)
{
    dialogTitles.push_back(request.title);
    if (fileAnswers.empty())
        return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::vector<std::string> ScriptedDialogs::openFiles(const FileDialogRequest& request)
{
    if (filesAnswers.empty())
        return DialogService::openFiles(request);
    dialogTitles.push_back(request.title);
    auto answer = filesAnswers.front();
    filesAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::chooseDirectory(const std::string& title, const std::string&)
{
    return openFile({title, {}, {}});
}

std::optional<FontSpec> ScriptedDialogs::chooseFont(const std::string& title, const FontSpec&)
{
    dialogTitles.push_back(title);
    if (fontAnswers.empty())
        return std::nullopt;
    auto answer = fontAnswers.front();
    fontAnswers.pop_front();
    return answer;
}

std::vector<std::string> ScriptedDialogs::captions() const
{
    std::vector<std::string> out;
    for (const auto& m : shown)
        out.push_back(m.caption);
    return out;
}

} // namespace kestrix::runtime::testing
