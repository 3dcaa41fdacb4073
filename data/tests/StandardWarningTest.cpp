#include "data/StandardWarning.h"
#include "data/FileErrorMessage.h"

#include <gtest/gtest.h>

using namespace kestrix::data;
using namespace kestrix::runtime;

TEST(StandardWarning, EveryCodeHasItsTitleIconAndButtons)
{
    struct Row
    {
        int code;
        const char* title;
        MessageIcon icon;
        unsigned buttons;
    };
    const unsigned yesNo = Button::Yes | Button::No;
    const Row rows[] = {
        {1, "Invalid File", MessageIcon::Exclamation, Button::Ok},
        {2, "Invalid Key", MessageIcon::Question, yesNo},
        {3, "Key Rebuild Error", MessageIcon::Exclamation, Button::Ok},
        {4, "File Creation Error", MessageIcon::Exclamation, Button::Ok},
        {5, "File Creation Error", MessageIcon::Exclamation, Button::Ok},
        {10, "Range Error", MessageIcon::Exclamation, Button::Ok},
        {14, "Record Insert Error", MessageIcon::Exclamation, Button::Ok},
        {15, "Update Operation Error", MessageIcon::Exclamation, Button::Ok},
        {17, "Delete Operation Error", MessageIcon::Exclamation, Button::Ok},
        {20, "Invalid Request", MessageIcon::Exclamation, Button::Ok},
        {28, "File Load Error", MessageIcon::Exclamation, Button::Ok},
        {29, "End of File Error", MessageIcon::Question, yesNo},
        {30, "File Access Error", MessageIcon::Exclamation, Button::Ok},
        {31, "Process PUT Error", MessageIcon::Exclamation, Button::Ok},
        {32, "Confirm Delete", MessageIcon::Question, Button::Ok | Button::Cancel},
        {34, "Transaction Framing Error", MessageIcon::Exclamation, Button::Ok},
        {38, "Record Was Not Updated", MessageIcon::Exclamation, Button::Ok},
        {39, "Damaged File", MessageIcon::Exclamation, Button::Ok},
        {40, "Damaged File", MessageIcon::Question, yesNo},
    };
    for (const Row& row : rows) {
        const MessageRequest m = standardWarning(row.code, {"F", "G"});
        EXPECT_EQ(m.caption, row.title) << row.code;
        EXPECT_EQ(m.icon, row.icon) << row.code;
        EXPECT_EQ(m.buttons, row.buttons) << row.code;
        EXPECT_FALSE(m.text.empty()) << row.code;
    }
    // A code the program never shows says so rather than showing an empty box.
    EXPECT_EQ(standardWarning(23).text, "Unknown standard message 23.");
}

TEST(StandardWarning, TextsFillInTheNamesAndTheErrorAsTextAndNumber)
{
    const FileError locked = FileError::of(ErrorCode::FileLocked);
    EXPECT_EQ(standardWarning(Warn::DiskError, {"config5.tps"}, locked).text,
              "File (config5.tps) could not be opened.  Error: File Is Already Locked (32).");
    EXPECT_EQ(standardWarning(Warn::CreateOpenError, {"MESSAGE"}, FileError::of(2)).text,
              "Error: (File Not Found (2)) opening created file:MESSAGE.  Press OK to end this application.");
    EXPECT_EQ(standardWarning(Warn::InvalidKey, {"Equates5.tps"}).text,
              "Equates5.tps key file is invalid.  Do you want to rebuild the key?");
    EXPECT_EQ(standardWarning(Warn::OutOfRange, {"Cfg:Indent", "0 and 30"}).text,
              "The value of Cfg:Indent must be between 0 and 30.");
    EXPECT_EQ(standardWarning(Warn::LogoutError, {"Update", "MSGINSER"}, locked).text,
              "Error: (File Is Already Locked (32)) attempting to frame the Update transaction on MSGINSER.  "
              "Update "
              "transaction cancelled.");
    EXPECT_EQ(
        standardWarning(Warn::UpdateDisabled).text,
        "This procedure was called to change a record, however changes are not allowed for this procedure.  "
        "Press OK to return to the calling procedure");
    EXPECT_EQ(standardWarning(Warn::FileZeroLength, {"Tips5"}).text,
              "Tips5 File Load Error.  The file you've requested contains no text.");
    const FileError disk = FileError::system("No space left on device", 28);
    EXPECT_EQ(standardWarning(Warn::InsertError, {}, disk).text,
              "An error was experienced during the update of record.  Error: No space left on device (28).");
}

TEST(StandardWarning, TwoFormMessagesChooseTheirSecondForm)
{
    const MessageRequest beginning = standardWarning(Warn::EndOfASCIIQueue, {"", "", true});
    EXPECT_EQ(beginning.caption, "Beginning of File Error");
    EXPECT_NE(beginning.text.find("start again from the end of the file?"), std::string::npos);
    const MessageRequest del =
        standardWarning(Warn::ProcessActionError, {"CODESTOR", "", true}, FileError::of(35));
    EXPECT_EQ(del.caption, "Process DELETE Error");
    EXPECT_EQ(del.text, "An error was experienced when deleting a record from the CODESTOR file.  Error: "
                        "Record Not Found (35).");
}

TEST(FileErrorMessage, SentenceThenErrorFileAndFileError)
{
    const MessageRequest m = fileErrorMessage("FILE OPEN ERROR", "Could not open the equates file.",
                                              "Equates5.tps", FileError::system("Permission denied", 13));
    EXPECT_EQ(m.caption, "FILE OPEN ERROR");
    EXPECT_EQ(
        m.text,
        "Could not open the equates file.||Error: Permission denied (13)|File: Equates5.tps|File Error: "
        "Permission denied");
    const MessageRequest notFound = fileErrorMessage(
        "FILE ERROR", "x", "a.txt", FileError::of(ErrorCode::FileNotFound), Button::Ok | Button::Abort);
    EXPECT_EQ(notFound.text, "x||Error: File Not Found (2)|File: a.txt|File Error: File Not Found");
    EXPECT_EQ(notFound.buttons, Button::Ok | Button::Abort);
}
