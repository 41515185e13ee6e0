#pragma once
// Path pieces for the export file names. Paths use "/" here.
#include <cstddef>

#include "platform/CString.h"

// The text after the last "/"; empty when there is none.
CString getFileNameOfPath(const CString& path);
// The text up to and including the last "/"; empty when there is none.
CString getFolderOfPath(const CString& path);
// Removes \ / : * ? " < > | and the control characters (below U+0020, and
// U+007F) from the text.
void removeInvalidFileNameChars(CString& text);
// stem + ext, the stem shortened from its end until the name takes at most
// maxBytes bytes as a path (CString::toPathBytes).
CString fitFileName(const CString& stem, const CString& ext, size_t maxBytes);
// The longest file name, in bytes, the folder's file system takes.
inline constexpr size_t kDefaultFileNameLimit = 255;
size_t fileNameLimit(const CString& folder);
// The file name of a project path without ".ot" or ".hv" (any case) when it
// ends with one; empty for an unsaved project.
CString projectBaseName(const CString& projectPath);
