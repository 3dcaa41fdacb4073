#pragma once

#include "message/MessageRecord.h"

#include <initializer_list>
#include <string>

// A message record for tests: the template's values with the given text and buttons.
inline kestrix::runtime::Record testMessage(const std::string& text,
                                            std::initializer_list<const char*> buttons = {"OK"},
                                            const char* codeType = "None")
{
    using namespace kestrix::message;
    kestrix::runtime::Record r = templateMessage();
    r.setText(Mes::Description, "");
    r.setText(Mes::Text, text);
    r.setNumber(Mes::Sound, 0);
    r.setText(Mes::CodeType, codeType);
    r.setNumber(Mes::Button, 0, 1);
    for (const char* b : buttons)
        r.setNumber(Mes::Button, 1, buttonIndex(b));
    return r;
}
