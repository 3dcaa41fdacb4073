#include "runtime/FileError.h"

namespace kestrix::runtime {

std::string errorText(int code)
{
    switch (code) {
    case ErrorCode::NoError: return "";
    case ErrorCode::FileNotFound: return "File Not Found";
    case ErrorCode::PathNotFound: return "Path Not Found";
    case ErrorCode::AccessDenied: return "Access Denied";
    case ErrorCode::FileLocked: return "File Is Already Locked";
    case ErrorCode::RecordNotAvailable: return "Record Not Available";
    case ErrorCode::RecordNotFound: return "Record Not Found";
    case ErrorCode::FileNotOpen: return "File Not Open";
    case ErrorCode::DuplicateKey: return "Creates Duplicate Key";
    case ErrorCode::BadKeyFile: return "Key File Must Be Rebuilt";
    case ErrorCode::InvalidRecordDeclaration: return "Invalid Record Declaration";
    case ErrorCode::TransactionFailed: return "Unable to Log Transaction";
    case ErrorCode::FileAlreadyOpen: return "File Already Open";
    case ErrorCode::TransactionActive: return "LOGOUT Already Active";
    case ErrorCode::RecordChanged: return "Record Changed By Another Station";
    case ErrorCode::FileSystemError: return "File System Error";
    default: return "Unknown Error";
    }
}

std::string FileError::text() const
{
    return errorText(code);
}

std::string FileError::describe() const
{
    if (code == ErrorCode::FileSystemError)
        return systemText + " (" + std::to_string(systemCode) + ")";
    return text() + " (" + std::to_string(code) + ")";
}

std::string FileError::fileErrorText() const
{
    return code == ErrorCode::FileSystemError ? systemText : text();
}

} // namespace kestrix::runtime
