#pragma once

#include "runtime/RecordLayout.h"

#include <cstddef>
#include <memory>

// A record of the popup table "Config\!PopData": a popup type's header (SEQ 0)
// or one of its entries.
namespace kestrix::equates {

namespace Pop {
enum Field : int { Type, Seq, Item, Data };
enum Key : int { Key };
} // namespace Pop

constexpr std::size_t PopTypeLength = 60;
constexpr std::size_t PopDataLength = 500;
constexpr std::size_t PopItemColumns = 29; // the menu text's columns in a popup text file

std::shared_ptr<const runtime::RecordLayout> popupLayout();

} // namespace kestrix::equates
