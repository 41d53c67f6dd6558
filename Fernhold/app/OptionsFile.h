// The options file: the persistent settings of the application object in "FNAP"/"FNST" form.
#pragma once

#include "net/TFernSettings.h"

// Reads path into settings. A missing file, a wrong tag, a version below 50 or an
// application section cut short leaves every setting as it was; a damaged string
// section (wrong tag or version, n of 0, n beyond the end) keeps the list-file name.
// The loaded connection state is always idle.
void ReadOptionsFile(const char* path, TFernSettings& settings);
// Writes the settings as version 54; 1 on success, 0 leaves the old file untouched.
int WriteOptionsFile(const char* path, const TFernSettings& settings);
