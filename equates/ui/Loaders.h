#pragma once

#include "config/Session.h"
#include "equates/EquateLoader.h"

class QWidget;

// The two loaders behind their progress windows, as the frame runs them.
namespace kestrix::equates {

struct PopupLoadResult final
{
    bool completed = false; // false when the user cancelled
    std::int64_t records = 0;
};

EquateLoadResult loadEquatesWithProgress(config::Session& session, QWidget* parent);
PopupLoadResult loadPopupsWithProgress(config::Session& session, QWidget* parent);

} // namespace kestrix::equates
