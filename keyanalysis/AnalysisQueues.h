#pragma once

#include <string>
#include <vector>

// What one analysis of a window structure holds: its lines, the controls that
// show an Alt letter, the hot keys and the menu entries, with their colours.
namespace kestrix::keyanalysis {

constexpr long NoColour = -1;
constexpr long Aqua = 0xFFFF00;
constexpr long Lime = 0x00FF00;
constexpr long Yellow = 0x00FFFF;
constexpr long Silver = 0xC0C0C0;
constexpr long Red = 0x0000FF;
constexpr long Blue = 0xFF0000;
constexpr char NoKey = '\xFF';

struct Colours
{
    long fg = NoColour;
    long bg = NoColour;
    long sfg = NoColour;
    long sbg = NoColour;
};

// A logical line split once, for the nesting pass and the normalised lines alike.
struct LineParts
{
    std::string label;      // the label in front of the keyword, "" without one
    std::string keyword;    // upper-cased; "." for a period that closes a structure
    std::string normalised; // first word upper-cased, blanks outside quotes removed
};

struct RawLine
{
    int level = 0;
    std::string levelType;
    int sheetLevel = 0;
    int sheetNum = 0;
    int tab = 0;
    std::string line;
    LineParts parts;
};

// The choice of the Tab Selection window: all tabs, no tab contents, or one tab.
enum class TabMode { All, None, One };

struct TabEntry
{
    int num = 0;
    std::string name;
    std::size_t rqIndex = 0;
};

struct AltRow
{
    char key = NoKey;
    Colours colours;
    std::string name;
    std::string type;
    std::string available;
    int zorder = 0;
    std::string nameSort;
};

struct HotRow
{
    std::string equate;
    Colours colours;
    std::string type;
    std::string control;
    std::string equateUpper;
};

struct MenuRow
{
    std::string line;
    Colours colours;
    int level = 0;
    char altKey = ' ';
    int seq = 0;
    bool frame = false;
    std::string name;
    std::string path;
    std::string menuPath;
};

// The "Frame" box: the stored application frame and whether it takes part.
struct FrameState
{
    std::string name;
    std::string lastUpdate;
    std::string button;
    bool buttonEnabled = false;
    bool saveEnabled = false;
    bool loaded = false;
    bool included = false;
    std::string status;
};

struct AnalysisQueues
{
    std::vector<RawLine> raw;      // RQ
    std::vector<std::string> code; // CQ
    std::vector<TabEntry> tabs;    // TABQ
    std::vector<AltRow> alt;       // AQ
    std::vector<HotRow> hot;       // KQ
    std::vector<MenuRow> menu;     // MQ

    std::string title;
    bool isApplication = false;
    bool isMdi = false;
    bool childNoMerge = false;
    bool frameMode = false;
    bool frameNoMerge = false;
    TabMode tabMode = TabMode::All;
    int chosenTab = 0; // the tab's number with TabMode::One
    long conflictsAlt = 0;
    long conflictsKey = 0;
    long conflictsMenu = 0;
    std::string usedLetters = std::string(256, ' ');
    FrameState frame;
};

} // namespace kestrix::keyanalysis
