// The client engine: the client thread that owns the destination list, the searches
// and the connection to one destination.
#pragma once

#include "net/TWorkerThread.h"

#include <Keelwork/TobjectBase.h>

// Owned by the application object; reached by posting the TM_ client messages to
// GetThreadId(). So far the thread only runs and ends: the session, search, list
// and wake messages are not handled yet and are ignored like any unknown message.
class TClientCore : public TobjectBase {
public:
    TClientCore();
    ~TClientCore();

    // Starts the client thread at below-normal priority. Returns 1, or 0 when the
    // thread cannot be made.
    int Start();
    // Posts TM_QUIT every 2000 ms until the client thread has ended.
    void Stop();

    DWORD GetThreadId() const { return m_Thread.GetId(); }

private:
    static void ClientThread(void* owner);
    void Run();

    TWorkerThread m_Thread;
};
