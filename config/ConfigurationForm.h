#pragma once

#include "config/ConfigRecord.h"
#include "runtime/DialogService.h"
#include "runtime/IniFile.h"
#include "runtime/KeyedFile.h"

#include <optional>
#include <string>

// What the Configuration window does with its record: insert mode on an empty
// file, change mode on the record read; checks as each value is accepted; the
// font rows; and OK through the standard record write.
namespace kestrix::config {

// The first record of the configuration file, normalised; empty when it holds none.
std::optional<runtime::Record> readConfiguration(runtime::KeyedFile& file);

class ConfigurationForm final
{
public:
    enum class Mode { Insert, Change };

    explicit ConfigurationForm(runtime::KeyedFile& file);

    Mode mode() const { return m_mode; }
    const runtime::Record& record() const { return m_record; }
    runtime::Record& record() { return m_record; }

    // Each returns the message to show when the value is refused (the field keeps the focus).
    std::optional<runtime::MessageRequest> acceptClarionPath(const std::string& typed);
    std::optional<runtime::MessageRequest> acceptNumber(Cfg::Field field, long value);
    // A program chosen in the file dialog; refused when its path is longer than the field.
    std::optional<runtime::MessageRequest> acceptEditor(const std::string& path);
    void acceptTabCharacter(const std::string& typed);
    // When the path field gets the focus with a blank path: look in the system INI file.
    void fillBlankClarionPath(const std::optional<runtime::IniFile>& winIni);

    // A font chosen in the font dialog; refused, the old one kept, when its name is longer than the field.
    std::optional<runtime::MessageRequest> acceptFontRow(int row, const runtime::FontSpec& font);
    std::optional<runtime::MessageRequest> acceptNoteFont(const runtime::FontSpec& font);
    void defaultFontRow(int row);
    void fixedFontRow(int row);
    void checkAllBold();
    // The font dialog starts from "MS Sans Serif" when the stored font is "Default".
    static runtime::FontSpec fontDialogStart(const runtime::FontSpec& stored);

    bool isChanged() const;
    // OK: adds (insert mode) or writes back a changed record; false when it failed.
    bool save(runtime::DialogService& dialogs);

private:
    runtime::KeyedFile& m_file;
    Mode m_mode = Mode::Insert;
    runtime::Record m_record;
    runtime::Record m_original;
};

} // namespace kestrix::config
