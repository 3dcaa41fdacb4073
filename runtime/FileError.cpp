#include "runtime/FileError.h"
#include "runtime/SystemErrorMapping.h"

#include <cerrno>
#include <system_error>

namespace kestrix::runtime {

std::string errorText(int code)
{
    switch (code) {
    case ErrorCode::NoError:
        return "";
    case ErrorCode::FileNotFound:
        return "File Not Found";
    case ErrorCode::PathNotFound:
        return "Path Not Found";
    case ErrorCode::AccessDenied:
        return "Access Denied";
    case ErrorCode::FileLocked:
        return "File Is Already Locked";
    case ErrorCode::RecordNotAvailable:
        return "Record Not Available";
    case ErrorCode::RecordNotFound:
        return "Record Not Found";
    case ErrorCode::InvalidDataFile:
        return "Invalid Data File";
    case ErrorCode::FileNotOpen:
        return "File Not Open";
    case ErrorCode::DuplicateKey:
        return "Creates Duplicate Key";
    case ErrorCode::BadKeyFile:
        return "Key File Must Be Rebuilt";
    case ErrorCode::InvalidRecordDeclaration:
        return "Invalid Record Declaration";
    case ErrorCode::TransactionFailed:
        return "Unable to Log Transaction";
    case ErrorCode::FileAlreadyOpen:
        return "File Already Open";
    case ErrorCode::TransactionActive:
        return "LOGOUT Already Active";
    case ErrorCode::RecordChanged:
        return "Record Changed By Another Station";
    case ErrorCode::FileSystemError:
        return "File System Error";
    case ErrorCode::NoSequence:
        return "No SET Before NEXT or PREVIOUS";
    default:
        return "Unknown Error";
    }
}

std::string systemErrorText(int number)
{
    switch (number) {
    case SystemError::DiskFull:
        return "There is not enough space on the disk.";
    case SystemError::FileNameTooLong:
        return "The filename or extension is too long.";
    case SystemError::DirectoryNotSupported:
        return "An operation is not supported on a directory.";
    case SystemError::IoDevice:
        return "The request could not be performed because of an I/O device error.";
    case SystemError::FileCorrupt:
        return "The file or directory is corrupted and unreadable.";
    default:
        return "Unknown system error.";
    }
}

FileError FileError::system(int number)
{
    return system(systemErrorText(number), number);
}

FileError fileErrorFromErrno(int err)
{
    switch (err) {
    case EACCES:
    case EPERM:
        return FileError::of(ErrorCode::AccessDenied);
    case ENOENT:
        return FileError::of(ErrorCode::PathNotFound);
    case ENOSPC:
        return FileError::system(SystemError::DiskFull);
    case ENAMETOOLONG:
        return FileError::system(SystemError::FileNameTooLong);
    default:
        return FileError::system(std::generic_category().message(err), err);
    }
}

FileError fileErrorFromSystemCategory(int number)
{
#ifdef _WIN32
    return FileError::system(std::system_category().message(number), number);
#else
    return fileErrorFromErrno(number);
#endif
}

FileError FileError::damaged()
{
    return {ErrorCode::InvalidDataFile, systemErrorText(SystemError::FileCorrupt), SystemError::FileCorrupt};
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
    return systemText.empty() ? text() : systemText;
}

} // namespace kestrix::runtime
