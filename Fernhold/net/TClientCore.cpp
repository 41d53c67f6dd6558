// Client engine: thread start, loop and stop.
#include "net/TClientCore.h"

#include "net/NetMessages.h"

namespace {
constexpr DWORD CLIENT_STOP_WAIT_MS = 2000;
}

TClientCore::TClientCore() = default;

TClientCore::~TClientCore() { Stop(); }

int TClientCore::Start()
{
    return m_Thread.Start(ClientThread, this, THREAD_PRIORITY_BELOW_NORMAL, 0, true);
}

void TClientCore::Stop() { m_Thread.PostQuitAndJoin(TM_QUIT, CLIENT_STOP_WAIT_MS); }

void TClientCore::ClientThread(void* owner) { static_cast<TClientCore*>(owner)->Run(); }

void TClientCore::Run()
{
    MSG message;
    do
        TWorkerThread::TakeMessage(message);
    while (message.message != TM_QUIT);
}
