// The client engine: the client thread that owns the destination list, the searches
// and the connection to one destination.
#pragma once

#include "net/HostResolver.h"
#include "net/TClientImage.h"
#include "net/TDestination.h"
#include "net/TFernSettings.h"
#include "net/TWorkerThread.h"

#include <Keelwork/TMemoryBase.h>
#include <Keelwork/TobjectBase.h>

#include <atomic>
#include <cstdint>

class TEventLink;
class TImageLink;
class TServerCore;
class TUpdateLink;

// Owned by the application object. The main window reaches the client thread by posting
// the TM_ client messages to GetThreadId(); the engine answers with UM_ messages sent
// (SendNotifyMessageA) or posted to the main window, never waiting for it.
// The destination-list lock guards the list's membership and every field of every
// record that other threads copy in or out; records are deleted outside it, because a
// dying record waits for its worker thread, which may be waiting for the lock.
class TClientCore : public TobjectBase {
public:
    explicit TClientCore(const TFernSettings& settings);
    // Stops the thread if still running; deletes the links and the destinations.
    ~TClientCore();
    TClientCore(const TClientCore&) = delete;
    TClientCore& operator=(const TClientCore&) = delete;

    // Window that hears the status texts, destination changes, connection events and
    // UM_IMAGE_READY (may be null). Set before Start.
    void SetMainWindow(HWND window);
    // Replaces the host lookups (by default gethostbyname/gethostbyaddr). Set before
    // Start, while no search runs.
    void SetHostResolver(THostResolver resolver) { m_Resolver = std::move(resolver); }

    // Starts the client thread at below-normal priority. Returns 1, or 0 when the
    // thread cannot be made.
    int Start();
    // Deletes every destination (each waits for its worker thread), then posts TM_QUIT
    // every 2000 ms until the client thread has ended.
    void Stop();

    DWORD GetThreadId() const { return m_Thread.GetId(); }
    // Read by the main thread; set only by Connect and Disconnect on the client thread,
    // which the connection state keeps apart from the main thread's use of the links.
    TEventLink* GetEventLink() const { return m_EventLink.load(); }
    TImageLink* GetImageLink() const { return m_ImageLink.load(); }
    // The remote screen's copy the view windows draw from.
    TClientImage& GetImage() { return m_Image; }
    // Index of the destination last connected; -1 before the first connect.
    long GetSelectedIndex() const { return m_Selected.load(); }

    // The list, for the main thread's dialogs and rows: hold the lock around every
    // use of GetDestinationCount, GetDestination and the records' fields.
    void LockList() { EnterCriticalSection(&m_ListLock); }
    void UnlockList() { LeaveCriticalSection(&m_ListLock); }
    unsigned long GetDestinationCount() const;
    TDestination* GetDestination(unsigned long index) const;
    // Index of the record with that id (UM_ENTRY_CHANGED), -1 when it has gone.
    long FindDestination(uint32_t id) const;

    // Appends a copy of record (see TDestination::CopyFrom) and posts UM_ENTRY_CHANGED
    // with the new record's id. Any thread. Returns the copy, or null when the list cannot grow
    // (MAX_DESTINATIONS reached, or no memory).
    TDestination* AddDestination(const TDestination& record);
    // Takes the record with that id out of the list and deletes it (outside the lock: it
    // waits for its worker thread), then posts UM_ENTRY_CHANGED for every row. Any thread
    // not holding the list lock. 0 when no record has that id.
    int RemoveDestination(uint32_t id);
    // Replaces the list by the file's records (a missing file is created empty; a wrong
    // tag or version leaves the list empty); the search cursor starts over. Returns 1
    // when the file had the right tag and version; whole (when given) says whether every
    // record it announces was read.
    int LoadListFile(const char* path, int* whole = nullptr);
    // Writes the whole list to path through a temporary file. 1 when path holds it.
    int SaveListFile(const char* path);

    // Client thread, TM_LOAD_LIST and TM_SAVE_LIST: the file dialogs, owned by the
    // main window.
    void OpenListFile();
    void SaveListFileAs();
    // Client thread: replaces the list by the file's records one at a time, telling
    // the main window of each and showing a status text until the last has arrived
    // (a wrong tag or version leaves the list empty and the text shown).
    void OpenListFile(const char* path);

    // Client thread: the session and the search. Connect returns 1 when both links
    // are up; every failure has sent UM_CONNECT_EVENT 4.
    int Connect(unsigned long index);
    void Disconnect();
    void SearchTick();
    void ResetSearch();
    // Caller holds the list lock.
    void StartSearch(TDestination* destination);
    // Client thread, TM_WAKE: wakes the destination at index (none outside the list, none
    // while a dialog holds it busy). A search under way is waited for first, outside the
    // list lock, which the search takes at its end.
    void StartWake(unsigned long index);

    // Main thread, UM_UPDATE_REQUESTED: stops and deletes the fetch under way, if any,
    // connects a new update link to source and sets it going. 1 when it is connected.
    int FetchUpdate(const sockaddr_in& source);
    // Main thread, UM_SEND_UPDATE_REQUEST once the right is granted: under the list
    // lock, asks the destination at index to fetch an update from the first listener of
    // server, and returns when that exchange has ended (bounded by the link's reply
    // time-out). 1 when the request was sent.
    int SendUpdateRequest(unsigned long index, TServerCore& server);

private:
    static void ClientThread(void* owner);
    void Run();
    // Client thread: one thread message; returns 0 for TM_QUIT.
    int Handle(const MSG& message);
    void DeleteLinks();
    // Takes every record out of the list under the lock and deletes them outside it.
    void DeleteDestinations();
    // Caller holds the list lock; gives the record its id. A record that does not fit
    // (full list, no memory) is deleted.
    bool AppendLocked(TDestination* record);
    // A destination's worker thread: runs the job's search or wake-up.
    static void WorkerThread(void* job);
    // Search thread body for one destination.
    void Search(TDestination* destination);
    // Wake thread body: one magic packet per MAC address, 2000 ms apart.
    void Wake(TDestination* destination);
    void SendStatus(const char* text, LPARAM priority);
    void SendConnectEvent(WPARAM event);
    // SendNotifyMessageA, or PostMessageA with post; nothing while there is no window.
    void TellMainWindow(UINT message, WPARAM wParam, LPARAM lParam, bool post);
    // The common file dialog's fields for both list dialogs.
    int ChooseListFile(bool save, char (&path)[MAX_PATH]);

    const TFernSettings& m_Settings;
    CRITICAL_SECTION m_ListLock;
    // TDestination* entries in display order.
    TMemoryBase m_Destinations;
    std::atomic<TEventLink*> m_EventLink{nullptr};
    std::atomic<TImageLink*> m_ImageLink{nullptr};
    // Lives across sessions: a session's connect or disconnect leaves the fetch alone.
    std::atomic<TUpdateLink*> m_UpdateLink{nullptr};
    TWorkerThread m_Thread;
    std::atomic<long> m_Selected{-1};
    // Last record id given out; guarded by the list lock.
    uint32_t m_LastId = 0;
    // Round-robin position of SearchTick; -1 after every load.
    int32_t m_SearchCursor = -1;
    TClientImage m_Image;
    std::atomic<HWND> m_MainWindow{nullptr};
    THostResolver m_Resolver;
};
