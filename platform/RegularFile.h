#pragma once
// Opening files for reading only when they are regular files: a FIFO, a
// device or a folder found where a file is expected is refused at once
// instead of blocking the reader or feeding it without end.
#include <cstdio>
#include <string>

#include "platform/CString.h"

// The file opened with the given read mode ("r" or "rb"); null when it is
// missing, unreadable or not a regular file. Never blocks on the open.
FILE* openRegularFile(const CString& path, const char* mode);

// Why openRegularFile refuses the path: the system's text for the error of
// the open ("No such file or directory", "Permission denied"), "Is a
// directory" for a folder, "not a regular file" for a device, socket or
// FIFO; empty when it opens.
std::string regularFileProblem(const CString& path);

// The system's text for an error number ("No space left on device").
std::string systemErrorText(int error);
