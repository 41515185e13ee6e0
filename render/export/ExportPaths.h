#pragma once
// Path pieces for the export file names. Paths use "/" here.
#include "platform/CString.h"

// The text after the last "/"; empty when there is none.
CString getFileNameOfPath(const CString& path);
// The text up to and including the last "/"; empty when there is none.
CString getFolderOfPath(const CString& path);
// Removes \ / : * ? " < > | from the text.
void removeInvalidFileNameChars(CString& text);
// The file name of a project path without ".ot" or ".hv" (any case) when it
// ends with one; empty for an unsaved project.
CString projectBaseName(const CString& projectPath);
