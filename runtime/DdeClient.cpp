#include "runtime/DdeClient.h"

#ifndef _WIN32

namespace kestrix::runtime {
namespace {

// Without DDE no program can be reached; a conversation is never opened.
class UnavailableDdeClient final : public DdeClient
{
public:
    bool connect(const std::string&, const std::string&) override { return false; }
    bool connected() const override { return false; }
    void setTimeout(int) override {}
    DdeResult execute(const std::string&) override { return notConnected(); }
    DdeReply request(const std::string&) override { return {notConnected(), {}}; }
    void disconnect() override {}

private:
    static DdeResult notConnected()
    {
        return DdeResult::failure(NoConversation, "No DDE conversation: this system has no DDE");
    }
    static constexpr int NoConversation = 0x400A; // DMLERR_NO_CONV_ESTABLISHED
};

} // namespace

std::unique_ptr<DdeClient> systemDdeClient()
{
    return std::make_unique<UnavailableDdeClient>();
}

} // namespace kestrix::runtime

#endif
