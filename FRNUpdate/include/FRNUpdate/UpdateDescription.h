// The update description (Update.ini): its names, limits and readers, and the rules that
// keep every path it names inside the program folder. Shared by the serving side, the
// fetching side and the updater, so all three accept exactly the same entries.
#pragma once

#include <Keelwork/TString.h>

#include <cstdint>

// Paths relative to the program folder, which both programs make their current directory.
constexpr char INSTALLED_DESCRIPTION[] = "./Update.ini";
constexpr char STAGED_DESCRIPTION[] = "./UpdateFiles/Update.ini";
constexpr char STAGING_FOLDER[] = "UpdateFiles";

// Bounds of what a description may ask for: more files or folders than this, a file
// larger than MAX_UPDATE_FILE_BYTES or a description larger than MAX_DESCRIPTION_BYTES is
// refused instead of being walked, allocated or received.
constexpr uint32_t MAX_UPDATE_ENTRIES = 10000;
constexpr uint32_t MAX_UPDATE_FILE_BYTES = 256u * 1024 * 1024;
constexpr uint32_t MAX_DESCRIPTION_BYTES = 1024 * 1024;
// Values are read into buffers of this many characters.
constexpr unsigned long DESCRIPTION_VALUE_CHARS = 1024;

// "FileVersion" of "UPDATEINFO"; 0 for a missing file or key.
uint32_t ReadDescriptionVersion(const char* description);
// "AllFileCount" and "AllFolderCount" of "UPDATEINFO" as written (0 when absent).
uint32_t ReadFileCount(const char* description);
uint32_t ReadFolderCount(const char* description);
// 1 when both counts are within MAX_UPDATE_ENTRIES.
int IsDescriptionBounded(const char* description);

// Entry i of the file list: "FILE_<i>" of "DESFILE" (target) and of "SRCFILE" (staged
// copy). Returns 1 when both are non-empty and obey the rules below; otherwise 0, and
// the entry is to be skipped.
int ReadFileEntry(const char* description, uint32_t index, TString& target, TString& staged);
// "FILE_<i>" of "DESFILE" alone, for the serving side; 1 when non-empty and inside.
int ReadTargetEntry(const char* description, uint32_t index, TString& target);
// "FOLDER_<i>" of "FOLDER"; 1 when non-empty and inside the program folder.
int ReadFolderEntry(const char* description, uint32_t index, TString& folder);

// A relative path that stays inside the program folder: no drive, no root, no UNC name,
// no ':' (drives, streams), no ".." (nor a name of dots and blanks, which the platform
// reads as one), no device name (CON, NUL, COM1 ...), no control characters.
int IsInsideProgramFolder(const char* path);
// Inside the program folder and below "UpdateFiles", but not the staged description
// itself, which a file entry must never overwrite.
int IsInsideStagingFolder(const char* path);
