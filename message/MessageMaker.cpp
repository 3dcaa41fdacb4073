#include "message/MessageMaker.h"

#include "config/ConfigRecord.h"
#include "data/RecordWriter.h"
#include "data/StandardWarning.h"
#include "message/MessageActions.h"
#include "message/MessageDecompiler.h"
#include "message/MessageFile.h"
#include "message/MessageRecord.h"
#include "runtime/FieldFit.h"
#include "runtime/FixedText.h"

#include <algorithm>

namespace kestrix::message {

MessageMaker::MessageMaker(config::Session& session, runtime::KeyedFile& messages,
                           std::vector<std::string> icons)
    : m_session(session), m_messages(messages), m_icons(std::move(icons)), m_message(messageLayout())
{
}

char MessageMaker::tabCharacter() const
{
    return config::tabCharacter(m_session.configuration());
}

runtime::Record MessageMaker::windowForm(const runtime::Record& saved) const
{
    runtime::Record r = saved;
    r.setText(Mes::Text, tabsToCharacter(r.text(Mes::Text), tabCharacter()));
    return r;
}

runtime::Record MessageMaker::fileForm() const
{
    runtime::Record r = m_message;
    r.setText(Mes::Text, characterToTabs(r.text(Mes::Text), tabCharacter()));
    return r;
}

bool MessageMaker::newMessage()
{
    const TemplateResult fresh = message::newMessage(m_messages);
    if (!fresh.record) {
        m_session.dialogs().playSound(runtime::SystemSound::Hand);
        m_session.dialogs().message(*fresh.failure);
        return false;
    }
    m_message = windowForm(*fresh.record);
    refresh();
    return true;
}

void MessageMaker::open(const runtime::Record& saved)
{
    m_message = windowForm(saved);
    refresh();
}

void MessageMaker::openAsNew(const runtime::Record& saved)
{
    open(saved);
    m_message.setText(Mes::Description, "");
    m_message.setPosition(0, 0);
}

std::optional<runtime::MessageRequest> MessageMaker::saveRefusal(const std::string& description,
                                                                 bool adding) const
{
    const auto refusal = [](std::string text) {
        return runtime::MessageRequest{std::move(text), "INVALID DESCRIPTION",
                                       runtime::MessageIcon::Exclamation, runtime::Button::Ok,
                                       runtime::Button::Ok};
    };
    if (runtime::isBlank(description))
        return refusal("A message is saved under a description: MES:DESCRIPTION is blank.");
    if (auto tooLong = runtime::textDoesNotFit(m_message.layout(), Mes::Description, description))
        return refusal(*tooLong);
    // A second template would never be the one a new message starts from.
    const bool isTemplate = runtime::sameTextNoCase(runtime::rtrim(description), TemplateDescription);
    if (isTemplate &&
        (adding || !runtime::sameTextNoCase(m_message.text(Mes::Description), TemplateDescription)))
        return refusal(std::string(TemplateDescription) +
                       " names the template every new message starts from: choose another description.");
    // What the generator would refuse is not worth keeping.
    if (auto failed = checkMessage(m_message))
        return failed->box;
    return std::nullopt;
}

SaveOutcome MessageMaker::write(const std::string& description, bool adding)
{
    if (auto refusal = saveRefusal(description, adding)) {
        m_session.dialogs().message(*refusal);
        return SaveOutcome::Refused;
    }
    runtime::Record saved = fileForm();
    saved.setText(Mes::Description, description);
    if (adding)
        saved.setPosition(0, 0);
    data::WriteOptions options;
    options.updateFailureText = "Error Saving Record to Message File";
    if (!data::writeRecord(m_messages, saved,
                           adding ? data::WriteOperation::Add : data::WriteOperation::Update,
                           m_session.dialogs(), options)) {
        if (!adding && saved.version() != m_message.version() && saved.position() == m_message.position()) {
            // Another program changed the record: show its values, as every form does.
            m_message = windowForm(saved);
            refresh();
        }
        return SaveOutcome::Failed;
    }
    m_message.setText(Mes::Description, description);
    m_message.setPosition(saved.position(), saved.version());
    return SaveOutcome::Saved;
}

SaveOutcome MessageMaker::save(const std::string& description)
{
    if (!saveEnabled())
        return SaveOutcome::Refused;
    return write(description, false);
}

SaveOutcome MessageMaker::saveAs(const std::string& description)
{
    return write(description, true);
}

bool MessageMaker::saveEnabled() const
{
    return !runtime::isBlank(m_message.text(Mes::Description));
}

std::string MessageMaker::title() const
{
    if (!saveEnabled())
        return "Message Maker";
    return "Message Maker - " + m_message.text(Mes::Description);
}

std::vector<runtime::MenuItem> MessageMaker::contextMenu() const
{
    const auto item = [](MakerCommand id, const char* text, bool enabled = true) {
        return runtime::MenuItem{static_cast<int>(id), text, enabled};
    };
    const runtime::MenuItem separator{runtime::SeparatorId, "-", true};
    return {item(MakerCommand::Preview, "Preview\tCtrl+P"),
            item(MakerCommand::Generate, "Generate Code to Clipboard\tCtrl+G"),
            item(MakerCommand::GenerateAndMinimize, "Generate Code and Minimize\tCtrl+M"),
            separator,
            item(MakerCommand::New, "New\tCtrl+N"),
            item(MakerCommand::OpenAsNew, "Open As New\tCtrl+W"),
            item(MakerCommand::Open, "Open\tCtrl+O"),
            item(MakerCommand::Save, "Save\tCtrl+S", saveEnabled()),
            item(MakerCommand::SaveAs, "Save As\tCtrl+A"),
            separator,
            item(MakerCommand::Decompile, "Decompile from Clipboard")};
}

CommandOutcome MessageMaker::execute(MakerCommand command, const std::function<void()>& iconizeFrame)
{
    switch (command) {
    case MakerCommand::Preview:
        preview();
        return CommandOutcome::Done;
    case MakerCommand::Generate:
    case MakerCommand::GenerateAndMinimize: {
        const bool failed = generateToClipboard().failure.has_value();
        if (command == MakerCommand::GenerateAndMinimize && iconizeFrame)
            iconizeFrame();
        return failed ? CommandOutcome::Failed : CommandOutcome::Done;
    }
    case MakerCommand::New:
        return newMessage() ? CommandOutcome::Done : CommandOutcome::Failed;
    case MakerCommand::Decompile:
        return decompile(m_session.systemClipboard().text()) ? CommandOutcome::Done : CommandOutcome::Failed;
    case MakerCommand::OpenAsNew:
    case MakerCommand::Open:
    case MakerCommand::Save:
    case MakerCommand::SaveAs:
        break;
    }
    return CommandOutcome::NeedsWindow;
}

int MessageMaker::iconIndex() const
{
    const std::string icon(runtime::trim(m_message.text(Mes::Icon)));
    for (std::size_t i = 0; i < m_icons.size(); ++i) {
        if (runtime::sameTextNoCase(m_icons[i], icon))
            return static_cast<int>(i);
    }
    return 0;
}

void MessageMaker::setIcon(int index)
{
    if (index >= 0 && static_cast<std::size_t>(index) < m_icons.size())
        m_message.setText(Mes::Icon, m_icons[static_cast<std::size_t>(index)]);
}

void MessageMaker::refresh()
{
    // An icon the list does not know shows, and is then stored as, the first one.
    setIcon(iconIndex());
    const DefaultChoices choices = defaultChoices();
    if (choices.selected < 0 && !choices.buttons.empty())
        setDefaultChoice(0);
}

DefaultChoices MessageMaker::defaultChoices() const
{
    DefaultChoices choices;
    const std::string current(runtime::trim(m_message.text(Mes::Default)));
    for (int index = 1; index <= Mes::ButtonCount && choices.buttons.size() < DefaultChoiceCount; ++index) {
        if (!buttonChosen(m_message, index))
            continue;
        if (choices.selected < 0 && runtime::sameTextNoCase(standardButton(index).name, current))
            choices.selected = static_cast<int>(choices.buttons.size());
        choices.buttons.push_back(index);
    }
    return choices;
}

void MessageMaker::setButton(int index, bool chosen)
{
    m_message.setNumber(Mes::Button, chosen ? 1 : 0, index);
    refresh();
}

void MessageMaker::setButtons(const std::vector<int>& chosen)
{
    const auto wanted = [&](int index) {
        return std::find(chosen.begin(), chosen.end(), index) != chosen.end();
    };
    // Unchecked first, as a user would before checking the new ones: the default follows the same way.
    for (int index = 1; index <= Mes::ButtonCount; ++index) {
        if (buttonChosen(m_message, index) && !wanted(index))
            setButton(index, false);
    }
    for (int index = 1; index <= Mes::ButtonCount; ++index) {
        if (!buttonChosen(m_message, index) && wanted(index))
            setButton(index, true);
    }
}

void MessageMaker::setDefaultChoice(int choice)
{
    const DefaultChoices choices = defaultChoices();
    if (choice >= 0 && static_cast<std::size_t>(choice) < choices.buttons.size())
        m_message.setText(Mes::Default,
                          standardButton(choices.buttons[static_cast<std::size_t>(choice)]).name);
}

EditRefusal MessageMaker::setDefaultButton(const std::string& name)
{
    const DefaultChoices choices = defaultChoices();
    std::string names;
    for (std::size_t i = 0; i < choices.buttons.size(); ++i) {
        if (runtime::sameTextNoCase(standardButton(choices.buttons[i]).name, runtime::trim(name))) {
            setDefaultChoice(static_cast<int>(i));
            return std::nullopt;
        }
        names += (names.empty() ? "" : ", ") + std::string(standardButton(choices.buttons[i]).name);
    }
    if (names.empty())
        return "MES:DEFAULT: no button is chosen, so " + name + " cannot be the default.";
    return "MES:DEFAULT must be one of the first four chosen buttons (" + names + "), not " + name + ".";
}

EditRefusal MessageMaker::setCaption(const std::string& caption)
{
    if (auto tooLong = runtime::textDoesNotFit(m_message.layout(), Mes::Caption, caption))
        return tooLong;
    m_message.setText(Mes::Caption, caption);
    return std::nullopt;
}

EditRefusal MessageMaker::setText(const std::string& text)
{
    // Cut, a balanced text could end unbalanced: the whole text or nothing.
    if (auto tooLong = runtime::textDoesNotFit(m_message.layout(), Mes::Text, text))
        return tooLong;
    m_message.setText(Mes::Text, text);
    return std::nullopt;
}

EditRefusal MessageMaker::setIconName(const std::string& name)
{
    for (std::size_t i = 0; i < m_icons.size(); ++i) {
        if (runtime::sameTextNoCase(m_icons[i], runtime::trim(name))) {
            setIcon(static_cast<int>(i));
            return std::nullopt;
        }
    }
    std::string names;
    for (const std::string& icon : m_icons)
        names += (names.empty() ? "" : ", ") + icon;
    return "MES:ICON takes an icon of the list (" + names + "), not " + name + ".";
}

const std::vector<std::string>& codeTypeNames()
{
    static const std::vector<std::string> names = {"None", "Case", "If"};
    return names;
}

void MessageMaker::setCodeType(int index)
{
    if (index >= 0 && static_cast<std::size_t>(index) < codeTypeNames().size())
        m_message.setText(Mes::CodeType, codeTypeNames()[static_cast<std::size_t>(index)]);
}

EditRefusal MessageMaker::setCodeType(const std::string& name)
{
    const auto& names = codeTypeNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (runtime::sameTextNoCase(names[i], runtime::trim(name))) {
            setCodeType(static_cast<int>(i));
            return std::nullopt;
        }
    }
    return "MES:CODETYPE takes None, Case or If, not " + name + ".";
}

void MessageMaker::setCodeLoop(bool on)
{
    m_message.setNumber(Mes::CodeLoop, on ? 1 : 0);
}

void MessageMaker::setCodeIfError(bool on)
{
    m_message.setNumber(Mes::CodeIfError, on ? 1 : 0);
}

void MessageMaker::setSound(bool on)
{
    m_message.setNumber(Mes::Sound, on ? 1 : 0);
}

void MessageMaker::setRenameButtons(bool on)
{
    m_message.setNumber(Mes::RenameButtons, on ? 1 : 0);
}

EditRefusal MessageMaker::setButtonName(int index, const std::string& text)
{
    if (auto tooLong = runtime::textDoesNotFit(m_message.layout(), Mes::ButtonName, text, index))
        return tooLong;
    m_message.setText(Mes::ButtonName, text, index);
    return std::nullopt;
}

EditRefusal MessageMaker::apply(const MessageEdits& edits)
{
    const runtime::Record before = m_message;
    EditRefusal refusal = [&]() -> EditRefusal {
        if (edits.text)
            if (auto r = setText(*edits.text))
                return r;
        if (edits.caption)
            if (auto r = setCaption(*edits.caption))
                return r;
        if (edits.icon)
            if (auto r = setIconName(*edits.icon))
                return r;
        if (edits.buttons)
            setButtons(*edits.buttons);
        if (edits.renameButtons)
            setRenameButtons(*edits.renameButtons);
        for (int index = 1; index <= Mes::ButtonCount; ++index) {
            if (const auto& name = edits.buttonNames[static_cast<std::size_t>(index - 1)])
                if (auto r = setButtonName(index, *name))
                    return r;
        }
        if (edits.codeType)
            if (auto r = setCodeType(*edits.codeType))
                return r;
        if (edits.codeLoop)
            setCodeLoop(*edits.codeLoop);
        if (edits.codeIfError)
            setCodeIfError(*edits.codeIfError);
        if (edits.sound)
            setSound(*edits.sound);
        if (edits.defaultButton)
            if (auto r = setDefaultButton(*edits.defaultButton))
                return r;
        return std::nullopt;
    }();
    if (refusal)
        m_message = before;
    return refusal;
}

void MessageMaker::applyRenaming(const runtime::Record& edited)
{
    for (int index = 1; index <= Mes::ButtonCount; ++index) {
        m_message.setNumber(Mes::Button, edited.number(Mes::Button, index), index);
        m_message.setText(Mes::ButtonName, edited.text(Mes::ButtonName, index), index);
    }
    m_message.setNumber(Mes::RenameButtons, edited.number(Mes::RenameButtons));
    m_message.setText(Mes::FixLocale, edited.text(Mes::FixLocale));
    refresh();
}

bool MessageMaker::decompile(const std::string& source)
{
    DecompileSettings settings;
    settings.buttonVariable = m_session.configuration().text(config::Cfg::Btn);
    settings.tabCharacter = tabCharacter();
    settings.icons = m_icons;
    const DecompiledMessage result = decompileMessage(source, settings);
    if (!result.record) {
        m_session.dialogs().message(*result.failure);
        return false;
    }
    m_message = *result.record;
    refresh();
    if (!result.dropped.empty())
        m_session.dialogs().message(decompiledInPart(result));
    return true;
}

GeneratedCode MessageMaker::generateToClipboard()
{
    return message::generateToClipboard(m_session, m_message);
}

void MessageMaker::preview()
{
    previewMessage(m_session, m_message, m_icons);
    refresh(); // with no button chosen the preview chose OK
}

void MessageMaker::perform(SavedMessageCommand command, const runtime::Record& saved,
                           const std::function<void()>& iconizeFrame)
{
    runtime::Record other = windowForm(saved);
    switch (command) {
    case SavedMessageCommand::Preview:
        previewMessage(m_session, other, m_icons);
        break;
    case SavedMessageCommand::Generate:
        message::generateToClipboard(m_session, other);
        break;
    case SavedMessageCommand::GenerateAndMinimize:
        message::generateToClipboard(m_session, other);
        if (iconizeFrame)
            iconizeFrame();
        break;
    case SavedMessageCommand::Open:
        break;
    }
}

std::vector<runtime::MenuItem> MessageMaker::savedMessageMenu()
{
    const auto item = [](SavedMessageCommand id, const char* text) {
        return runtime::MenuItem{static_cast<int>(id), text, true};
    };
    return {item(SavedMessageCommand::Open, "Open"), item(SavedMessageCommand::Preview, "Preview"),
            item(SavedMessageCommand::Generate, "Generate Code to Clipboard"),
            item(SavedMessageCommand::GenerateAndMinimize, "Generate and Minimize")};
}

std::optional<int> MessageMaker::insert(const std::string& piece, int caret)
{
    const auto inserted = insertPiece(m_message.text(Mes::Text), piece, caret);
    if (!inserted) {
        m_session.dialogs().message(pieceDoesNotFit("message text", MessageTextLength));
        return std::nullopt;
    }
    m_message.setText(Mes::Text, inserted->text);
    return inserted->caret;
}

runtime::MessageRequest deleteMessageQuestion(const runtime::Record& saved)
{
    return {"Delete the highlighted message named:|" + saved.text(Mes::Description), "Delete Message",
            runtime::MessageIcon::Question, runtime::Button::Yes | runtime::Button::No, runtime::Button::No};
}

} // namespace kestrix::message
