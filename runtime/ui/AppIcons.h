#pragma once

#include <QIcon>

#include <string>

namespace kestrix::runtime {

// The program's icon by the name the windows use ("TBMSG.ICO", "~CLIPChg.ICO"), in any case.
QIcon appIcon(const std::string& name);

} // namespace kestrix::runtime
