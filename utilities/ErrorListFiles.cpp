#include "utilities/ErrorListFiles.h"

#include "data/DataFileNames.h"
#include "data/FileErrorMessage.h"
#include "data/StandardWarning.h"
#include "runtime/TextLineFile.h"
#include "runtime/WinPath.h"

#include <filesystem>

namespace kestrix::utilities {

namespace {

constexpr std::size_t ProblemsShown = 5;

runtime::FileError probe(const char* name, std::shared_ptr<const runtime::RecordLayout> layout)
{
    runtime::KeyedFile file(name, std::move(layout));
    const runtime::FileError error = file.open(std::chrono::milliseconds(0));
    file.close();
    return error;
}

} // namespace

ErrorListFiles::ErrorListFiles(data::DataFileRegistry& registry, runtime::DialogService& dialogs)
    : m_dialogs(dialogs)
{
    if (!setAsideOtherLayout(registry))
        return;
    m_errorsUse = std::make_unique<data::DataFileUse>(registry, data::FileName::Errors, errorLayout());
    if (!*m_errorsUse)
        return;
    m_categoriesUse =
        std::make_unique<data::DataFileUse>(registry, data::FileName::ErrorCategories, errorCategoryLayout());
    if (!*m_categoriesUse)
        return;
    runtime::KeyedFile& errors = *m_errorsUse->file();
    runtime::KeyedFile& categories = *m_categoriesUse->file();
    if ((errors.records() == 0 || categories.records() == 0) && !build(errors, categories))
        return;
    for (const runtime::FileError& e :
         {readErrors(errors, m_errors), readCategories(categories, m_categories)}) {
        if (e) {
            data::showStandardWarning(m_dialogs, data::Warn::FileLoadError, {errors.name(), {}}, e);
            return;
        }
    }
    m_ok = true;
}

ErrorListFiles::~ErrorListFiles() = default;

// A file of another layout: the shared question, and on yes it is moved aside whole
// (both tables) so the open creates it anew. Only while no window holds it.
bool ErrorListFiles::setAsideOtherLayout(data::DataFileRegistry& registry)
{
    if (registry.useCount(data::FileName::Errors) > 0 ||
        registry.useCount(data::FileName::ErrorCategories) > 0)
        return true;
    runtime::FileError error = probe(data::FileName::Errors, errorLayout());
    if (error.code != runtime::ErrorCode::InvalidRecordDeclaration)
        error = probe(data::FileName::ErrorCategories, errorCategoryLayout());
    if (error.code != runtime::ErrorCode::InvalidRecordDeclaration)
        return true;
    const std::string name = data::FileName::Errors;
    if (data::showStandardWarning(m_dialogs, data::Warn::DamagedFileRebuild, {name, ErrorSourceName},
                                  error) != runtime::Button::Yes) {
        data::showStandardWarning(m_dialogs, data::Warn::DiskError, {name, {}}, error);
        return false;
    }
    const std::filesystem::path path = runtime::KeyedFile(name, errorLayout()).path();
    std::error_code ec;
    std::filesystem::rename(path, path.string() + ".damaged", ec);
    if (ec) {
        data::showStandardWarning(m_dialogs, data::Warn::DiskError, {name, {}},
                                  runtime::FileError::of(runtime::ErrorCode::AccessDenied));
        return false;
    }
    std::filesystem::rename(path.string() + "-wal", path.string() + ".damaged-wal", ec);
    std::filesystem::remove(path.string() + "-shm", ec);
    return true;
}

bool ErrorListFiles::build(runtime::KeyedFile& errors, runtime::KeyedFile& categories)
{
    const runtime::TextLines text = runtime::readTextLines(runtime::resolveWinPath(ErrorSourceName));
    if (text.error) {
        m_dialogs.message(data::fileErrorMessage(
            "FILE OPEN ERROR", std::string("An error occured while Opening the ") + ErrorSourceName + " File",
            ErrorSourceName, text.error));
        return false;
    }
    ErrorSource source = parseErrorSource(text.lines);
    for (const std::size_t line : text.cutLines)
        source.problems.push_back("line " + std::to_string(line) + ": longer than " +
                                  std::to_string(runtime::TextLineLength) + " characters");
    if (const runtime::FileError e = buildErrorFile(errors, categories, source)) {
        data::showStandardWarning(m_dialogs, data::Warn::FileLoadError, {errors.name(), {}}, e);
        return false;
    }
    if (!source.problems.empty()) {
        std::string shown;
        for (std::size_t i = 0; i < source.problems.size() && i < ProblemsShown; ++i)
            shown += "|" + source.problems[i];
        if (source.problems.size() > ProblemsShown)
            shown += "|and " + std::to_string(source.problems.size() - ProblemsShown) + " more";
        const std::size_t n = source.problems.size();
        m_dialogs.message({std::string(ErrorSourceName) + " was read in part: " + std::to_string(n) +
                               (n == 1 ? " line was" : " lines were") + " left out." + shown,
                           "FILE LOAD ERROR",
                           runtime::MessageIcon::Exclamation,
                           runtime::Button::Ok,
                           0,
                           {}});
    }
    return true;
}

} // namespace kestrix::utilities
