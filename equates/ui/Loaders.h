#pragma once

#include "config/Session.h"
#include "equates/EquateLoader.h"
#include "equates/PopupLoader.h"

class QWidget;

// The two loaders behind their progress windows, as the frame runs them.
namespace kestrix::equates {

EquateLoadResult loadEquatesWithProgress(config::Session& session, QWidget* parent);
PopupLoadResult loadPopupsWithProgress(config::Session& session, QWidget* parent);
// For windows that show equates, as they open: an incomplete equates file is said so,
// and the load offered. True when the equates are complete afterwards.
bool loadEquatesIfUnfinished(config::Session& session, QWidget* parent);

} // namespace kestrix::equates
