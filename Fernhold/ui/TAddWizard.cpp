// The add-destination wizard: its window and pages, the navigation, and the four workers.
#include "ui/TAddWizard.h"

#include "net/MacAddressQuery.h"
#include "net/MainWindowMessages.h"
#include "net/TClientCore.h"
#include "ui/FrameArt.h"
#include "ui/ProgramResources.h"
#include "ui/TFernWndClass.h"

#include <Panekind/TWindow.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>

namespace {
// WS_POPUP | WS_CLIPCHILDREN; WS_EX_TOOLWINDOW.
constexpr unsigned long WIZARD_STYLE = 0x82000000;
constexpr unsigned long WIZARD_EX_STYLE = 0x80;
constexpr int WIZARD_WIDTH = 531;
constexpr int WIZARD_HEIGHT = 360;
// Posted by the worker to the wizard: wParam the job, lParam its count.
constexpr UINT WM_WIZARD_JOB_DONE = WM_APP + 1;
constexpr DWORD SWEEP_CONNECT_MS = 700;
constexpr DWORD SWEEP_QUERY_MS = 1500;
constexpr DWORD ROW_PAUSE_MS = 10;
constexpr int PROGRESS_STEPS_PER_COMPUTER = 4;
// Item data of page 141's sweep entry; workgroup rows hold their index in the blocks.
constexpr LPARAM AUTO_SEARCH_ITEM = -1;

TAddWizard* g_AddWizard = nullptr;

int PageIndex(int dialog) { return dialog - IDD_WIZARD_WELCOME; }

void AddColumn(HWND list, int index, const char* title, int width)
{
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(title);
    column.cx = width;
    SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

void SetUpList(HWND list, DWORD extended)
{
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
}

// Inserts a row of one or two columns at the end; returns its index.
int InsertRow(HWND list, const char* first, const char* second, LPARAM data)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<char*>(first);
    item.lParam = data;
    int row =
        static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row >= 0 && second) {
        LVITEMA sub{};
        sub.iSubItem = 1;
        sub.pszText = const_cast<char*>(second);
        SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&sub));
    }
    return row;
}

void GetRowText(HWND list, int row, int column, char (&text)[ENTRY_TEXT_CHARS])
{
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = ENTRY_TEXT_CHARS;
    text[0] = '\0';
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

LPARAM GetRowData(HWND list, int row)
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

int RowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

void SetTotal(HWND page, unsigned long count)
{
    char text[64];
    snprintf(text, sizeof(text), "合計 %lu 台のコンピュータ", count);
    SetDlgItemTextA(page, IDC_WIZARD_TOTAL, text);
}

// Posted by the registration to the wizard when the progress page is behind; at most one
// waits at a time, so a fast registration does not bury the main thread in repaints.
constexpr UINT WM_WIZARD_PROGRESS = WM_APP + 2;
} // namespace

TWizardServices SystemWizardServices()
{
    TWizardServices services;
    services.browser = &SystemNetworkBrowser();
    services.resolver = SystemHostResolver();
    services.adapters = LocalAdapterAddresses;
    services.fetchMacs = FetchDestinationMacs;
    services.macQuery = QueryMacAddresses;
    return services;
}

TAddWizard* TAddWizard::Current() { return g_AddWizard; }

int TAddWizard::Open(TUiContext& context, const TWizardServices& services)
{
    if (g_AddWizard) return 0;
    TAddWizard* wizard = new TAddWizard(context, services);
    int made = wizard->Create();
    // The window's registry holds the object from here until WM_NCDESTROY.
    if (!made && wizard->GetHandle()) DestroyWindow(wizard->GetHandle());
    wizard->Release();
    return made;
}

TAddWizard::TAddWizard(TUiContext& context, const TWizardServices& services)
    : TSkinWindow(context, CANVAS_FULLVIEW), m_Services(services)
{
    InitializeCriticalSection(&m_ProgressLock);
}

TAddWizard::~TAddWizard() { DeleteCriticalSection(&m_ProgressLock); }

int TAddWizard::Create()
{
    TWindow window(*this);
    window.SetStyle(WIZARD_STYLE);
    window.SetExStyle(WIZARD_EX_STYLE);
    window.SetWindowTextA(TString("Wizard Window"));
    window.SetParent(m_Context.mainWindow);
    window.SetWindowRect(RECT{0, 0, WIZARD_WIDTH, WIZARD_HEIGHT});
    window.SetPosToCenter();
    window.SetWindowProc(UserProc);
    if (!window.CreateWindowExA(*g_lpWndClass)) return 0;
    g_AddWizard = this;
    if (!CreatePages()) return 0;
    ShowPage(IDD_WIZARD_WELCOME);
    Repaint(0);
    ShowWindow(GetHandle(), SW_SHOW);
    return 1;
}

int TAddWizard::CreatePages()
{
    HINSTANCE program = GetModuleHandleA(nullptr);
    for (int dialog = IDD_WIZARD_WELCOME; dialog <= IDD_WIZARD_WAIT; ++dialog) {
        HWND page = CreateDialogParamA(program, MAKEINTRESOURCEA(dialog), GetHandle(), PageProc,
                                       reinterpret_cast<LPARAM>(this));
        if (!page) return 0;
        SetWindowLongPtrA(page, GWLP_ID, dialog);
        SetWindowPos(page, nullptr, 0, FRAME_CAPTION_ROWS, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_Pages[PageIndex(dialog)] = page;
    }
    HWND workgroups = GetDlgItem(GetPage(IDD_WIZARD_WORKGROUPS), IDC_WIZARD_WORKGROUP_LIST);
    SetUpList(workgroups, LVS_EX_FULLROWSELECT);
    AddColumn(workgroups, 0, "ネットワークリスト", 210);
    HWND found = GetDlgItem(GetPage(IDD_WIZARD_COMPUTERS), IDC_WIZARD_COMPUTER_LIST);
    SetUpList(found, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    HWND chosen = GetDlgItem(GetPage(IDD_WIZARD_SETTINGS), IDC_WIZARD_COMPUTER_LIST);
    SetUpList(chosen, LVS_EX_FULLROWSELECT);
    for (HWND list : {found, chosen}) {
        AddColumn(list, 0, "コンピュータ", 110);
        AddColumn(list, 1, "ワークグループ", 100);
    }
    HWND settings = GetPage(IDD_WIZARD_SETTINGS);
    CheckDlgButton(settings, IDC_WIZARD_NAME_ONLY, BST_CHECKED);
    CheckDlgButton(settings, IDC_WIZARD_FETCH_MACS, BST_CHECKED);
    return 1;
}

HWND TAddWizard::GetPage(int dialog) const
{
    int index = PageIndex(dialog);
    return index >= 0 && index < 6 ? m_Pages[index] : nullptr;
}

void TAddWizard::ShowPage(int dialog)
{
    for (int d = IDD_WIZARD_WELCOME; d <= IDD_WIZARD_WAIT; ++d)
        if (d != dialog) ShowWindow(GetPage(d), SW_HIDE);
    ShowWindow(GetPage(dialog), SW_SHOW);
}

INT_PTR CALLBACK TAddWizard::PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(page, DWLP_USER, lParam);
        return TRUE;
    }
    auto* wizard = reinterpret_cast<TAddWizard*>(GetWindowLongPtrA(page, DWLP_USER));
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && wizard) {
        wizard->OnPageCommand(GetDlgCtrlID(page), LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

void TAddWizard::OnPageCommand(int page, int control)
{
    switch (control) {
    case IDC_WIZARD_CANCEL:
        DestroyWindow(GetHandle());
        break;
    case IDC_WIZARD_BACK:
        if (page > IDD_WIZARD_WELCOME && page <= IDD_WIZARD_SETTINGS) ShowPage(page - 1);
        break;
    case IDC_WIZARD_NEXT:
        if (page == IDD_WIZARD_WELCOME) {
            StartJob(Job::Workgroups);
        } else if (page == IDD_WIZARD_WORKGROUPS) {
            HWND list = GetDlgItem(GetPage(page), IDC_WIZARD_WORKGROUP_LIST);
            if (SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) == 0) {
                MessageBoxA(GetHandle(), "最低一つのワークグループを選択してください。",
                            PROGRAM_TITLE, MB_OK | MB_ICONSTOP);
                break;
            }
            StartJob(Job::Computers);
        } else if (page == IDD_WIZARD_COMPUTERS) {
            StartJob(Job::Selection);
        }
        break;
    case IDC_WIZARD_RUN:
        TakeRegistrationChoice();
        StartJob(Job::Registration);
        break;
    case IDC_WIZARD_STOP:
        if (m_Finished)
            DestroyWindow(GetHandle());
        else
            m_Stop = 1;
        break;
    default:
        break;
    }
}

void TAddWizard::StartJob(Job job)
{
    if (m_Worker.IsRunning()) return;
    m_Worker.Release();
    m_Job = job;
    if (job == Job::Registration) {
        m_Stop = 0;
        HWND bar = GetDlgItem(GetPage(IDD_WIZARD_PROGRESS), IDC_WIZARD_PROGRESS_BAR);
        SendMessageA(bar, PBM_SETRANGE32, 0,
                     static_cast<LPARAM>(PROGRESS_STEPS_PER_COMPUTER * m_Chosen.size()));
        SendMessageA(bar, PBM_SETSTEP, 1, 0);
        SendMessageA(bar, PBM_SETPOS, 0, 0);
        m_Progress = m_Shown = TProgressState{};
        ShowPage(IDD_WIZARD_PROGRESS);
    } else {
        ShowPage(IDD_WIZARD_WAIT);
    }
    if (!m_Worker.Start(WorkerBody, this, THREAD_PRIORITY_LOWEST, 0, false)) JobDone(job, 0);
}

void TAddWizard::WorkerBody(void* owner)
{
    auto* wizard = static_cast<TAddWizard*>(owner);
    LPARAM result = 0;
    switch (wizard->m_Job) {
    case Job::Workgroups:
        result = wizard->ListWorkgroups();
        break;
    case Job::Computers:
        result = wizard->ListComputers();
        break;
    case Job::Selection:
        result = wizard->CopyCheckedRows();
        break;
    case Job::Registration:
        result = wizard->Register();
        break;
    }
    PostMessageA(wizard->GetHandle(), WM_WIZARD_JOB_DONE, static_cast<WPARAM>(wizard->m_Job),
                 result);
}

void TAddWizard::JobDone(Job job, LPARAM result)
{
    m_Worker.Join(INFINITE);
    m_Worker.Release();
    switch (job) {
    case Job::Workgroups:
        ShowPage(IDD_WIZARD_WORKGROUPS);
        break;
    case Job::Computers:
        ShowPage(IDD_WIZARD_COMPUTERS);
        break;
    case Job::Selection:
        if (result == 0) {
            MessageBoxA(GetHandle(), "登録するコンピュータを最低一つ選択してください。",
                        PROGRAM_TITLE, MB_OK | MB_ICONSTOP);
            ShowPage(IDD_WIZARD_COMPUTERS);
        } else {
            ShowPage(IDD_WIZARD_SETTINGS);
        }
        break;
    case Job::Registration:
        ShowFinished();
        break;
    }
}

void TAddWizard::StopWorker()
{
    m_Stop = 1;
    HANDLE thread = m_Worker.GetHandle();
    // The worker may be inside a window call to a page, which only this thread answers.
    while (thread && m_Worker.IsRunning()) {
        MSG message;
        if (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) ==
            WAIT_OBJECT_0 + 1)
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    m_Worker.Join(INFINITE);
    m_Worker.Release();
}

// ---- Workers ------------------------------------------------------------------------

LPARAM TAddWizard::ListWorkgroups()
{
    HWND list = GetDlgItem(GetPage(IDD_WIZARD_WORKGROUPS), IDC_WIZARD_WORKGROUP_LIST);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    m_Workgroups = ReadWorkgroups(*m_Services.browser);
    for (size_t k = 0; k < m_Workgroups.size(); ++k) {
        char name[ENTRY_TEXT_CHARS];
        CopyEntryText(name, m_Workgroups[k].Resource().lpRemoteName);
        int row = InsertRow(list, name, nullptr, static_cast<LPARAM>(k));
        LVITEMA state{};
        state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    }
    // Offered always, chosen only by the operator: it visits this computer's subnets.
    InsertRow(list, AUTO_SEARCH_ENTRY, nullptr, AUTO_SEARCH_ITEM);
    return static_cast<LPARAM>(m_Workgroups.size());
}

void TAddWizard::ShowFoundCount(unsigned long count)
{
    char text[96];
    snprintf(text, sizeof(text), "現在 %lu 台のコンピュータを検索しました。", count);
    HWND wait = GetDlgItem(GetPage(IDD_WIZARD_WAIT), IDC_WIZARD_WAIT_TEXT);
    SetWindowTextA(wait, text);
    UpdateWindow(wait);
}

void TAddWizard::AddComputerRow(const char* name, const char* workgroup,
                                const TWizardComputer& found)
{
    HWND list = GetDlgItem(GetPage(IDD_WIZARD_COMPUTERS), IDC_WIZARD_COMPUTER_LIST);
    m_Found.push_back(found);
    InsertRow(list, name, workgroup, static_cast<LPARAM>(m_Found.size() - 1));
    ShowFoundCount(static_cast<unsigned long>(m_Found.size()));
    Sleep(ROW_PAUSE_MS);
}

LPARAM TAddWizard::ListComputers()
{
    SetDlgItemTextA(GetPage(IDD_WIZARD_WAIT), IDC_WIZARD_WAIT_TEXT, "...");
    HWND list = GetDlgItem(GetPage(IDD_WIZARD_COMPUTERS), IDC_WIZARD_COMPUTER_LIST);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    m_Found.clear();
    HWND workgroups = GetDlgItem(GetPage(IDD_WIZARD_WORKGROUPS), IDC_WIZARD_WORKGROUP_LIST);
    auto keepGoing = [this] { return m_Stop == 0; };
    int rows = RowCount(workgroups);
    for (int row = 0; row < rows && keepGoing(); ++row) {
        if (!SendMessageA(workgroups, LVM_GETITEMSTATE, row, LVIS_SELECTED)) continue;
        LPARAM data = GetRowData(workgroups, row);
        if (data == AUTO_SEARCH_ITEM) {
            std::vector<TAdapterAddress> adapters;
            if (m_Services.adapters) adapters = m_Services.adapters();
            uint16_t port = m_Context.settings.port;
            for (TSweptHost& host :
                 SweepForCopies(SweepTargets(adapters), port, SWEEP_CONNECT_MS, SWEEP_QUERY_MS,
                                m_Services.macQuery, m_Services.resolver.byAddress, &m_Stop)) {
                char name[ENTRY_TEXT_CHARS];
                CopyEntryText(name, host.name);
                TWizardComputer found{TString(name), true, host.address, host.macs};
                AddComputerRow(name, AUTO_SEARCH_WORKGROUP, found);
            }
            continue;
        }
        if (data < 0 || static_cast<size_t>(data) >= m_Workgroups.size()) continue;
        TResourceBlock& workgroup = m_Workgroups[static_cast<size_t>(data)];
        char group[ENTRY_TEXT_CHARS];
        CopyEntryText(group, workgroup.Resource().lpRemoteName);
        ReadChildren(
            *m_Services.browser, workgroup.Container(),
            [&](const NETRESOURCEA& computer) {
                const char* remote = computer.lpRemoteName ? computer.lpRemoteName : "";
                if (remote[0] == '\\' && remote[1] == '\\') remote += 2;
                char name[ENTRY_TEXT_CHARS];
                CopyEntryText(name, remote);
                TWizardComputer found;
                found.name = TString(name);
                AddComputerRow(name, group, found);
            },
            keepGoing);
    }
    SetTotal(GetPage(IDD_WIZARD_COMPUTERS), static_cast<unsigned long>(m_Found.size()));
    return static_cast<LPARAM>(m_Found.size());
}

LPARAM TAddWizard::CopyCheckedRows()
{
    HWND from = GetDlgItem(GetPage(IDD_WIZARD_COMPUTERS), IDC_WIZARD_COMPUTER_LIST);
    HWND to = GetDlgItem(GetPage(IDD_WIZARD_SETTINGS), IDC_WIZARD_COMPUTER_LIST);
    SendMessageA(to, LVM_DELETEALLITEMS, 0, 0);
    unsigned long copied = 0;
    int rows = RowCount(from);
    for (int row = 0; row < rows; ++row) {
        // The state image 1 is the empty box; 2 the checked one.
        UINT state =
            static_cast<UINT>(SendMessageA(from, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
        if ((state >> 12) == 1 || (state >> 12) == 0) continue;
        char name[ENTRY_TEXT_CHARS], group[ENTRY_TEXT_CHARS];
        GetRowText(from, row, 0, name);
        GetRowText(from, row, 1, group);
        InsertRow(to, name, group, GetRowData(from, row));
        ++copied;
    }
    SetTotal(GetPage(IDD_WIZARD_SETTINGS), copied);
    return static_cast<LPARAM>(copied);
}

void TAddWizard::TakeRegistrationChoice()
{
    HWND settings = GetPage(IDD_WIZARD_SETTINGS);
    m_Mode = IsDlgButtonChecked(settings, IDC_WIZARD_ADDRESS_ONLY) ? REGISTER_ADDRESS
             : IsDlgButtonChecked(settings, IDC_WIZARD_NAME_AND_ADDRESS)
                 ? REGISTER_NAME | REGISTER_ADDRESS
                 : REGISTER_NAME;
    m_WithMacs = IsDlgButtonChecked(settings, IDC_WIZARD_FETCH_MACS) == BST_CHECKED;
    HWND list = GetDlgItem(settings, IDC_WIZARD_COMPUTER_LIST);
    m_Chosen.clear();
    int rows = RowCount(list);
    for (int row = 0; row < rows; ++row) {
        char name[ENTRY_TEXT_CHARS];
        GetRowText(list, row, 0, name);
        LPARAM data = GetRowData(list, row);
        TWizardComputer computer;
        if (data >= 0 && static_cast<size_t>(data) < m_Found.size())
            computer = m_Found[static_cast<size_t>(data)];
        computer.name = TString(name);
        m_Chosen.push_back(std::move(computer));
    }
}

// The progress as the registration's thread reports it: kept under the wizard's progress
// lock and shown by the main thread when its post arrives.
class TAddWizard::TProgressReport : public TRegistrationView {
public:
    explicit TProgressReport(TAddWizard& wizard) : m_Wizard(wizard) {}
    void ShowComputer(const char* name) override
    {
        Change([name](TProgressState& state) { state.computer = name; });
    }
    void ShowStep(const char* step) override
    {
        Change([step](TProgressState& state) { state.step = step; });
    }
    void Step() override
    {
        Change([](TProgressState& state) { ++state.steps; });
    }

private:
    template <typename Edit> void Change(Edit edit)
    {
        EnterCriticalSection(&m_Wizard.m_ProgressLock);
        edit(m_Wizard.m_Progress);
        LeaveCriticalSection(&m_Wizard.m_ProgressLock);
        if (!m_Wizard.m_ProgressPosted.exchange(true))
            PostMessageA(m_Wizard.GetHandle(), WM_WIZARD_PROGRESS, 0, 0);
    }
    TAddWizard& m_Wizard;
};

LPARAM TAddWizard::Register()
{
    TProgressReport view(*this);
    TRegistrationServices services;
    services.resolver = m_Services.resolver;
    services.fetchMacs = m_Services.fetchMacs;
    TClientCore& client = m_Context.client;
    services.add = [&client](const TDestination& record) { client.AddDestination(record); };
    unsigned long added = RegisterComputers(m_Chosen, m_Mode, m_WithMacs, m_Stop, view, services);
    m_Stop = 1;
    return static_cast<LPARAM>(added);
}

void TAddWizard::ShowProgress()
{
    m_ProgressPosted = false;
    EnterCriticalSection(&m_ProgressLock);
    TProgressState state = m_Progress;
    LeaveCriticalSection(&m_ProgressLock);
    HWND page = GetPage(IDD_WIZARD_PROGRESS);
    if (state.computer != m_Shown.computer)
        SetDlgItemTextA(page, IDC_WIZARD_CURRENT, state.computer);
    if (state.step != m_Shown.step) SetDlgItemTextA(page, IDC_WIZARD_STEP, state.step);
    if (state.steps != m_Shown.steps)
        SendDlgItemMessageA(page, IDC_WIZARD_PROGRESS_BAR, PBM_SETPOS, state.steps, 0);
    m_Shown = state;
}

void TAddWizard::ShowFinished()
{
    ShowProgress();
    HWND page = GetPage(IDD_WIZARD_PROGRESS);
    SetDlgItemTextA(page, IDC_WIZARD_CURRENT, "完了");
    SetDlgItemTextA(page, IDC_WIZARD_STEP, "");
    SetDlgItemTextA(page, IDC_WIZARD_STOP, "完了");
    m_Finished = true;
}

// ---- The window ---------------------------------------------------------------------

void TAddWizard::Compose(TMemDC& canvas) { ComposeFrameArt(canvas, m_Skin, m_Context.appActive); }

void TAddWizard::PaintCanvas(HDC screen, TMemDC& canvas, const RECT& client)
{
    PaintCaptionStrip(screen, canvas, client.right, m_Skin, "接続先追加ウィザード");
}

int TAddWizard::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_NCHITTEST:
        // Dragged by any point the pages leave uncovered, as by a caption.
        *result = HTCAPTION;
        return 1;
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
        Repaint(1);
        return 0;
    case WM_WIZARD_PROGRESS:
        ShowProgress();
        return 1;
    case WM_WIZARD_JOB_DONE:
        JobDone(static_cast<Job>(wParam), lParam);
        return 1;
    case WM_DESTROY:
        StopWorker();
        if (g_AddWizard == this) g_AddWizard = nullptr;
        return 0;
    default:
        return 0;
    }
}
