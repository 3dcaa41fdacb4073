#pragma once

#include "keyanalysis/AnalysisQueues.h"
#include "runtime/DialogService.h"

#include <string>

// Finds the conflicts among the Alt letters, hot keys and menu letters of an
// analysis, colours and counts them, and suggests free letters for a control.
namespace kestrix::keyanalysis {

void findConflicts(AnalysisQueues& q, int sortChoice);
// Sorts the Alt-key rows: 1 Alt Key, 2 Prompt, 3 Type+Prompt, 4 Type+Order, 5 Tab Order. Returns the choice
// in force.
int sortAltKeys(AnalysisQueues& q, int choice);
// "&Alt Keys  (2 Conflicts)" and its two fellows.
// "Window Key Analysis (title)", the analysed window's title as it shows on the screen.
std::string windowCaption(const AnalysisQueues& q);
std::string altCaption(const AnalysisQueues& q);
std::string hotCaption(const AnalysisQueues& q);
std::string menuCaption(const AnalysisQueues& q);
std::string usedLetters(const AnalysisQueues& q);
// The "ALT KEY SUGGESTIONS" box for Alt-key row `row`.
runtime::MessageRequest suggestions(const AnalysisQueues& q, std::size_t row);

} // namespace kestrix::keyanalysis
