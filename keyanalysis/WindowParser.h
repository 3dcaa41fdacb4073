#pragma once

#include "keyanalysis/AnalysisQueues.h"
#include "runtime/DialogService.h"

#include <functional>
#include <string>

// Reads a WINDOW( or APPLICATION( structure as the clipboard holds it: logical
// lines, nesting, the optional restriction to one tab, normalised lines, the
// header and menu, the hot keys and the controls that show an Alt letter.
namespace kestrix::keyanalysis {

struct TabChoice
{
    TabMode mode = TabMode::All;
    std::size_t entry = 0; // with TabMode::One, the index of the chosen one in the offered tabs
};
// The Tab Selection window: offered the tabs of the first sheet when it has two or more.
using TabChooser = std::function<TabChoice(const std::vector<TabEntry>&)>;

constexpr std::size_t LineRoom = 500;

class WindowParser final
{
public:
    WindowParser(AnalysisQueues& queues, runtime::DialogService& dialogs) : m_q(queues), m_dialogs(dialogs) {}

    // Reads the text into the queues: lines, nesting, tab choice, header, menu, hot keys and controls.
    void parse(const std::string& clipboardText, const TabChooser& chooseTab);
    // The header and menu scan over lines [first, last) of the normalised lines.
    void menuScan(std::size_t first, std::size_t last);

private:
    std::vector<RawLine> rawLines(const std::string& buffer) const;
    bool nest();
    std::vector<bool> retainedLines(const TabChooser& chooseTab);
    void readEntry(std::size_t index, int depth, std::string (&names)[11], int& sequence);
    void hotKeysAndControls();

    AnalysisQueues& m_q;
    runtime::DialogService& m_dialogs;
};

// Splits a logical line into its label, keyword and normalised form.
LineParts splitLine(std::string_view line);

// The Alt letter of a text: the character after the first '&' that is not part of "&&", upper-cased; NoKey
// without one.
char altLetter(const std::string& text);

} // namespace kestrix::keyanalysis
