#include "runtime/DdeClient.h"

#ifdef _WIN32

#include "runtime/WindowsApi.h"

#include <ddeml.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace kestrix::runtime {
namespace {

HDDEDATA CALLBACK ignoreCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR)
{
    return nullptr;
}

std::string ddemlErrorText(UINT error)
{
    switch (error) {
    case DMLERR_ADVACKTIMEOUT:
    case DMLERR_DATAACKTIMEOUT:
    case DMLERR_EXECACKTIMEOUT:
    case DMLERR_POKEACKTIMEOUT:
    case DMLERR_UNADVACKTIMEOUT:
        return "The other program did not answer in time";
    case DMLERR_BUSY:
        return "The other program is busy";
    case DMLERR_NOTPROCESSED:
        return "The other program did not carry out the command";
    case DMLERR_NO_CONV_ESTABLISHED:
        return "No DDE conversation could be established";
    case DMLERR_SERVER_DIED:
        return "The other program ended the conversation";
    case DMLERR_MEMORY_ERROR:
        return "Out of memory";
    default:
        return "DDE error";
    }
}

// The longest any transaction may wait, in hundredths of a second, when KESTRIX_DDE_TIMEOUT sets
// one: the tests shorten the minutes a caller allows for an IDE that never answers.
int timeoutCeiling()
{
    const char* text = std::getenv("KESTRIX_DDE_TIMEOUT");
    if (!text || !*text)
        return 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return *end == '\0' && value > 0 && value < 8640000 ? static_cast<int>(value) : 0;
}

// A client conversation through DDEML. The DDEML instance lives as long as the conversation; both
// belong to the thread that connected, and the synchronous transactions pump its messages.
class DdemlClient final : public DdeClient
{
public:
    DdemlClient() { setTimeout(DefaultTimeout); }
    ~DdemlClient() override { disconnect(); }

    bool connect(const std::string& service, const std::string& topic) override
    {
        disconnect();
        if (DdeInitializeA(&m_instance, ignoreCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
            m_instance = 0;
            return false;
        }
        HSZ serviceName = DdeCreateStringHandleA(m_instance, service.c_str(), CP_WINANSI);
        HSZ topicName =
            topic.empty() ? nullptr : DdeCreateStringHandleA(m_instance, topic.c_str(), CP_WINANSI);
        m_conversation = DdeConnect(m_instance, serviceName, topicName, nullptr);
        if (serviceName)
            DdeFreeStringHandle(m_instance, serviceName);
        if (topicName)
            DdeFreeStringHandle(m_instance, topicName);
        if (!m_conversation)
            disconnect();
        return m_conversation != nullptr;
    }

    bool connected() const override { return m_conversation != nullptr; }

    void setTimeout(int hundredths) override
    {
        if (const int ceiling = timeoutCeiling())
            hundredths = std::min(hundredths, ceiling);
        m_timeoutMs = static_cast<DWORD>(std::max(hundredths, 1)) * 10;
    }

    DdeResult execute(const std::string& command) override
    {
        if (!m_conversation)
            return failure(DMLERR_NO_CONV_ESTABLISHED);
        std::vector<BYTE> text(command.begin(), command.end());
        text.push_back(0);
        DWORD result = 0;
        HDDEDATA done = DdeClientTransaction(text.data(), static_cast<DWORD>(text.size()), m_conversation,
                                             nullptr, CF_TEXT, XTYP_EXECUTE, m_timeoutMs, &result);
        if (!done)
            return failure(DdeGetLastError(m_instance));
        return DdeResult::success();
    }

    DdeReply request(const std::string& item) override
    {
        if (!m_conversation)
            return {failure(DMLERR_NO_CONV_ESTABLISHED), {}};
        HSZ itemName = DdeCreateStringHandleA(m_instance, item.c_str(), CP_WINANSI);
        DWORD result = 0;
        HDDEDATA data = DdeClientTransaction(nullptr, 0, m_conversation, itemName, CF_TEXT, XTYP_REQUEST,
                                             m_timeoutMs, &result);
        if (itemName)
            DdeFreeStringHandle(m_instance, itemName);
        if (!data)
            return {failure(DdeGetLastError(m_instance)), {}};
        DdeReply reply;
        const DWORD size = DdeGetData(data, nullptr, 0, 0);
        std::string text(size, '\0');
        if (size)
            DdeGetData(data, reinterpret_cast<LPBYTE>(text.data()), size, 0);
        DdeFreeDataHandle(data);
        const auto end = text.find('\0');
        reply.data = end == std::string::npos ? text : text.substr(0, end);
        return reply;
    }

    void disconnect() override
    {
        if (m_conversation)
            DdeDisconnect(m_conversation);
        m_conversation = nullptr;
        if (m_instance)
            DdeUninitialize(m_instance);
        m_instance = 0;
    }

private:
    static DdeResult failure(UINT error)
    {
        return DdeResult::failure(static_cast<int>(error), ddemlErrorText(error));
    }

    DWORD m_instance = 0;
    HCONV m_conversation = nullptr;
    DWORD m_timeoutMs = static_cast<DWORD>(DefaultTimeout) * 10;
};

} // namespace

std::unique_ptr<DdeClient> systemDdeClient()
{
    return std::make_unique<DdemlClient>();
}

} // namespace kestrix::runtime

#endif
