#pragma once

#include "equates/EquateHelper.h"

#include <QCursor>

namespace kestrix::equates {

// The Qt cursor of the same shape as a stock cursor of the language.
QCursor lookupCursor(StockCursor cursor);

} // namespace kestrix::equates
