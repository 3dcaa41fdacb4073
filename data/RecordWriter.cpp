#include "data/RecordWriter.h"

#include "data/StandardWarning.h"

namespace kestrix::data {

bool writeRecord(runtime::KeyedFile& file, runtime::Record& record, WriteOperation operation,
                 runtime::DialogService& dialogs, const WriteOptions& options)
{
    const char* operationName = operation == WriteOperation::Delete ? "Delete" : "Update";
    if (const runtime::FileError error = file.beginTransaction(options.transactionWait)) {
        showStandardWarning(dialogs, Warn::LogoutError, {operationName, file.name()}, error);
        return false;
    }
    const std::int64_t position = record.position();
    const std::int64_t version = record.version();
    runtime::FileError error;
    switch (operation) {
    case WriteOperation::Add:
        error = file.add(record);
        break;
    case WriteOperation::AddFirst:
        error =
            file.records() > 0 ? runtime::FileError::of(runtime::ErrorCode::RecordChanged) : file.add(record);
        break;
    case WriteOperation::Update:
        error = file.put(record);
        break;
    case WriteOperation::Delete:
        error = file.remove(record);
        break;
    }
    if (error.ok())
        error = file.commit();
    else
        (void)file.rollback(); // the failed write is what the user must hear of
    if (error.ok())
        return true;
    // Nothing was written: the record keeps the place and version it had in the file, so the next
    // save is not taken for a change by another program.
    record.setPosition(position, version);

    if (operation == WriteOperation::AddFirst && error.code == runtime::ErrorCode::RecordChanged) {
        showStandardWarning(dialogs, Warn::RIFramingError, {}, error);
        file.setOrder(runtime::KeyedFile::FileOrder);
        (void)file.next(record); // shows the other program's record; a failed read keeps ours
        return false;
    }
    if (operation != WriteOperation::Update && operation != WriteOperation::Delete) {
        showStandardWarning(dialogs, Warn::InsertError, {}, error);
        return false;
    }
    if (error.code == runtime::ErrorCode::RecordChanged) {
        if (options.changedAsUpdateError)
            showStandardWarning(dialogs, Warn::RIUpdateError, {"Record Changed by Another Station"}, error);
        else
            showStandardWarning(dialogs, Warn::RIFramingError, {}, error);
        (void)file.fetch(position, record); // shows the other program's record; a failed read keeps ours
        return false;
    }
    if (operation == WriteOperation::Update && !options.updateFailureText.empty()) {
        dialogs.message(
            {options.updateFailureText + "|Error: " + std::to_string(error.code) + " - " + error.text(),
             "FILE ERROR", runtime::MessageIcon::Exclamation, runtime::Button::Ok, runtime::Button::Ok});
        return false;
    }
    if (operation == WriteOperation::Delete)
        showStandardWarning(dialogs, Warn::RIDeleteError, {file.name()}, error);
    else
        showStandardWarning(dialogs, Warn::RIUpdateError, {error.text()}, error);
    return false;
}

} // namespace kestrix::data
