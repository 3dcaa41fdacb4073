#pragma once

#include "runtime/RecordLayout.h"

#include <cstddef>
#include <memory>

// The code library's records in the file "CODESTOR": snippets (prefix CDS) and,
// in the table "CodeType" of the same file, their types (prefix CDT).
namespace kestrix::utilities {

namespace Cds {
enum Field : int { Type, Name, Code };
enum Key : int { ByName };
constexpr std::size_t TypeLength = 10;
constexpr std::size_t NameLength = 40;
constexpr std::size_t CodeLength = 4000;
} // namespace Cds

namespace Cdt {
enum Field : int { Type };
enum Key : int { Key };
} // namespace Cdt

std::shared_ptr<const runtime::RecordLayout> snippetLayout();
std::shared_ptr<const runtime::RecordLayout> codeTypeLayout();

} // namespace kestrix::utilities
