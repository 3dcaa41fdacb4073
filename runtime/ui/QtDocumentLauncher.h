#pragma once

#include "runtime/DocumentLauncher.h"

// Documents open through the desktop's "open" action; programs start detached.
namespace kestrix::runtime {

class QtDocumentLauncher final : public DocumentLauncher
{
public:
    bool openDocument(const std::string& file) override;
    bool startProgram(const std::string& program, const std::vector<std::string>& arguments) override;
};

} // namespace kestrix::runtime
