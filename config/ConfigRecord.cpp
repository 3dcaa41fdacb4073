#include "config/ConfigRecord.h"

#include "runtime/FixedText.h"

#include <cctype>
#include <stdexcept>

namespace kestrix::config {

using runtime::FieldType;
using runtime::FontSpec;
using runtime::Record;
using runtime::RecordLayout;

std::shared_ptr<const RecordLayout> configLayout()
{
    static const std::shared_ptr<const RecordLayout> layout = [] {
        auto l = std::make_shared<RecordLayout>("CFG");
        const auto check = [](int index, Cfg::Field expected) {
            if (index != expected)
                throw std::logic_error("configuration layout out of order");
        };
        check(l->addString("CWPATH", PathLength), Cfg::CwPath);
        check(l->addNumber("INDENT", FieldType::Byte), Cfg::Indent);
        check(l->addNumber("NESTINDENT", FieldType::Byte), Cfg::NestIndent);
        check(l->addNumber("ENDCOMMENT", FieldType::Byte), Cfg::EndComment);
        check(l->addNumber("LOWERCASE", FieldType::Byte), Cfg::LowerCase);
        check(l->addString("EDITOR", PathLength), Cfg::Editor);
        check(l->addNumber("NOTIPS", FieldType::Byte), Cfg::NoTips);
        check(l->addNumber("PLAYDEFAULTSOUND", FieldType::Byte), Cfg::PlayDefaultSound);
        check(l->addNumber("ALWAYSCANCEL", FieldType::Byte), Cfg::AlwaysCancel);
        check(l->addNumber("DEFAULTALWAYS", FieldType::Byte), Cfg::DefaultAlways);
        check(l->addNumber("DOUBLEAMPERSAND", FieldType::Byte), Cfg::DoubleAmpersand);
        check(l->addString("BTN", 12), Cfg::Btn);
        check(l->addString("RENAMEFIXVARIABLE", 24), Cfg::RenameFixVariable);
        check(l->addString("RENAMEFIXFILE", PathLength), Cfg::RenameFixFile);
        check(l->addString("DCT:STREAMV", 20), Cfg::StreamV);
        check(l->addNumber("DCT:STREAMRECORDS", FieldType::Short), Cfg::StreamRecords);
        check(l->addString("DCT:YIELDV", 20), Cfg::YieldV);
        check(l->addNumber("DCT:YIELDRECORDS", FieldType::Short), Cfg::YieldRecords);
        check(l->addNumber("DCT:FIELDWIDTH", FieldType::Byte), Cfg::FieldWidth);
        check(l->addNumber("NOTE:BARS", FieldType::Byte), Cfg::NoteBars);
        check(l->addNumber("NOTE:COLOR", FieldType::Byte), Cfg::NoteColor);
        check(l->addString("NOTE:FONT", 32), Cfg::NoteFont);
        check(l->addNumber("NOTE:FONTSIZE", FieldType::Long), Cfg::NoteFontSize);
        check(l->addNumber("NOTE:FONTCOLOR", FieldType::Long), Cfg::NoteFontColor);
        check(l->addNumber("NOTE:FONTSTYLE", FieldType::Long), Cfg::NoteFontStyle);
        check(l->addNumber("LOOK:BOLD", FieldType::Byte, 20), Cfg::LookBold);
        check(l->addString("LOOK:FONT", 32, 10), Cfg::LookFont);
        check(l->addNumber("LOOK:FONTSIZE", FieldType::Long, 10), Cfg::LookFontSize);
        check(l->addNumber("LOOK:FONTCOLOR", FieldType::Long, 10), Cfg::LookFontColor);
        check(l->addNumber("LOOK:FONTSTYLE", FieldType::Long, 10), Cfg::LookFontStyle);
        check(l->addNumber("FUT:BYTES", FieldType::Byte, 10), Cfg::FutBytes);
        check(l->addNumber("FUT:LONG", FieldType::Long, 10), Cfg::FutLong);
        check(l->addString("FUT:STRING", 20, 10), Cfg::FutString);
        check(l->addString("ACROBAT", PathLength), Cfg::Acrobat);
        return l;
    }();
    return layout;
}

Record defaultConfig()
{
    Record r(configLayout());
    r.setNumber(Cfg::NestIndent, 3);
    r.setNumber(Cfg::EndComment, 1);
    r.setText(Cfg::Editor, "Notepad");
    r.setNumber(Cfg::PlayDefaultSound, 1);
    r.setNumber(Cfg::DefaultAlways, 1);
    r.setText(Cfg::Btn, "Btn#");
    r.setText(Cfg::RenameFixVariable, "GLO:FIXBTN");
    r.setText(Cfg::RenameFixFile, "FIXBTN.ENV");
    r.setText(Cfg::StreamV, "StrmCnt#");
    r.setNumber(Cfg::StreamRecords, 100);
    r.setText(Cfg::YieldV, "YldCnt#");
    r.setNumber(Cfg::YieldRecords, 25);
    r.setNumber(Cfg::FieldWidth, 20);
    r.setNumber(Cfg::NoteBars, 1);
    r.setNumber(Cfg::NoteColor, 6);
    r.setText(Cfg::NoteFont, "Default");
    r.setNumber(Cfg::NoteFontSize, 8);
    for (int e = 1; e <= 10; ++e) {
        r.setText(Cfg::LookFont, "Default", e);
        r.setNumber(Cfg::LookFontSize, 8, e);
    }
    setTabCharacter(r, DefaultTabCharacter);
    return r;
}

char fixedTabCharacter(char c)
{
    const auto u = static_cast<unsigned char>(c);
    if (c == ' ' || c == '\0' || c == '\'' || std::isdigit(u) || std::isalpha(u) ||
        runtime::upperChar(c) != runtime::lowerChar(c))
        return DefaultTabCharacter;
    return c;
}

char tabCharacter(const Record& config)
{
    const std::string text = config.text(Cfg::FutString, 1);
    return fixedTabCharacter(text.empty() ? ' ' : text.front());
}

void setTabCharacter(Record& config, char c)
{
    std::string text = config.text(Cfg::FutString, 1);
    if (text.empty())
        text = " ";
    text[0] = fixedTabCharacter(c);
    config.setText(Cfg::FutString, text, 1);
}

void normalizeConfig(Record& config)
{
    const std::string text = config.text(Cfg::FutString, 1);
    if (text.empty() || text.front() == ' ')
        setTabCharacter(config, DefaultTabCharacter);
}

FontSpec fontOf(const Record& config, int row)
{
    return {config.text(Cfg::LookFont, row), static_cast<long>(config.number(Cfg::LookFontSize, row)),
            static_cast<long>(config.number(Cfg::LookFontColor, row)),
            static_cast<long>(config.number(Cfg::LookFontStyle, row))};
}

void setFont(Record& config, int row, const FontSpec& font)
{
    config.setText(Cfg::LookFont, font.name, row);
    config.setNumber(Cfg::LookFontSize, font.size, row);
    config.setNumber(Cfg::LookFontColor, font.color, row);
    config.setNumber(Cfg::LookFontStyle, font.style, row);
}

FontSpec noteFont(const Record& config)
{
    return {config.text(Cfg::NoteFont), static_cast<long>(config.number(Cfg::NoteFontSize)),
            static_cast<long>(config.number(Cfg::NoteFontColor)),
            static_cast<long>(config.number(Cfg::NoteFontStyle))};
}

void setNoteFont(Record& config, const FontSpec& font)
{
    config.setText(Cfg::NoteFont, font.name);
    config.setNumber(Cfg::NoteFontSize, font.size);
    config.setNumber(Cfg::NoteFontColor, font.color);
    config.setNumber(Cfg::NoteFontStyle, font.style);
}

bool hasCustomFont(const FontSpec& font)
{
    return !runtime::isBlank(font.name) && !runtime::sameTextNoCase(font.name, "Default");
}

std::string fontDescription(const FontSpec& font)
{
    std::string text = font.name + ", " + std::to_string(font.size);
    if ((font.style & runtime::FontStyle::WeightMask) >= runtime::FontStyle::Bold)
        text += ", Bold";
    if (font.style & runtime::FontStyle::Italic)
        text += ", Italic";
    return text;
}

const char* boldFlagName(int element)
{
    static const char* const names[] = {"Message Open",     "Message Inserts", "Error Helper",
                                        "Equate Helper",    "Color Helper",    "Code Storage",
                                        "Dictionary Files", "Map Viewer",      "Window Keys",
                                        "Help List",        "TPL Registrar",   "Tip of the Day"};
    return element >= 1 && element <= Cfg::BoldFlagsUsed ? names[element - 1] : "";
}

const char* fontRowName(int row)
{
    static const char* const names[] = {"Message Text", "String Builder",  "Template Code",
                                        "Code Storage", "Dictionary File", "Clipboard Viewer"};
    return row >= 1 && row <= Cfg::FontRowsUsed ? names[row - 1] : "";
}

const char* noteColorName(int index)
{
    static const char* const names[] = {"Green",   "Lime",   "Aqua",   "Blue",
                                        "Fuschia", "Yellow", "Silver", "White"};
    return index >= 1 && index <= NoteColorCount ? names[index - 1] : "";
}

} // namespace kestrix::config
