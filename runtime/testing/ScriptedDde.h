#pragma once

#include "runtime/DdeClient.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// A DDE server played by a test: whether it answers, what each execute does
// and returns, the items it serves; every call of its clients is logged.
namespace kestrix::runtime::testing {

class ScriptedDdeServer final
{
public:
    std::string service = "ClarionWin";
    bool running = true;
    // Called for every execute; without it an execute succeeds.
    std::function<DdeResult(const std::string&)> onExecute;
    std::map<std::string, std::string> items;
    // A call ("execute TEXT", "request ITEM") for which this is true gets no answer: it fails
    // as the client's time-out running out would make it fail.
    std::function<bool(const std::string&)> unanswered;
    // "connect SERVICE|TOPIC", "timeout N", "execute TEXT", "request ITEM", "disconnect".
    std::vector<std::string> log;

    DdeClientFactory factory();
};

} // namespace kestrix::runtime::testing
