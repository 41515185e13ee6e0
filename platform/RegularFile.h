#pragma once
// Opening files for reading only when they are regular files: a FIFO, a
// device or a folder found where a file is expected is refused at once
// instead of blocking the reader or feeding it without end.
#include <cstdio>

#include "platform/CString.h"

// The file opened with the given read mode ("r" or "rb"); null when it is
// missing, unreadable or not a regular file. Never blocks on the open.
FILE* openRegularFile(const CString& path, const char* mode);
