#pragma once

#include <QIcon>

#include <string>

namespace kestrix::runtime {

// The program's icon by the name the windows use ("TBMSG.ICO", "~CLIPChg.ICO"), in any case.
// Its disabled form is the program's one disabled look: its shades pressed into a narrow band of grey.
QIcon appIcon(const std::string& name);

} // namespace kestrix::runtime
