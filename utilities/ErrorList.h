#pragma once

#include "runtime/KeyedFile.h"

#include <memory>
#include <string>
#include <vector>

// The Clarion run-time error list: the data file "Errors5" with its error table
// (prefix ERR) and category table "Errors5\!ErrorCats" (prefix ERCAT), built from
// the delivered text ERRORS5.TXT.
namespace kestrix::utilities {

namespace Err {
enum Field : int { Code, Description, Equate, Notes };
enum Key : int { ByCode };
constexpr int DescriptionSize = 33;
constexpr int EquateSize = 20;
constexpr int NotesSize = 300;
} // namespace Err

namespace ErCat {
enum Field : int { Name, Level, LowerFlag, Count, Errors };
constexpr int NameSize = 16;
constexpr int MaxErrors = 50;
} // namespace ErCat

constexpr const char* ErrorSourceName = "ERRORS5.TXT";

std::shared_ptr<const runtime::RecordLayout> errorLayout();
std::shared_ptr<const runtime::RecordLayout> errorCategoryLayout();

struct ErrorEntry final
{
    int code = 0;
    std::string equate;
    std::string description;
    std::string notes;
};

struct ErrorCategory final
{
    std::string name;
    int level = 1;
    bool contracted = false;
    std::vector<int> errors;
};

struct ErrorSource final
{
    std::vector<ErrorEntry> errors;
    std::vector<ErrorCategory> categories;
    // "line 12: ..." for each line that could not be taken; the rest is read.
    std::vector<std::string> problems;
};

// Lines "ERROR=code|equate|description|note" and "CATEGORY=name|level|contracted|code,code,...";
// a line starting with ';' or blank is a comment.
ErrorSource parseErrorSource(const std::vector<std::string>& lines);

// Empties both tables and fills them from the source; on a failed write the error.
runtime::FileError buildErrorFile(runtime::KeyedFile& errors, runtime::KeyedFile& categories,
                                  const ErrorSource& source);

// The records as the Error Helper reads them: categories in file order, errors by code.
// A read that fails part-way returns its error with what was read before it.
runtime::FileError readCategories(runtime::KeyedFile& categories, std::vector<ErrorCategory>& out);
runtime::FileError readErrors(runtime::KeyedFile& errors, std::vector<ErrorEntry>& out);

} // namespace kestrix::utilities
