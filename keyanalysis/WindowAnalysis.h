#pragma once

#include "keyanalysis/AnalysisQueues.h"
#include "keyanalysis/FrameStore.h"
#include "keyanalysis/WindowParser.h"
#include "runtime/DialogService.h"

#include <string>

// The Window Key Analysis of one window structure: parse, merge the stored
// frame for an MDI child, find the conflicts; and the frame box's commands.
namespace kestrix::keyanalysis {

class WindowAnalysis final
{
public:
    WindowAnalysis(runtime::DialogService& dialogs, FrameStore frames)
        : m_dialogs(dialogs), m_frames(std::move(frames))
    {
    }

    // False when the text holds no window: the previous analysis, if there is one, stays.
    bool analyse(const std::string& clipboardText, const TabChooser& chooseTab);
    // Saves the analysed APPLICATION( as the frame; false when it could not be written.
    bool saveFrame();
    // Flips the frame's inclusion and analyses `clipboardText` again.
    void toggleInclude(const std::string& clipboardText, const TabChooser& chooseTab);
    void sort(int choice) { m_sortChoice = sortAltKeysFor(choice); }
    int sortChoice() const { return m_sortChoice; }

    const AnalysisQueues& queues() const { return m_q; }
    runtime::MessageRequest suggestionsFor(std::size_t row) const;

private:
    int sortAltKeysFor(int choice);
    void frameStep();
    void mergeFrame();

    runtime::DialogService& m_dialogs;
    FrameStore m_frames;
    AnalysisQueues m_q;
    int m_sortChoice = 1;
};

} // namespace kestrix::keyanalysis
