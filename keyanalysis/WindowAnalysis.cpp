#include "keyanalysis/WindowAnalysis.h"

#include "keyanalysis/KeyConflicts.h"

namespace kestrix::keyanalysis {

bool WindowAnalysis::analyse(const std::string& clipboardText, const TabChooser& chooseTab)
{
    AnalysisQueues fresh;
    WindowParser(fresh, m_dialogs).parse(clipboardText, chooseTab);
    // Text without a window (the user was told) leaves the last analysis to look at.
    if (fresh.title.empty() && !m_q.title.empty())
        return false;
    m_q = std::move(fresh);
    frameStep();
    findConflicts(m_q, m_sortChoice);
    return !m_q.title.empty();
}

void WindowAnalysis::frameStep()
{
    FrameState& f = m_q.frame;
    if (m_q.isApplication) {
        f.name = m_q.title;
        f.lastUpdate = "Not Saved";
        f.button = "Frame";
        f.buttonEnabled = false;
        f.status = "Frame is being Analyzed";
        f.saveEnabled = true;
        return;
    }
    f.loaded = f.included = false;
    f.name = "None";
    f.lastUpdate.clear();
    f.button.clear();
    f.buttonEnabled = false;
    f.saveEnabled = false;
    if (!m_frames.lines())
        return; // no stored frame: excluded, without a word
    f.name = m_frames.name();
    f.lastUpdate = m_frames.lastUpdate();
    f.included = m_frames.include();
    if (!f.name.empty()) {
        f.loaded = true;
        f.button = f.included ? "Ex&clude" : "In&clude";
        f.buttonEnabled = true;
    }
    if (f.included) {
        f.status = "Frame is Included";
        mergeFrame();
    } else {
        f.status = "Frame is Excluded";
    }
}

void WindowAnalysis::mergeFrame()
{
    FrameState& f = m_q.frame;
    if (!m_q.isMdi) {
        f.button = "Not MDI";
        f.buttonEnabled = false;
        f.status = "Frame Excluded, Window is Not MDI";
        return;
    }
    if (m_q.childNoMerge) {
        f.button = "NoMerge";
        f.buttonEnabled = false;
        f.status = "Frame Excluded, Child Menu is NoMerge";
        return;
    }
    m_q.frameMode = true;
    m_q.code.push_back(std::string(255, '*'));
    m_q.code.push_back(std::string(255, '*'));
    const std::size_t first = m_q.code.size();
    for (const std::string& line : m_frames.lines().value_or(std::vector<std::string>{}))
        m_q.code.push_back(line);
    WindowParser(m_q, m_dialogs).menuScan(first, m_q.code.size());
    if (m_q.frameNoMerge) {
        f.button = "F-NoMerge";
        f.buttonEnabled = false;
        f.status = "Frame Excluded, Frame Menu is NoMerge";
    }
}

bool WindowAnalysis::saveFrame()
{
    if (!m_q.isApplication)
        return false;
    if (!m_frames.save(m_q.code, m_q.title))
        return false;
    m_q.frame.lastUpdate = m_frames.lastUpdate();
    m_q.frame.included = true;
    return true;
}

void WindowAnalysis::toggleInclude(const std::string& clipboardText, const TabChooser& chooseTab)
{
    m_frames.setInclude(!m_q.frame.included);
    (void)analyse(clipboardText, chooseTab);
}

int WindowAnalysis::sortAltKeysFor(int choice)
{
    return sortAltKeys(m_q, choice);
}

runtime::MessageRequest WindowAnalysis::suggestionsFor(std::size_t row) const
{
    return suggestions(m_q, row);
}

} // namespace kestrix::keyanalysis
