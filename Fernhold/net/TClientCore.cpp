// Client engine: thread, destination list and files, session, background search.
#include "net/TClientCore.h"

#include "net/ConnectionListFile.h"
#include "net/NetMessages.h"
#include "net/ReplaceFile.h"
#include "net/TEventLink.h"
#include "net/TImageLink.h"
#include "net/WakeOnLan.h"
#include "net/TUpdateLink.h"
#include "net/TUpdateRequestLink.h"
#include "net/MainWindowMessages.h"

#include <commdlg.h>
#include <mmsystem.h>

#include <cstring>
#include <vector>

namespace {

constexpr DWORD CLIENT_STOP_WAIT_MS = 2000;
constexpr DWORD CONNECT_FLOOR_MS = 2000;
constexpr DWORD DISCONNECT_FLOOR_MS = 1500;
constexpr DWORD CONNECT_STEP_PAUSE_MS = 500;
constexpr DWORD LIST_LOAD_PAUSE_MS = 100;
constexpr DWORD FOUND_WAIT_MS = 60000;
// Between two magic packets of one destination.
constexpr DWORD WAKE_PACKET_GAP_MS = 2000;

constexpr LPARAM STATUS_PRIORITY = 1;
constexpr LPARAM WAKE_STATUS_PRIORITY = 0;

const char TEXT_CONNECT_FAILED[] = "接続に失敗しました。";
const char TEXT_LOOKING[] = "接続先ｺﾝﾋﾟｭｰﾀを探しています...";
const char TEXT_NOT_FOUND[] = "接続先ｺﾝﾋﾟｭｰﾀが見つかりませんでした。";
const char TEXT_FOUND[] = "接続先ｺﾝﾋﾟｭｰﾀが見つかりました。";
const char TEXT_CONNECTING[] = "接続中です...";
const char TEXT_CONNECTED[] = "接続に成功しました。";
const char TEXT_DISCONNECTING[] = "切断中です...";
const char TEXT_LOADING_LIST[] = "接続先ﾘｽﾄを読み込んでいます...";
const char TEXT_EMPTY[] = "";
const char TEXT_WAKE_SENT[] = "Wake On Lan ﾊﾟｹｯﾄを送信しました。";

const char LIST_FILTER[] = "ConnectionListFile(*.clf)\0*.clf\0";

// Wait after a failed search before the next one, by the number of failures in a row.
DWORD SearchBackoff(uint32_t failures)
{
    switch (failures) {
    case 1:
        return 1000;
    case 2:
        return 5000;
    case 3:
        return 10000;
    default:
        return 60000;
    }
}

void SleepUntilPassed(DWORD start, DWORD floorMs)
{
    DWORD elapsed = timeGetTime() - start;
    if (elapsed < floorMs) Sleep(floorMs - elapsed);
}

// Handed to a destination's worker thread (search or wake-up), which frees it.
struct WorkerJob {
    TClientCore* core;
    TDestination* destination;
    void (TClientCore::*work)(TDestination*);
};

} // namespace

TClientCore::TClientCore(const TFernSettings& settings)
    : m_Settings(settings), m_Resolver(SystemHostResolver())
{
    InitializeCriticalSection(&m_ListLock);
}

TClientCore::~TClientCore()
{
    Stop();
    DeleteLinks();
    delete m_UpdateLink.exchange(nullptr);
    DeleteCriticalSection(&m_ListLock);
}

void TClientCore::SetMainWindow(HWND window)
{
    m_MainWindow = window;
    m_Image.SetMainWindow(window);
}

int TClientCore::Start()
{
    return m_Thread.Start(ClientThread, this, THREAD_PRIORITY_BELOW_NORMAL, 0, true);
}

void TClientCore::Stop()
{
    DeleteDestinations();
    m_Thread.PostQuitAndJoin(TM_QUIT, CLIENT_STOP_WAIT_MS);
}

void TClientCore::ClientThread(void* owner) { static_cast<TClientCore*>(owner)->Run(); }

void TClientCore::Run()
{
    MSG message;
    do
        TWorkerThread::TakeMessage(message);
    while (Handle(message));
}

int TClientCore::Handle(const MSG& message)
{
    switch (message.message) {
    case TM_QUIT:
        DeleteLinks();
        delete m_UpdateLink.exchange(nullptr);
        return 0;
    case TM_CONNECT:
        if (!Connect(static_cast<unsigned long>(message.wParam))) {
            SendStatus(TEXT_CONNECT_FAILED, STATUS_PRIORITY_RESET);
            Sleep(0);
        }
        break;
    case TM_DISCONNECT:
        Disconnect();
        break;
    case TM_FRAME_RECEIVED:
        m_Image.Expand();
        break;
    case TM_SEARCH_TICK:
        TWorkerThread::RemoveWaiting(TM_SEARCH_TICK, TM_SEARCH_TICK);
        SearchTick();
        break;
    case TM_LOAD_LIST:
        OpenListFile();
        break;
    case TM_SAVE_LIST:
        SaveListFileAs();
        break;
    case TM_RESET_SEARCH:
        ResetSearch();
        break;
    case TM_WAKE:
        // The index comes as a signed word: a negative one is outside the list.
        if (static_cast<LONG_PTR>(message.wParam) >= 0)
            StartWake(static_cast<unsigned long>(message.wParam));
        break;
    case TM_LINK_LOST:
        SendConnectEvent(CONNECT_EVENT_DISCONNECT);
        break;
    default:
        break;
    }
    return 1;
}

void TClientCore::DeleteLinks()
{
    // The event link goes first; each link thread sends CMD_CLOSE before it ends.
    delete m_EventLink.exchange(nullptr);
    delete m_ImageLink.exchange(nullptr);
}

// ---- Messages to the main window -------------------------------------------------

void TClientCore::SendStatus(const char* text, LPARAM priority)
{
    TellMainWindow(UM_STATUS_TEXT, reinterpret_cast<WPARAM>(text), priority, false);
}

void TClientCore::SendConnectEvent(WPARAM event)
{
    TellMainWindow(UM_CONNECT_EVENT, event, 0, false);
}

void TClientCore::TellMainWindow(UINT message, WPARAM wParam, LPARAM lParam, bool post)
{
    HWND window = m_MainWindow.load();
    if (!window) return;
    if (post)
        PostMessageA(window, message, wParam, lParam);
    else
        SendNotifyMessageA(window, message, wParam, lParam);
}

// ---- Destination list and files ----------------------------------------------------

unsigned long TClientCore::GetDestinationCount() const
{
    return m_Destinations.GetSize() / sizeof(TDestination*);
}

TDestination* TClientCore::GetDestination(unsigned long index) const
{
    if (index >= GetDestinationCount()) return nullptr;
    return reinterpret_cast<TDestination**>(static_cast<unsigned char*>(m_Destinations))[index];
}

long TClientCore::FindDestination(uint32_t id) const
{
    for (unsigned long i = 0; i < GetDestinationCount(); ++i)
        if (GetDestination(i)->id == id) return static_cast<long>(i);
    return -1;
}

bool TClientCore::AppendLocked(TDestination* record)
{
    if (GetDestinationCount() < MAX_DESTINATIONS &&
        m_Destinations.AddMemory(sizeof(record), &record)) {
        record->id = ++m_LastId;
        return true;
    }
    delete record;
    return false;
}

void TClientCore::DeleteDestinations()
{
    TMemoryBase detached;
    LockList();
    detached = m_Destinations;
    m_Destinations.Free();
    UnlockList();
    TDestination** records =
        reinterpret_cast<TDestination**>(static_cast<unsigned char*>(detached));
    for (unsigned long i = 0; i < detached.GetSize() / sizeof(TDestination*); ++i)
        delete records[i];
}

TDestination* TClientCore::AddDestination(const TDestination& record)
{
    TDestination* copy = new TDestination;
    LockList();
    copy->CopyFrom(record);
    bool added = AppendLocked(copy);
    uint32_t id = added ? copy->id : 0;
    UnlockList();
    if (!added) return nullptr;
    TellMainWindow(UM_ENTRY_CHANGED, ENTRY_CHANGED_DESTINATION, id, true);
    return copy;
}

int TClientCore::RemoveDestination(uint32_t id)
{
    LockList();
    long index = FindDestination(id);
    TDestination* record = index >= 0 ? GetDestination(static_cast<unsigned long>(index)) : nullptr;
    if (record)
        m_Destinations.CutMemory(static_cast<unsigned long>(index) * sizeof(record),
                                 sizeof(record));
    UnlockList();
    if (!record) return 0;
    delete record;
    TellMainWindow(UM_ENTRY_CHANGED, ENTRY_CHANGED_DESTINATION, ENTRY_CHANGED_ALL, true);
    return 1;
}

int TClientCore::LoadListFile(const char* path, int* whole)
{
    DeleteDestinations();
    TMemoryBase image;
    int read = LoadFileImage(path, image);
    LockList();
    int loaded = read && ReadListImage(static_cast<unsigned char*>(image), image.GetSize(),
                                       m_Destinations, whole);
    for (unsigned long i = 0; i < GetDestinationCount(); ++i)
        GetDestination(i)->id = ++m_LastId;
    m_SearchCursor = -1;
    UnlockList();
    return loaded;
}

int TClientCore::SaveListFile(const char* path)
{
    // The image is made under the lock; the slow write happens outside it.
    TMemoryBase image;
    LockList();
    int whole = WriteListImage(
        reinterpret_cast<TDestination* const*>(static_cast<unsigned char*>(m_Destinations)),
        GetDestinationCount(), image);
    UnlockList();
    // A partial image would replace a good file: the old one stays instead.
    return whole && ReplaceFileContents(path, static_cast<unsigned char*>(image), image.GetSize());
}

int TClientCore::ChooseListFile(bool save, char (&path)[MAX_PATH])
{
    char title[MAX_PATH] = "";
    char folder[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, folder, sizeof(folder));
    if (length == 0 || length >= sizeof(folder)) length = 0;
    while (length > 0 && folder[length - 1] != '\\')
        --length;
    folder[length] = '\0';
    path[0] = '\0';
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = m_MainWindow.load();
    dialog.lpstrFilter = LIST_FILTER;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrFileTitle = title;
    dialog.nMaxFileTitle = MAX_PATH;
    dialog.lpstrInitialDir = length ? folder : nullptr;
    dialog.lpstrDefExt = "clf";
    // Every relative path of the program (options, update files, the updater) counts on
    // the program folder staying the current directory.
    dialog.Flags = OFN_NOCHANGEDIR;
    TModalLoopGuard keepMessages;
    if (save) {
        dialog.Flags |=
            OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_EXTENSIONDIFFERENT | OFN_CREATEPROMPT;
        return GetSaveFileNameA(&dialog) != 0;
    }
    dialog.Flags |= OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXTENSIONDIFFERENT;
    return GetOpenFileNameA(&dialog) != 0;
}

void TClientCore::OpenListFile()
{
    char path[MAX_PATH];
    if (ChooseListFile(false, path)) OpenListFile(path);
}

void TClientCore::OpenListFile(const char* path)
{
    DeleteDestinations();
    TellMainWindow(UM_STATUS_TEXT, reinterpret_cast<WPARAM>(TEXT_LOADING_LIST), STATUS_PRIORITY,
                   true);
    Sleep(LIST_LOAD_PAUSE_MS);
    TMemoryBase image;
    TListImageReader reader;
    if (!LoadFileImage(path, image) ||
        !reader.Open(static_cast<unsigned char*>(image), image.GetSize()))
        return;
    // One record at a time, so the main window can draw each as it arrives.
    while (TDestination* record = reader.Next()) {
        LockList();
        bool added = AppendLocked(record);
        uint32_t id = added ? record->id : 0;
        UnlockList();
        if (!added) break;
        TellMainWindow(UM_ENTRY_CHANGED, ENTRY_CHANGED_DESTINATION, id, true);
    }
    LockList();
    m_SearchCursor = -1;
    UnlockList();
    TellMainWindow(UM_STATUS_TEXT, reinterpret_cast<WPARAM>(TEXT_EMPTY), STATUS_PRIORITY_RESET,
                   true);
}

void TClientCore::SaveListFileAs()
{
    char path[MAX_PATH];
    if (ChooseListFile(true, path)) SaveListFile(path);
}

// ---- Session -----------------------------------------------------------------------

int TClientCore::Connect(unsigned long index)
{
    DeleteLinks();
    m_Image.Reset();

    LockList();
    TDestination* destination = GetDestination(index);
    if (!destination) {
        UnlockList();
        SendConnectEvent(CONNECT_EVENT_DISCONNECT);
        return 0;
    }
    m_Selected = static_cast<long>(index);
    sockaddr_in address = destination->liveAddress;
    TString name = destination->displayName;
    DWORD start = timeGetTime();
    UnlockList();

    SendStatus(TEXT_LOOKING, STATUS_PRIORITY);
    Sleep(0);
    TString host;
    // An empty name is no destination: the platform would resolve it to this very host.
    int found = address.sin_addr.s_addr != 0
                    ? m_Resolver.byAddress(address.sin_addr, host)
                    : name.Len() && m_Resolver.byName(static_cast<char*>(name), address.sin_addr);
    if (!found) {
        SendStatus(TEXT_NOT_FOUND, STATUS_PRIORITY);
        Sleep(CONNECT_STEP_PAUSE_MS);
        SendConnectEvent(CONNECT_EVENT_DISCONNECT);
        return 0;
    }
    SendStatus(TEXT_FOUND, STATUS_PRIORITY);
    Sleep(CONNECT_STEP_PAUSE_MS);
    SendStatus(TEXT_CONNECTING, STATUS_PRIORITY);
    Sleep(CONNECT_STEP_PAUSE_MS);

    TEventLink* eventLink = new TEventLink(m_Settings);
    TImageLink* imageLink = new TImageLink(m_Settings, m_Image, GetCurrentThreadId());
    m_EventLink = eventLink;
    m_ImageLink = imageLink;
    // Both are tried; the Disconnect that event 4 brings removes whatever came up.
    int eventUp = eventLink->Connect(address);
    int imageUp = imageLink->Connect(address);
    if (!eventUp || !imageUp) {
        SendConnectEvent(CONNECT_EVENT_DISCONNECT);
        return 0;
    }
    TellMainWindow(UM_STATUS_TEXT, reinterpret_cast<WPARAM>(TEXT_CONNECTED), STATUS_PRIORITY_RESET,
                   true);
    Sleep(0);
    SleepUntilPassed(start, CONNECT_FLOOR_MS);
    PostThreadMessageA(imageLink->GetThreadId(), TM_GET_SCREEN_SIZE, 0, 0);
    SendConnectEvent(CONNECT_EVENT_CONNECTED);
    return 1;
}

void TClientCore::Disconnect()
{
    DWORD start = timeGetTime();
    SendStatus(TEXT_DISCONNECTING, STATUS_PRIORITY);
    Sleep(0);
    DeleteLinks();
    SleepUntilPassed(start, DISCONNECT_FLOOR_MS);
    m_Image.Reset();
    SendStatus(TEXT_EMPTY, STATUS_PRIORITY_RESET);
    SendConnectEvent(CONNECT_EVENT_IDLE);
}

// ---- Updates -------------------------------------------------------------------------

int TClientCore::FetchUpdate(const sockaddr_in& source)
{
    delete m_UpdateLink.exchange(nullptr);
    TUpdateLink* link = new TUpdateLink(m_Settings, GetThreadId(), m_MainWindow.load());
    if (!link->Connect(source)) {
        delete link;
        return 0;
    }
    m_UpdateLink = link;
    PostThreadMessageA(link->GetThreadId(), TM_UPDATE_START, 0, 0);
    return 1;
}

int TClientCore::SendUpdateRequest(unsigned long index, TServerCore& server)
{
    LockList();
    TDestination* destination = GetDestination(index);
    TUpdateRequestLink link(m_Settings, server, GetThreadId());
    int sent = destination && destination->liveAddress.sin_addr.s_addr != 0 &&
               link.Connect(destination->liveAddress);
    if (sent) {
        PostThreadMessageA(link.GetThreadId(), TM_SEND_UPDATE_REQUEST, 0, 0);
        link.WaitUntilEnded();
    }
    UnlockList();
    return sent;
}

// ---- Background search ---------------------------------------------------------------

void TClientCore::SearchTick()
{
    uint32_t limit = m_Settings.simultaneousSearches.load();
    bool endless = m_Settings.searchFlags.load() & 1;
    LockList();
    unsigned long count = GetDestinationCount();
    unsigned long running = 0;
    for (unsigned long i = 0; i < count; ++i)
        if (GetDestination(i)->worker.IsRunning()) ++running;
    unsigned long n = limit < count ? limit : count;
    for (unsigned long started = running; started < n; ++started) {
        m_SearchCursor =
            m_SearchCursor < 0 || static_cast<unsigned long>(m_SearchCursor) + 1 >= count
                ? 0
                : m_SearchCursor + 1;
        TDestination* destination = GetDestination(static_cast<unsigned long>(m_SearchCursor));
        if (endless) destination->searchesLeft = SEARCHES_WITHOUT_END;
        StartSearch(destination);
    }
    UnlockList();
}

void TClientCore::ResetSearch()
{
    uint32_t left = (m_Settings.searchFlags.load() & 1) ? SEARCHES_WITHOUT_END : 0;
    LockList();
    for (unsigned long i = 0; i < GetDestinationCount(); ++i)
        GetDestination(i)->searchesLeft = left;
    UnlockList();
}

void TClientCore::StartSearch(TDestination* destination)
{
    if (destination->worker.IsRunning() || destination->busy || destination->searchesLeft == 0)
        return;
    DWORD since = timeGetTime() - destination->lastSearchTime;
    if (destination->searchState == SEARCH_FOUND && since < FOUND_WAIT_MS) return;
    if (destination->searchState == SEARCH_NOT_FOUND &&
        since < SearchBackoff(destination->failureCount))
        return;
    destination->worker.Release();
    destination->cancel = 0;
    WorkerJob* job = new WorkerJob{this, destination, &TClientCore::Search};
    if (!destination->worker.Start(WorkerThread, job, THREAD_PRIORITY_LOWEST, 0, false)) {
        delete job;
        return;
    }
    if (destination->searchesLeft != SEARCHES_WITHOUT_END) --destination->searchesLeft;
}

void TClientCore::WorkerThread(void* job)
{
    WorkerJob taken = *static_cast<WorkerJob*>(job);
    delete static_cast<WorkerJob*>(job);
    (taken.core->*taken.work)(taken.destination);
}

void TClientCore::Search(TDestination* destination)
{
    LockList();
    destination->searchState = SEARCH_SEARCHING;
    TString name = destination->displayName;
    in_addr address = destination->liveAddress.sin_addr;
    uint32_t id = destination->id;
    UnlockList();
    TellMainWindow(UM_ENTRY_CHANGED, ENTRY_CHANGED_DESTINATION, id, false);

    in_addr named{};
    TString reverse;
    int byName =
        name.Len() && !destination->cancel && m_Resolver.byName(static_cast<char*>(name), named);
    int byAddress =
        address.s_addr != 0 && !destination->cancel && m_Resolver.byAddress(address, reverse);

    // The record is touched only under the lock; the thread's handle stays with the
    // record, whose owner waits for this thread before deleting it.
    LockList();
    if (!destination->cancel && (byName || byAddress)) {
        if (byName && !byAddress) destination->liveAddress.sin_addr = named;
        if (!byName) destination->displayName = reverse;
        destination->searchState = SEARCH_FOUND;
        destination->failureCount = 0;
    } else {
        destination->searchState = SEARCH_NOT_FOUND;
        ++destination->failureCount;
    }
    destination->lastSearchTime = timeGetTime();
    UnlockList();
    TellMainWindow(UM_ENTRY_CHANGED, ENTRY_CHANGED_DESTINATION, id, false);
}

// ---- Wake-on-LAN ---------------------------------------------------------------------

void TClientCore::StartWake(unsigned long index)
{
    LockList();
    TDestination* destination = GetDestination(index);
    const uint32_t id = destination ? destination->id : 0;
    while (destination && !destination->busy && destination->worker.IsRunning()) {
        // The search's handle stays valid for the wait even if the record goes meanwhile.
        HANDLE search = nullptr;
        DuplicateHandle(GetCurrentProcess(), destination->worker.GetHandle(), GetCurrentProcess(),
                        &search, SYNCHRONIZE, FALSE, 0);
        UnlockList();
        if (search) {
            WaitForSingleObject(search, INFINITE);
            CloseHandle(search);
        } else {
            Sleep(0);
        }
        LockList();
        long at = FindDestination(id);
        destination = at < 0 ? nullptr : GetDestination(static_cast<unsigned long>(at));
    }
    if (destination && !destination->busy) {
        destination->worker.Release();
        destination->cancel = 0;
        WorkerJob* job = new WorkerJob{this, destination, &TClientCore::Wake};
        if (!destination->worker.Start(WorkerThread, job, THREAD_PRIORITY_LOWEST, 0, false))
            delete job;
    }
    UnlockList();
}

void TClientCore::Wake(TDestination* destination)
{
    LockList();
    destination->searchState = SEARCH_WAKING;
    const uint32_t id = destination->id;
    std::vector<MacAddress> macs(destination->GetMacCount());
    for (unsigned long i = 0; i < macs.size(); ++i)
        memcpy(macs[i].data(), destination->GetMac(i), TDestination::MAC_BYTES);
    UnlockList();
    TellMainWindow(UM_ENTRY_CHANGED, ENTRY_CHANGED_DESTINATION, id, false);

    for (const MacAddress& mac : macs) {
        // A record being deleted waits for this thread: the rest of its packets are dropped.
        if (destination->cancel) break;
        WakeSend sent = SendMagicPacket(mac);
        if (sent == WakeSend::NoSocket) continue;
        if (sent == WakeSend::Sent) SendStatus(TEXT_WAKE_SENT, WAKE_STATUS_PRIORITY);
        Sleep(WAKE_PACKET_GAP_MS);
    }

    // Idle with no failures: the next search tick searches it at once.
    LockList();
    destination->searchState = SEARCH_IDLE;
    destination->failureCount = 0;
    UnlockList();
    TellMainWindow(UM_ENTRY_CHANGED, ENTRY_CHANGED_DESTINATION, id, false);
}
