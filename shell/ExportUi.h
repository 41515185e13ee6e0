#pragma once
// The dialogs of the export commands behind one interface, so that a window
// system, the command line or a test can answer them.
#include <vector>

#include "platform/CString.h"

class IProcessMgr;

// One row of the track selection: the track's name, its index and its kind.
struct ExportTrackRow {
    CString name;
    int trackIndex = 0;
    CString kind;
};

// One entry of the save dialog's type list: the text shown and its patterns.
struct FileFilter {
    CString text;
    CString patterns;
};

class IExportUi {
public:
    virtual ~IExportUi() = default;
    // The chosen track indices in row order; false when the selection is cancelled.
    virtual bool selectExportTracks(const std::vector<ExportTrackRow>& rows, std::vector<int>& chosen) = 0;
    // False (or an empty path) when cancelled.
    virtual bool showSaveFileDlg(const CString& defaultExt, const std::vector<FileFilter>& filters,
                                 const CString& title, CString& path) = 0;
    // False when cancelled.
    virtual bool showBrowseFolderDlg(const CString& title, const CString& initialFolder, CString& folder) = 0;
    // A Yes/No question with the question icon; true for Yes.
    virtual bool askYesNo(const CString& text, const CString& caption) = 0;
    // Runs the job to its end (true: the job finished and wrote its output)
    // or until the user cancels it (false).
    virtual bool runProgress(IProcessMgr& job) = 0;
};
