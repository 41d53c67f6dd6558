// Updater run: check, folders, copies, description, clean-up, restart.
#include "Updater.h"

#include "FRNUpdate/StartLog.h"
#include "FRNUpdate/UpdateDescription.h"

#include <Keelwork/TString.h>

int IsStagedUpdateNewer()
{
    return ReadDescriptionVersion(STAGED_DESCRIPTION) >
           ReadDescriptionVersion(INSTALLED_DESCRIPTION);
}

int CopyOverTarget(const char* staged, const char* target, const CopyPause& pause)
{
    for (int attempt = 1;; ++attempt) {
        if (CopyFileA(staged, target, FALSE)) return attempt;
        if (attempt > COPY_RETRIES) return 0;
        pause(attempt);
    }
}

void InstallStagedUpdate(TUpdateProgress& progress, const CopyPause& pause)
{
    if (!IsDescriptionBounded(STAGED_DESCRIPTION)) return;
    uint32_t folders = ReadFolderCount(STAGED_DESCRIPTION);
    for (uint32_t i = 0; i < folders; ++i) {
        TString folder;
        // An existing folder fails with ERROR_ALREADY_EXISTS, which is no error here.
        if (ReadFolderEntry(STAGED_DESCRIPTION, i, folder)) CreateDirectoryA(folder, nullptr);
    }
    uint32_t files = ReadFileCount(STAGED_DESCRIPTION);
    progress.SetRange(files);
    progress.SetPosition(0);
    for (uint32_t i = 0; i < files; ++i) {
        progress.SetPosition(i);
        Sleep(0);
        TString target;
        TString staged;
        if (ReadFileEntry(STAGED_DESCRIPTION, i, target, staged) &&
            GetFileAttributesA(staged) != INVALID_FILE_ATTRIBUTES)
            CopyOverTarget(staged, target, pause);
    }
    CopyFileA(STAGED_DESCRIPTION, INSTALLED_DESCRIPTION, FALSE);
    // Read from the description now installed: the same entries as above.
    files = ReadFileCount(INSTALLED_DESCRIPTION);
    for (uint32_t i = 0; i < files; ++i) {
        TString target;
        TString staged;
        if (ReadFileEntry(INSTALLED_DESCRIPTION, i, target, staged)) DeleteFileA(staged);
    }
}

void StartMainProgram()
{
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    char commandLine[1] = {'\0'};
    CreateProcessA("Fernhold.exe", commandLine, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                   nullptr, nullptr, &startup, &started);
    LogProcessStart();
    if (started.hProcess) CloseHandle(started.hProcess);
    if (started.hThread) CloseHandle(started.hThread);
}
