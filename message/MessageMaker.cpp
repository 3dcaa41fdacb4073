#include "message/MessageMaker.h"

#include "config/ConfigRecord.h"
#include "data/RecordWriter.h"
#include "data/StandardWarning.h"
#include "message/MessageActions.h"
#include "message/MessageDecompiler.h"
#include "message/MessageFile.h"
#include "message/MessageRecord.h"
#include "runtime/FixedText.h"

namespace kestrix::message {

MessageMaker::MessageMaker(config::Session& session, runtime::KeyedFile& messages, std::vector<std::string> icons)
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

bool MessageMaker::save(const std::string& description)
{
    if (!saveEnabled())
        return false;
    runtime::Record saved = fileForm();
    saved.setText(Mes::Description, description);
    if (const runtime::FileError error = m_messages.put(saved)) {
        m_session.dialogs().message({"Error Saving Record to Message File|Error: " + std::to_string(error.code) +
                                         " - " + error.text(),
                                     "FILE ERROR", runtime::MessageIcon::Exclamation, runtime::Button::Ok,
                                     runtime::Button::Ok});
        return false;
    }
    m_message.setText(Mes::Description, description);
    m_message.setPosition(saved.position(), saved.version());
    return true;
}

bool MessageMaker::saveAs(const std::string& description)
{
    runtime::Record saved = fileForm();
    saved.setText(Mes::Description, description);
    saved.setPosition(0, 0);
    if (const runtime::FileError error = m_messages.add(saved)) {
        data::showStandardWarning(m_session.dialogs(), data::Warn::InsertError, {}, error);
        return false;
    }
    m_message.setText(Mes::Description, description);
    m_message.setPosition(saved.position(), saved.version());
    return true;
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

std::string MessageMaker::contextMenuText() const
{
    return std::string("Preview\tCtrl+P|Generate Code to Clipboard\tCtrl+G|Generate Code and Minimize\tCtrl+M|-|"
                       "New\tCtrl+N|Open As New\tCtrl+W|Open\tCtrl+O|") +
           (saveEnabled() ? "Save\tCtrl+S" : "~Save") + "|Save As\tCtrl+A" + "|-|Decompile from Clipboard";
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

void MessageMaker::setDefaultChoice(int choice)
{
    const DefaultChoices choices = defaultChoices();
    if (choice >= 0 && static_cast<std::size_t>(choice) < choices.buttons.size())
        m_message.setText(Mes::Default, standardButton(choices.buttons[static_cast<std::size_t>(choice)]).name);
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
    return true;
}

void MessageMaker::generateToClipboard()
{
    message::generateToClipboard(m_session, m_message);
}

void MessageMaker::preview()
{
    previewMessage(m_session, m_message, m_icons);
    refresh(); // with no button chosen the preview chose OK
}

void MessageMaker::perform(char request, const runtime::Record& saved, const std::function<void()>& iconizeFrame)
{
    runtime::Record other = windowForm(saved);
    switch (runtime::upperChar(request)) {
    case 'T':
        previewMessage(m_session, other, m_icons);
        break;
    case 'C':
        message::generateToClipboard(m_session, other);
        break;
    case 'M':
        message::generateToClipboard(m_session, other);
        if (iconizeFrame)
            iconizeFrame();
        break;
    default:
        break;
    }
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
