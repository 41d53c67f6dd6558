// Test-side raw client, bounded waits, a loopback server engine and the Winsock set-up
// of the network tests.
#include "NetTestSupport.h"

#include "net/SocketIo.h"
#include "net/NetMessages.h"
#include "net/TListener.h"
#include "net/TServerCore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

class WinsockEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 0), &data), 0);
    }
    void TearDown() override { WSACleanup(); }
};

const ::testing::Environment* const winsock =
    ::testing::AddGlobalTestEnvironment(new WinsockEnvironment);

} // namespace

sockaddr_in LoopbackAddress(const char* address, uint16_t port)
{
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = htons(port);
    result.sin_addr.s_addr = inet_addr(address);
    return result;
}

SOCKET ListenOnLoopback(uint16_t port)
{
    SOCKET listening = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = LoopbackAddress("127.0.0.1", port);
    bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    listen(listening, 1);
    return listening;
}

bool ReapedWithin(TListener& listener, uint32_t selector, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        listener.Reap();
        if (listener.GetConnectionCount(selector) == 0) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
}

bool WaitForValue(const std::atomic<int>& value, int expected, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (value.load() != expected) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

bool StartLoopbackServer(TServerCore& server)
{
    server.SetHostLookup([](TMemoryBase& out) {
        uint32_t address = inet_addr("127.0.0.1");
        out.Free();
        out.AddMemory(4, &address);
        return 1;
    });
    if (!server.Start() || !PostThreadMessageA(server.GetThreadId(), TM_REFRESH_LISTENERS, 0, 0))
        return false;
    TMemoryBase addresses;
    DWORD start = GetTickCount();
    while (server.GetListenerAddresses(addresses) == 0 && GetTickCount() - start < 5000)
        Sleep(20);
    return server.GetListenerAddresses(addresses) == 1;
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(10);
    }
}

SOCKET AcceptService(SOCKET listening)
{
    SOCKET s = accept(listening, nullptr, nullptr);
    uint32_t selector = 0;
    if (s != INVALID_SOCKET &&
        (RecvAll(s, &selector, 4) < 1 || SendWord(s, SERVICE_ACCEPTED_WORD) < 1)) {
        closesocket(s);
        s = INVALID_SOCKET;
    }
    return s;
}

std::string FreshTempPath(const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + name;
    DeleteFileA(path.c_str());
    return path;
}

bool InTestNamespace()
{
    char name[256];
    return gethostname(name, sizeof(name)) == 0 && strcmp(name, "fernhost") == 0;
}

LoopbackClient::LoopbackClient(const char* address, uint16_t port)
    : m_Socket(socket(AF_INET, SOCK_STREAM, 0))
{
    sockaddr_in target = LoopbackAddress(address, port);
    if (m_Socket != INVALID_SOCKET &&
        connect(m_Socket, reinterpret_cast<sockaddr*>(&target), sizeof(target)) != 0)
        Drop();
    // No test may hang on a server that stays silent.
    if (m_Socket != INVALID_SOCKET) SetReceiveTimeout(m_Socket, 20000);
}

LoopbackClient::~LoopbackClient() { Drop(); }

uint32_t LoopbackClient::Select(uint32_t selector)
{
    uint32_t answer = NO_ANSWER;
    if (SendWord(m_Socket, selector) < 1 || RecvAll(m_Socket, &answer, 4) < 1) return NO_ANSWER;
    return answer;
}

bool LoopbackClient::SendHeader(uint32_t command, uint32_t length)
{
    PacketHeader header{command, length, 0, 0};
    return SendAll(m_Socket, &header, sizeof(header)) > 0;
}

bool LoopbackClient::Request(uint32_t command, uint32_t length, ReplyHeader& reply,
                             const void* payload)
{
    std::vector<unsigned char> pattern;
    if (!payload) {
        for (uint32_t i = 0; i < length; ++i)
            pattern.push_back(static_cast<unsigned char>(i));
        payload = pattern.data();
    }
    if (!SendHeader(command, length)) return false;
    if (length && SendAll(m_Socket, payload, static_cast<int>(length)) < 1) return false;
    return ReadReply(reply);
}

bool LoopbackClient::ReadReply(ReplyHeader& reply)
{
    return RecvAll(m_Socket, &reply, sizeof(reply)) > 0;
}

bool LoopbackClient::SendGoWord(uint32_t word) { return ::SendWord(m_Socket, word) > 0; }

bool LoopbackClient::SendBytes(const void* data, int length)
{
    return SendAll(m_Socket, data, length) == length;
}

bool LoopbackClient::Receive(void* buffer, int length)
{
    return RecvAll(m_Socket, buffer, length) == length;
}

bool LoopbackClient::WaitClosed(DWORD timeoutMs)
{
    SetReceiveTimeout(m_Socket, timeoutMs);
    char scratch[64];
    int result;
    while ((result = recv(m_Socket, scratch, sizeof(scratch), 0)) > 0) {
    }
    // A time-out leaves the connection open; 0 or a reset means the server closed it.
    return result == 0 || WSAGetLastError() != WSAETIMEDOUT;
}

void LoopbackClient::Drop()
{
    if (m_Socket != INVALID_SOCKET) closesocket(m_Socket);
    m_Socket = INVALID_SOCKET;
}
