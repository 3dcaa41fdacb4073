#include "config/ConfigurationForm.h"

#include "config/ClarionRootSearch.h"
#include "config/ConfigChecks.h"
#include "data/RecordWriter.h"
#include "data/StandardWarning.h"
#include "runtime/FieldFit.h"

namespace kestrix::config {

std::optional<runtime::Record> readConfiguration(runtime::KeyedFile& file)
{
    runtime::Record record = file.newRecord();
    file.setOrder(runtime::KeyedFile::FileOrder);
    if (file.next(record))
        return std::nullopt;
    normalizeConfig(record);
    return record;
}

ConfigurationForm::ConfigurationForm(runtime::KeyedFile& file)
    : m_file(file), m_record(defaultConfig()), m_original(defaultConfig())
{
    if (auto existing = readConfiguration(file)) {
        m_mode = Mode::Change;
        m_record = *existing;
        m_original = *existing;
    }
}

std::optional<runtime::MessageRequest> ConfigurationForm::acceptClarionPath(const std::string& typed)
{
    PathCheck check = checkClarionPath(typed);
    if (!check.refusal)
        m_record.setText(Cfg::CwPath, check.path);
    return check.refusal;
}

std::optional<runtime::MessageRequest> ConfigurationForm::acceptNumber(Cfg::Field field, long value)
{
    if (auto refusal = checkRange(field, value))
        return refusal;
    m_record.setNumber(field, value);
    return std::nullopt;
}

std::optional<runtime::MessageRequest> ConfigurationForm::acceptEditor(const std::string& path)
{
    if (auto tooLong = runtime::textDoesNotFit(m_record.layout(), Cfg::Editor, path))
        return runtime::MessageRequest{*tooLong, "INVALID EDITOR", runtime::MessageIcon::Exclamation,
                                       runtime::Button::Ok, runtime::Button::Ok};
    m_record.setText(Cfg::Editor, path);
    return std::nullopt;
}

namespace {

std::optional<runtime::MessageRequest> fontNameRefusal(const runtime::Record& record, Cfg::Field field,
                                                       int element, const runtime::FontSpec& chosen,
                                                       const std::string& kept)
{
    auto tooLong = runtime::textDoesNotFit(record.layout(), field, chosen.name, element);
    if (!tooLong)
        return std::nullopt;
    return runtime::MessageRequest{*tooLong + "|The font stays " + (kept.empty() ? "Default" : kept) + ".",
                                   "INVALID FONT", runtime::MessageIcon::Exclamation, runtime::Button::Ok,
                                   runtime::Button::Ok};
}

} // namespace

std::optional<runtime::MessageRequest> ConfigurationForm::acceptFontRow(int row,
                                                                        const runtime::FontSpec& font)
{
    if (auto refusal = fontNameRefusal(m_record, Cfg::LookFont, row, font, fontOf(m_record, row).name))
        return refusal;
    setFont(m_record, row, font);
    return std::nullopt;
}

std::optional<runtime::MessageRequest> ConfigurationForm::acceptNoteFont(const runtime::FontSpec& font)
{
    if (auto refusal = fontNameRefusal(m_record, Cfg::NoteFont, 1, font, noteFont(m_record).name))
        return refusal;
    setNoteFont(m_record, font);
    return std::nullopt;
}

void ConfigurationForm::acceptTabCharacter(const std::string& typed)
{
    setTabCharacter(m_record, typed.empty() ? ' ' : typed.front());
}

void ConfigurationForm::fillBlankClarionPath(const std::optional<runtime::IniFile>& winIni)
{
    if (!m_record.text(Cfg::CwPath).empty() || !winIni)
        return;
    const std::string found = clarionRootFromWinIni(*winIni);
    if (!runtime::textDoesNotFit(m_record.layout(), Cfg::CwPath, found)) // a path cut short would be wrong
        m_record.setText(Cfg::CwPath, found);
}

void ConfigurationForm::defaultFontRow(int row)
{
    setFont(m_record, row, {"Default", 8, 0, 0});
}

void ConfigurationForm::fixedFontRow(int row)
{
    setFont(m_record, row, {"Fixedsys", 9, 0, runtime::FontStyle::Normal});
}

void ConfigurationForm::checkAllBold()
{
    for (int e = 1; e <= Cfg::BoldFlagsUsed; ++e)
        m_record.setNumber(Cfg::LookBold, 1, e);
}

runtime::FontSpec ConfigurationForm::fontDialogStart(const runtime::FontSpec& stored)
{
    if (hasCustomFont(stored))
        return stored;
    runtime::FontSpec start = stored;
    start.name = "MS Sans Serif";
    return start;
}

bool ConfigurationForm::isChanged() const
{
    return !m_record.sameValues(m_original);
}

bool ConfigurationForm::save(runtime::DialogService& dialogs)
{
    if (m_mode == Mode::Insert) {
        // Another program may have added the one record since this form was opened: never a second one.
        if (!data::writeRecord(m_file, m_record, data::WriteOperation::AddFirst, dialogs)) {
            if (m_record.position() != 0) {
                normalizeConfig(m_record);
                m_mode = Mode::Change;
                m_original = m_record;
            }
            return false;
        }
        m_mode = Mode::Change;
    } else if (isChanged()) {
        if (!data::writeRecord(m_file, m_record, data::WriteOperation::Update, dialogs)) {
            // Re-read after another program's change: those values are now the ones to compare with.
            if (m_record.version() != m_original.version())
                m_original = m_record;
            return false;
        }
    }
    m_original = m_record;
    return true;
}

} // namespace kestrix::config
