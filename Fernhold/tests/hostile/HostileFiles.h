// Whole-file helpers and the scratch folder of the hostile-input targets.
#pragma once

#include "HostileTarget.h"

#include <string>

// A path in this process's scratch folder (made on first use).
std::string HostilePath(const char* name);
// Writes the file anew; false when it could not be written whole.
bool WriteBytes(const std::string& path, const Bytes& bytes);
// The file's bytes; empty for a missing file (exists says which).
Bytes ReadBytes(const std::string& path, bool* exists = nullptr);
void PutLE32(Bytes& out, uint32_t value);
