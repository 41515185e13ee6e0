#pragma once
// The program's folder. The "config", "language", "singers" and "dict"
// folders hang under it. The environment variable HALVOREN_HOME, when set and
// not empty, takes its place, so tests and users can point it elsewhere.
#include "platform/CString.h"

// The folder without a trailing separator.
CString getExeDir();
// For tests: an explicit folder wins over both; an empty one clears it.
void setExeDirOverride(const CString& folder);
