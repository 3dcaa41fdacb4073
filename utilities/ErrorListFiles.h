#pragma once

#include "data/DataFileRegistry.h"
#include "utilities/ErrorList.h"

#include <memory>
#include <vector>

// Holds the Error Helper's use of "Errors5" and reads it. A file that is missing
// or left empty is built from ERRORS5.TXT; one that is damaged or of another
// layout is set aside and rebuilt when the user agrees.
namespace kestrix::utilities {

class ErrorListFiles final
{
public:
    ErrorListFiles(data::DataFileRegistry& registry, runtime::DialogService& dialogs);
    ~ErrorListFiles();
    ErrorListFiles(const ErrorListFiles&) = delete;
    ErrorListFiles& operator=(const ErrorListFiles&) = delete;

    // False when the list cannot be used; the user was told why.
    bool ok() const { return m_ok; }
    const std::vector<ErrorEntry>& errors() const { return m_errors; }
    const std::vector<ErrorCategory>& categories() const { return m_categories; }

private:
    bool setAsideOtherLayout(data::DataFileRegistry& registry);
    bool build(runtime::KeyedFile& errors, runtime::KeyedFile& categories);

    runtime::DialogService& m_dialogs;
    std::unique_ptr<data::DataFileUse> m_errorsUse;
    std::unique_ptr<data::DataFileUse> m_categoriesUse;
    std::vector<ErrorEntry> m_errors;
    std::vector<ErrorCategory> m_categories;
    bool m_ok = false;
};

} // namespace kestrix::utilities
