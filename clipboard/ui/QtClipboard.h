#pragma once

#include "runtime/SystemClipboard.h"

namespace kestrix::clipboard {

// The system clipboard as plain text, converted from Windows-1252 here and nowhere else.
class QtClipboard final : public runtime::SystemClipboard
{
public:
    void setText(const std::string& text) override;
    std::string text() const override;
};

} // namespace kestrix::clipboard
