// What one updater run does, without its window: the version check, the folders, the
// copies with their retries, the description, the clean-up and the restart.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

// Copies after the first that a locked target gets, one pause apart.
constexpr int COPY_RETRIES = 10;
constexpr DWORD COPY_RETRY_PAUSE_MS = 1000;

// Where a run reports its progress (the dialog's bar); called on the run's thread.
class TUpdateProgress {
public:
    virtual void SetRange(uint32_t files) = 0;
    virtual void SetPosition(uint32_t file) = 0;

protected:
    ~TUpdateProgress() = default;
};

// Called after each failed copy with the number of failures so far; the default sleeps
// COPY_RETRY_PAUSE_MS.
using CopyPause = std::function<void(int failures)>;

// 1 when the staged description's FileVersion is above the installed one (unsigned).
int IsStagedUpdateNewer();
// Copies staged over target, replacing it; a failed copy is tried again up to
// COPY_RETRIES times with pause between. Returns the attempt that succeeded (1 ... 11),
// or 0 when every attempt failed and the target was left as it was.
int CopyOverTarget(const char* staged, const char* target, const CopyPause& pause);
// The run between the check and the restart, in the current directory: folders, copies,
// the description installed, the staged files removed. A description that asks for more
// than MAX_UPDATE_ENTRIES files or folders is not used at all: nothing is touched.
// Entries whose paths break the description's rules are skipped.
void InstallStagedUpdate(TUpdateProgress& progress, const CopyPause& pause);
// Starts Fernhold.exe from the current directory; the outcome goes to the debugger.
void StartMainProgram();
