#pragma once

#include "runtime/DialogService.h"
#include "runtime/Record.h"

#include <memory>

// The configuration record (prefix CFG): every setting that shapes generated
// code and the tools' look, one record in "config5.tps".
namespace kestrix::config {

namespace Cfg {
enum Field : int {
    CwPath,
    Indent,
    NestIndent,
    EndComment,
    LowerCase,
    Editor,
    NoTips,
    PlayDefaultSound,
    AlwaysCancel,
    DefaultAlways,
    DoubleAmpersand,
    Btn,
    RenameFixVariable,
    RenameFixFile,
    StreamV,
    StreamRecords,
    YieldV,
    YieldRecords,
    FieldWidth,
    NoteBars,
    NoteColor,
    NoteFont,
    NoteFontSize,
    NoteFontColor,
    NoteFontStyle,
    LookBold,
    LookFont,
    LookFontSize,
    LookFontColor,
    LookFontStyle,
    FutBytes,
    FutLong,
    FutString,
    Acrobat,
    FieldCount
};
constexpr int BoldFlagsUsed = 12;
constexpr int FontRowsUsed = 6;
} // namespace Cfg

// Reserved flags of CFG:FUT:BYTES put to use.
namespace FutByte {
constexpr int KeepClipboardQueue = 1; // the clipboard queue is kept for the next start
} // namespace FutByte

// Rows of the font table.
namespace FontRow {
constexpr int MessageText = 1;
constexpr int StringBuilder = 2;
constexpr int TemplateCode = 3;
constexpr int CodeStorage = 4;
constexpr int DictionaryFile = 5;
constexpr int ClipboardViewer = 6;
} // namespace FontRow

constexpr char DefaultTabCharacter = '`';
// Fields that hold a path or a file name take a whole one. The file stores text
// columns without a size, so files written with narrower fields still open.
constexpr int PathLength = 260;

std::shared_ptr<const runtime::RecordLayout> configLayout();
runtime::Record defaultConfig();

// The tab character: never blank, a quote, a digit or a letter.
char fixedTabCharacter(char c);
char tabCharacter(const runtime::Record& config);
void setTabCharacter(runtime::Record& config, char c);
// What a read record needs before use: a blank tab character becomes the back-quote.
void normalizeConfig(runtime::Record& config);

runtime::FontSpec fontOf(const runtime::Record& config, int row);
void setFont(runtime::Record& config, int row, const runtime::FontSpec& font);
runtime::FontSpec noteFont(const runtime::Record& config);
void setNoteFont(runtime::Record& config, const runtime::FontSpec& font);
// True when a window should apply the row's font rather than its own.
bool hasCustomFont(const runtime::FontSpec& font);
// "Arial, 10, Bold, Italic"
std::string fontDescription(const runtime::FontSpec& font);

const char* boldFlagName(int element);
const char* fontRowName(int row);
// "Green|Lime|Aqua|Blue|Fuschia|Yellow|Silver|White", 1-based.
const char* noteColorName(int index);
constexpr int NoteColorCount = 8;

} // namespace kestrix::config
