#pragma once

#include <string>

// Error state of a keyed-file operation, with the error codes and texts that
// Clarion programs know (ERRORCODE()/ERROR() and FILEERRORCODE()/FILEERROR()).
namespace kestrix::runtime {

namespace ErrorCode {
constexpr int NoError = 0;
constexpr int FileNotFound = 2;
constexpr int PathNotFound = 3;
constexpr int AccessDenied = 5;
constexpr int FileLocked = 32;
constexpr int RecordNotAvailable = 33;
constexpr int RecordNotFound = 35;
constexpr int InvalidDataFile = 36;
constexpr int FileNotOpen = 37;
constexpr int DuplicateKey = 40;
constexpr int BadKeyFile = 46;
constexpr int InvalidRecordDeclaration = 47;
constexpr int TransactionFailed = 48;
constexpr int FileAlreadyOpen = 52;
constexpr int TransactionActive = 56;
constexpr int RecordChanged = 89;
constexpr int FileSystemError = 90;
constexpr int NoSequence = 99; // NEXT or PREVIOUS that no SET started
} // namespace ErrorCode

// The system's own error numbers (Windows numbering) that the keyed-file layer reports.
namespace SystemError {
constexpr int DiskFull = 112;
constexpr int FileNameTooLong = 206;
constexpr int DirectoryNotSupported = 336;
constexpr int IoDevice = 1117;
constexpr int FileCorrupt = 1392;
} // namespace SystemError

struct [[nodiscard]] FileError final
{
    int code = ErrorCode::NoError;
    std::string systemText; // the file system's own text, for code 90 and a damaged file
    int systemCode = 0;

    static FileError none() { return {}; }
    static FileError of(int code) { return FileError{code, {}, 0}; }
    static FileError system(std::string text, int number)
    {
        return {ErrorCode::FileSystemError, std::move(text), number};
    }
    // A system error by its number, with the system's text for it.
    static FileError system(int number);
    // The file is not a readable data file: cut short, overwritten, or not one at all.
    static FileError damaged();

    bool ok() const { return code == ErrorCode::NoError; }
    explicit operator bool() const { return !ok(); } // true when there is an error
    bool isDamaged() const { return code == ErrorCode::InvalidDataFile; }
    // ERROR(): the runtime's text for the code.
    std::string text() const;
    // The form the standard messages use: "text (code)"; for 90 the system's text and number.
    std::string describe() const;
    // FILEERROR(): the file system's text, else the runtime's.
    std::string fileErrorText() const;
};

std::string errorText(int code);
// The system's text for one of the SystemError numbers.
std::string systemErrorText(int number);

} // namespace kestrix::runtime
