// The add-destination wizard: a borderless window of six pages that finds computers on the
// network and registers the chosen ones in bulk.
#pragma once

#include "net/NetworkBrowser.h"
#include "net/SubnetSweep.h"
#include "net/TWorkerThread.h"
#include "ui/TSkinWindow.h"
#include "ui/WizardRegistration.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

// Where the wizard's workers reach the network; the program uses the system's, tests
// their own.
struct TWizardServices {
    TNetworkBrowser* browser = nullptr;
    THostResolver resolver;
    // The registration's MAC fetch of a named computer (empty: none fetched).
    std::function<void(TDestination&)> fetchMacs;
    // The sweep's question to each copy that answers (empty: the sweep lists nobody).
    TMacQuery macQuery;
    // This computer's adapter addresses, the only subnets the sweep visits.
    std::function<std::vector<TAdapterAddress>()> adapters;
};

// The system's enumeration, name lookups, adapters and MAC fetches.
TWizardServices SystemWizardServices();

// The entry of page 141 that sweeps this computer's own subnets, and the workgroup column
// of what it finds.
constexpr char AUTO_SEARCH_ENTRY[] = "Fernhold 自動検索（このネットワーク）";
constexpr char AUTO_SEARCH_WORKGROUP[] = "自動検索";

// At most one exists (Current()); the window's registry holds it, and its WM_NCDESTROY
// frees it. Created and driven on the main thread; its workers run one at a time on a
// thread of their own and reach the pages only through window calls and posted results.
// Destroying the window (cancel, "完了", or the main window's end) first stops the worker.
class TAddWizard : public TSkinWindow {
public:
    // UM_SHOW_WIZARD, once the rights allow it: shows a new wizard on page 140 owned by the
    // context's main window. Nothing when one exists. 1 when a wizard was made.
    static int Open(TUiContext& context, const TWizardServices& services);
    static TAddWizard* Current();

    // Page 140 to 145 by its dialog number (null for others).
    HWND GetPage(int dialog) const;

protected:
    void Compose(TMemDC& canvas) override;
    void PaintCanvas(HDC screen, TMemDC& canvas, const RECT& client) override;
    int OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    enum class Job { Workgroups, Computers, Selection, Registration };

    TAddWizard(TUiContext& context, const TWizardServices& services);
    ~TAddWizard() override;
    int Create();
    int CreatePages();
    static INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
    void OnPageCommand(int page, int control);
    void ShowPage(int dialog);
    // Shows page 145 and runs the job on the worker thread; nothing while one runs.
    void StartJob(Job job);
    static void WorkerBody(void* owner);
    // Main thread: a job ended (its posted result); shows the next page.
    void JobDone(Job job, LPARAM result);
    // Sets the stop flag and waits for the worker, answering its window calls meanwhile.
    void StopWorker();

    // Worker thread: the four jobs. The counts they return come back to JobDone.
    LPARAM ListWorkgroups();
    LPARAM ListComputers();
    LPARAM CopyCheckedRows();
    LPARAM Register();
    // Worker thread: one computer row on page 142 and its data for the registration.
    void AddComputerRow(const char* name, const char* workgroup, const TWizardComputer& found);
    void ShowFoundCount(unsigned long count);
    // Main thread: the registration's latest progress on page 144 (what changed of it).
    void ShowProgress();
    // Main thread, once the registration has ended: "完了", and the button now closes.
    void ShowFinished();
    // Main thread, "実行": the rows of page 143, the mode and the MAC switch.
    void TakeRegistrationChoice();

    class TProgressReport;
    // Texts are literals or names of m_Chosen, which outlive the registration.
    struct TProgressState {
        const char* computer = "";
        const char* step = "";
        int steps = 0;
    };

    TWizardServices m_Services;
    HWND m_Pages[6] = {};
    std::vector<TResourceBlock> m_Workgroups;
    // The computers of page 142 (a row's item data is its index here); the worker that
    // fills it runs alone, and the main thread reads it only between jobs.
    std::vector<TWizardComputer> m_Found;
    // What "実行" took from page 143; unchanged while the registration runs, so the progress
    // page may show its names by pointer.
    std::vector<TWizardComputer> m_Chosen;
    unsigned m_Mode = REGISTER_NAME;
    bool m_WithMacs = true;
    Job m_Job = Job::Workgroups;
    TWorkerThread m_Worker;
    // Set by the progress page's button and by the registration when it ends; read by
    // the worker between steps.
    std::atomic<uint32_t> m_Stop{0};
    // The registration has ended and page 144 says so: its button now closes the wizard.
    bool m_Finished = false;
    CRITICAL_SECTION m_ProgressLock;
    TProgressState m_Progress;
    TProgressState m_Shown;
    std::atomic<bool> m_ProgressPosted{false};
};
