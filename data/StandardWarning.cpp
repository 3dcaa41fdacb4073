#include "data/StandardWarning.h"

namespace kestrix::data {

using runtime::MessageIcon;
using runtime::MessageRequest;
namespace Button = runtime::Button;

namespace {

MessageRequest exclamation(std::string caption, std::string text)
{
    return {std::move(text), std::move(caption), MessageIcon::Exclamation, Button::Ok, Button::Ok};
}

MessageRequest question(std::string caption, std::string text, unsigned buttons, unsigned defaultButton)
{
    return {std::move(text), std::move(caption), MessageIcon::Question, buttons, defaultButton};
}

std::string requestText(const char* verb, const char* plural)
{
    return std::string("This procedure was called to ") + verb + " a record, however " + plural +
           " are not allowed for this procedure.  Press OK to return to the calling procedure";
}

} // namespace

MessageRequest standardWarning(int code, const WarningTexts& texts, const runtime::FileError& fileError)
{
    const std::string& t1 = texts.text1;
    const std::string& t2 = texts.text2;
    const std::string error = fileError.describe();
    const std::string endApp = ".  Press OK to end this application.";
    switch (code) {
    case Warn::InvalidFile:
        return exclamation("Invalid File", "Error: (" + error + ") accessing " + t1 + endApp);
    case Warn::InvalidKey:
        return question("Invalid Key", t1 + " key file is invalid.  Do you want to rebuild the key?",
                        Button::Yes | Button::No, Button::Yes);
    case Warn::RebuildError:
        return exclamation("Key Rebuild Error", "Error: (" + error + ") repairing key for " + t1 + endApp);
    case Warn::CreateError:
        return exclamation("File Creation Error", "Error: (" + error + ") creating " + t1 + endApp);
    case Warn::CreateOpenError:
        return exclamation("File Creation Error",
                           "Error: (" + error + ") opening created file:" + t1 + endApp);
    case Warn::OutOfRange:
        return exclamation("Range Error", "The value of " + t1 + " must be between " + t2 + ".");
    case Warn::InsertError:
        return exclamation("Record Insert Error",
                           "An error was experienced during the update of record.  Error: " + error + ".");
    case Warn::RIUpdateError:
        return exclamation(
            "Update Operation Error",
            "An error (" + error +
                ") was experienced when attempting to update a record from the file.  Probable Cause: " + t1 +
                ".");
    case Warn::RIDeleteError:
        return exclamation("Delete Operation Error",
                           "An error (" + error +
                               ") was experienced when attempting to delete a record from the file " + t1 +
                               ".");
    case Warn::UpdateDisabled:
        return exclamation("Invalid Request", requestText("change", "changes"));
    case Warn::FileLoadError:
        return exclamation("File Load Error", t1 + " File Load Error.  Error: " + error + ".");
    case Warn::FileZeroLength:
        return exclamation("File Load Error",
                           t1 + " File Load Error.  The file you've requested contains no text.");
    case Warn::EndOfASCIIQueue:
        if (texts.alternate)
            return question("Beginning of File Error",
                            "The beginning of the viewed file was encountered.  Do you want to start again "
                            "from the end of the file?",
                            Button::Yes | Button::No, Button::Yes);
        return question(
            "End of File Error",
            "The end of the viewed file was encountered.  Do you want to start again from the beginning?",
            Button::Yes | Button::No, Button::Yes);
    case Warn::DiskError:
        return exclamation("File Access Error",
                           "File (" + t1 + ") could not be opened.  Error: " + error + ".");
    case Warn::ProcessActionError:
        if (texts.alternate)
            return exclamation("Process DELETE Error",
                               "An error was experienced when deleting a record from the " + t1 +
                                   " file.  Error: " + error + ".");
        return exclamation("Process PUT Error", "An error was experienced when making changes to the " + t1 +
                                                    " file.  Error: " + error + ".");
    case Warn::StandardDelete:
        return question(
            "Confirm Delete",
            "You've selected to delete the highlighted record.  Press OK to confirm deletion of this record.",
            Button::Ok | Button::Cancel, Button::Ok);
    case Warn::LogoutError:
        return exclamation("Transaction Framing Error", "Error: (" + error + ") attempting to frame the " +
                                                            t1 + " transaction on " + t2 + ".  " + t1 +
                                                            " transaction cancelled.");
    case Warn::RIFramingError:
        return exclamation("Record Was Not Updated",
                           "This record was changed by another station. Those changes will now be displayed. "
                           "Use the Ditto Button or Ctrl+' to recall your changes.");
    case Warn::DamagedFile:
        return exclamation("Damaged File",
                           "The file " + t1 + " is damaged and cannot be read.  Error: " + error + ".");
    case Warn::DamagedFileRebuild:
        return question(
            "Damaged File",
            "The file " + t1 +
                " is damaged and cannot be read.  Do you want to set it aside and rebuild it from " + t2 +
                "?",
            Button::Yes | Button::No, Button::No); // set aside only on an explicit yes
    default:
        return exclamation("Error", "Unknown standard message " + std::to_string(code) + ".");
    }
}

unsigned showStandardWarning(runtime::DialogService& dialogs, int code, const WarningTexts& texts,
                             const runtime::FileError& error)
{
    return dialogs.message(standardWarning(code, texts, error));
}

} // namespace kestrix::data
