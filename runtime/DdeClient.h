#pragma once

#include <functional>
#include <memory>
#include <string>

// A DDE client conversation with another program (the running IDE): connect to a
// service and topic, send execute commands, request items, disconnect. Where the
// system has no DDE the connection simply fails, so callers report the other
// program as not running and need not know which implementation they hold.
namespace kestrix::runtime {

struct DdeResult final
{
    bool ok = true;
    int errorNumber = 0;
    std::string errorText;

    static DdeResult success() { return {}; }
    static DdeResult failure(int number, std::string text) { return {false, number, std::move(text)}; }
};

struct DdeReply final
{
    DdeResult result;
    std::string data; // the item's text, without its terminating zero
};

class DdeClient
{
public:
    // The time-out a new conversation starts with, in hundredths of a second.
    static constexpr int DefaultTimeout = 1000;

    virtual ~DdeClient() = default;
    // False when no program answers for the service and topic (an empty topic: any).
    virtual bool connect(const std::string& service, const std::string& topic) = 0;
    virtual bool connected() const = 0;
    // How long execute and request wait for the other program, in hundredths of a second.
    virtual void setTimeout(int hundredths) = 0;
    virtual DdeResult execute(const std::string& command) = 0;
    virtual DdeReply request(const std::string& item) = 0;
    // Ends the conversation; safe to call when none is open.
    virtual void disconnect() = 0;
};

using DdeClientFactory = std::function<std::unique_ptr<DdeClient>()>;

// The system's DDE client: DDEML on Windows, elsewhere one whose connection always fails.
std::unique_ptr<DdeClient> systemDdeClient();

} // namespace kestrix::runtime
