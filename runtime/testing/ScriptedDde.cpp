#include "runtime/testing/ScriptedDde.h"

namespace kestrix::runtime::testing {
namespace {

class ScriptedDdeClient final : public DdeClient
{
public:
    explicit ScriptedDdeClient(ScriptedDdeServer& server) : m_server(server) {}

    bool connect(const std::string& service, const std::string& topic) override
    {
        m_server.log.push_back("connect " + service + "|" + topic);
        m_connected = m_server.running && service == m_server.service;
        return m_connected;
    }
    bool connected() const override { return m_connected; }
    void setTimeout(int hundredths) override
    {
        m_timeout = hundredths;
        m_server.log.push_back("timeout " + std::to_string(hundredths));
    }
    DdeResult execute(const std::string& command) override
    {
        m_server.log.push_back("execute " + command);
        if (!m_connected)
            return DdeResult::failure(0x400A, "No DDE conversation");
        if (m_server.unanswered && m_server.unanswered("execute " + command))
            return timedOut(0x4005);
        return m_server.onExecute ? m_server.onExecute(command) : DdeResult::success();
    }
    DdeReply request(const std::string& item) override
    {
        m_server.log.push_back("request " + item);
        if (!m_connected)
            return {DdeResult::failure(0x400A, "No DDE conversation"), {}};
        if (m_server.unanswered && m_server.unanswered("request " + item))
            return {timedOut(0x4002), {}};
        const auto found = m_server.items.find(item);
        if (found == m_server.items.end())
            return {DdeResult::failure(0x4009, "The other program did not carry out the command"), {}};
        return {DdeResult::success(), found->second};
    }
    void disconnect() override
    {
        if (m_connected)
            m_server.log.push_back("disconnect");
        m_connected = false;
    }

private:
    DdeResult timedOut(int number) const
    {
        return DdeResult::failure(number, "No answer within " + std::to_string(m_timeout) +
                                              " hundredths of a second");
    }

    ScriptedDdeServer& m_server;
    bool m_connected = false;
    int m_timeout = DefaultTimeout;
};

} // namespace

DdeClientFactory ScriptedDdeServer::factory()
{
    return [this]() -> std::unique_ptr<DdeClient> { return std::make_unique<ScriptedDdeClient>(*this); };
}

} // namespace kestrix::runtime::testing
