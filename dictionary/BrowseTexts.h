#pragma once

#include "runtime/DialogService.h"
#include "runtime/Record.h"

#include <string>

// The texts the dictionary browse windows show, built from the store's records.
namespace kestrix::dictionary {

// Store + " Files (" + import date (mm/dd/yy) + "-" + time (hh:mm) + ") " + import name.
std::string filesBrowseTitle(const std::string& store, const runtime::Record& info);
// "Update Dictionary from " + the lower-cased import name.
std::string updateTip(const runtime::Record& info);
// The question asked when the store was made by another version; Yes re-imports.
runtime::MessageRequest olderVersionQuestion(const std::string& store, const runtime::Record& info);
// The message shown when a related or alias file is not in the store.
std::string missingFileText(const std::string& error);

} // namespace kestrix::dictionary
