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
constexpr int FileNotOpen = 37;
constexpr int DuplicateKey = 40;
constexpr int BadKeyFile = 46;
constexpr int InvalidRecordDeclaration = 47;
constexpr int TransactionFailed = 48;
constexpr int FileAlreadyOpen = 52;
constexpr int TransactionActive = 56;
constexpr int RecordChanged = 89;
constexpr int FileSystemError = 90;
} // namespace ErrorCode

struct FileError final
{
    int code = ErrorCode::NoError;
    std::string systemText; // the file system's own text, for code 90
    int systemCode = 0;

    static FileError none() { return {}; }
    static FileError of(int code) { return FileError{code, {}, 0}; }
    static FileError system(std::string text, int number) { return {ErrorCode::FileSystemError, std::move(text), number}; }

    bool ok() const { return code == ErrorCode::NoError; }
    explicit operator bool() const { return !ok(); } // true when there is an error
    // ERROR(): the runtime's text for the code.
    std::string text() const;
    // The form the standard messages use: "text (code)"; for 90 the system's text and number.
    std::string describe() const;
    // FILEERROR(): the file system's text, blank when the error is not one of the file system.
    std::string fileErrorText() const;
};

std::string errorText(int code);

} // namespace kestrix::runtime
