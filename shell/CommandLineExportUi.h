#pragma once
// The export dialogs answered from the command line: the chosen tracks, the
// output file and folder are given; "replace it?" is answered by
// --overwrite; the progress runs until done or Ctrl-C.
#include <cstdio>

#include "shell/ExportUi.h"

class CommandLineExportUi : public IExportUi {
public:
    bool selectExportTracks(const std::vector<ExportTrackRow>& rows, std::vector<int>& chosen) override;
    bool showSaveFileDlg(const CString& defaultExt, const std::vector<FileFilter>& filters, const CString& title,
                         CString& path) override;
    bool showBrowseFolderDlg(const CString& title, const CString& initialFolder, CString& folder) override;
    // Prints the question as a message box does, with the answer.
    bool askYesNo(const CString& text, const CString& caption) override;
    bool runProgress(IProcessMgr& job) override;

    std::vector<int> tracks;  // 0-based; empty: every row
    CString outputPath;
    CString folder;
    bool overwrite = false;
    std::FILE* progressBar = nullptr;  // null: no bar
};
