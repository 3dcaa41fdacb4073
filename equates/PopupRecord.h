#pragma once

#include "runtime/RecordLayout.h"

#include <memory>

// A record of the popup table "Config\!PopData": a popup type's header (SEQ 0)
// or one of its entries.
namespace kestrix::equates {

namespace Pop {
enum Field : int { Type, Seq, Item, Data };
enum Key : int { Key };
} // namespace Pop

std::shared_ptr<const runtime::RecordLayout> popupLayout();

} // namespace kestrix::equates
