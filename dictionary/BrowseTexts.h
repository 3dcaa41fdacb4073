#pragma once

#include "runtime/DialogService.h"
#include "runtime/Record.h"
#include "runtime/WindowPositionStore.h"

#include <string>
#include <vector>

// The texts the dictionary browse windows show, built from the store's records.
namespace kestrix::dictionary {

// The procedure of "Browse Dic File": its section in the position and list-layout files.
constexpr const char* FilesBrowseProcedure = "DickFilesBrowse";

// Store + " Files (" + import date (mm/dd/yy) + "-" + time (hh:mm) + ") " + import name.
std::string filesBrowseTitle(const std::string& store, const runtime::Record& info);
// "Update Dictionary from " + the lower-cased import name.
std::string updateTip(const runtime::Record& info);
// The question asked when the store was made by another version; Yes re-imports.
runtime::MessageRequest olderVersionQuestion(const std::string& store, const runtime::Record& info);
// The message shown when a related or alias file is not in the store.
std::string missingFileText(const std::string& error);
// The message shown when DicFiles or DicTree of a store cannot be opened.
runtime::MessageRequest tableOpenMessage(const std::string& error, const std::string& table);

// The column widths of the "Browse Dic File" list in the list-layout file ("ListColumnWidths"), beside
// its group widths ("ListGroupWidths", empty: the list has no column groups). Widths of another layout
// version, or ones that are not numbers, come back as 0 (the caller's default).
std::vector<int> restoreFilesListWidths(const runtime::ListLayoutStore& layouts, std::size_t columns);
void saveFilesListWidths(const runtime::ListLayoutStore& layouts, const std::vector<int>& widths);

} // namespace kestrix::dictionary
