// The connection-list file ("FNCL"): a whole destination list on disk.
#pragma once

#include "app/TDestination.h"

// records: a TMemoryBase of TDestination pointers in list order; the caller holds the
// client's critical section around each call.

// The file image of count records.
void WriteListImage(TDestination* const* records, unsigned long count, TMemoryBase& image);
// Appends the records of a file image as new TDestination objects. Returns 0 (nothing
// added) for a wrong tag or version. A record that runs past the end of the image
// ends the reading: the records before it are kept, the rest counts as damaged.
int ReadListImage(const unsigned char* image, unsigned long size, TMemoryBase& records);

// Writes the whole image to a temporary file and then replaces path with it, so a
// stop in the middle leaves the old file whole. 1 when path holds the list.
int SaveListFile(const char* path, const TMemoryBase& records);
// Appends the file's records (see ReadListImage); a missing file is created empty.
// Returns 1 when the file had the right tag and version.
int LoadListFile(const char* path, TMemoryBase& records);
