// Saving a file so that a stop in the middle never leaves a truncated file behind.
#pragma once

// Writes the whole image to a temporary file in the same folder, flushes it, then
// moves it over path. 1 when path now holds the image; 0 leaves the old file as it was.
int ReplaceFileContents(const char* path, const void* data, unsigned long size);
