#pragma once

#include "runtime/DialogService.h"
#include "runtime/KeyedFile.h"

#include <chrono>
#include <string>

// How the forms write one record: inside a transaction on its file, with the
// standard messages when it fails and a re-read when another program changed
// the record since this one read it.
namespace kestrix::data {

enum class WriteOperation {
    Add,
    // Adds only into a file that holds no record yet (a file of one record, such as the
    // configuration); when another program added one first, that is a change by another
    // program: reported so, and `record` then holds that program's record.
    AddFirst,
    Update,
    Delete,
};

struct WriteOptions final
{
    // Report a record changed elsewhere with "Update Operation Error" (15) instead of 38.
    bool changedAsUpdateError = false;
    std::chrono::milliseconds transactionWait{2000};
    // When set, an update that fails for another reason than a change elsewhere shows this
    // sentence, then "|Error: " and the error, in a "FILE ERROR" box instead of the standard one.
    std::string updateFailureText;
};

// True when written; on false the user has been told why, and after a change by
// another program `record` holds that program's values.
bool writeRecord(runtime::KeyedFile& file, runtime::Record& record, WriteOperation operation,
                 runtime::DialogService& dialogs, const WriteOptions& options = {});

} // namespace kestrix::data
