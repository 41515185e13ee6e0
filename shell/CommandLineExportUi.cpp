#include "shell/CommandLineExportUi.h"

#include <cstdio>

#include "platform/MessageBox.h"
#include "shell/Interrupt.h"
#include "shell/SynthProgressDlg.h"

bool CommandLineExportUi::selectExportTracks(const std::vector<ExportTrackRow>& rows, std::vector<int>& chosen) {
    chosen.clear();
    if (tracks.empty()) {
        for (const ExportTrackRow& row : rows) chosen.push_back(row.trackIndex);
        return true;
    }
    chosen = tracks;
    return true;
}

bool CommandLineExportUi::showSaveFileDlg(const CString&, const std::vector<FileFilter>&, const CString&,
                                          CString& path) {
    path = outputPath;
    return !path.isEmpty();
}

bool CommandLineExportUi::showBrowseFolderDlg(const CString&, const CString&, CString& chosen) {
    chosen = folder;
    return !chosen.isEmpty();
}

bool CommandLineExportUi::askYesNo(const CString& text, const CString& caption) {
    HeadlessMessageBoxService box;
    box.yesNoAnswer = overwrite ? MbResult::yes : MbResult::no;
    if (box.show(text, caption, MbButtons::yesNo, MbIcon::question) == MbResult::yes) return true;
    std::fputs("halvoren: existing files are kept; --overwrite replaces them\n", stderr);
    return false;
}

bool CommandLineExportUi::runProgress(IProcessMgr& job) {
    const PolledInterrupt polled;
    CSynthProgressDlg dlg({.cancelRequested = [] { return interruptRequested(); }, .bar = progressBar});
    dlg.processMgr = &job;
    return dlg.doModal() == CSynthProgressDlg::IDOK;
}
