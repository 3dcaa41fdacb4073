#pragma once

#include <QIcon>

#include <string>

namespace kestrix::runtime {

// The program's icon by the name the windows use ("TBMSG.ICO", "~CLIPChg.ICO"), in any case.
// Its disabled form is drawn the same way for every icon (see withDisabledLook).
QIcon appIcon(const std::string& name);
// `drawn` with the program's one disabled look: its shades pressed into a narrow band of grey.
QIcon withDisabledLook(const QIcon& drawn);

} // namespace kestrix::runtime
