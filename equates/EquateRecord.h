#pragma once

#include "runtime/RecordLayout.h"

#include <memory>

// A record of the equates file "Equates5.tps": one named constant of the language.
namespace kestrix::equates {

namespace Equ {
enum Field : int { Type, SearchName, Name, Equate, Long, Hex, File, LoadSeq, Notes };
enum Key : int { ByType, ByLong, BySeq, ByName };
} // namespace Equ

std::shared_ptr<const runtime::RecordLayout> equateLayout();

} // namespace kestrix::equates
