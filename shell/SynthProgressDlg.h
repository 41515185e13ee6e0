#pragma once
// The export's progress: starts the job, then polls it every 10 ms, writing
// what its synthesizers have delivered, until its output is complete or the
// user cancels (the job is cancelled). On a terminal it draws a progress bar
// of the output written, titled with the file format, on standard error
// every 200 ms.
#include <chrono>
#include <cstdio>
#include <functional>

#include "platform/CString.h"

class IProcessMgr;

class CSynthProgressDlg {
public:
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;

    struct Options {
        // Polled between the ticks; true cancels the export.
        std::function<bool()> cancelRequested = [] { return false; };
        // Where the bar is drawn; null draws none.
        std::FILE* bar = nullptr;
        std::chrono::milliseconds interval{200};
    };

    explicit CSynthProgressDlg(Options options) : options_(std::move(options)) {}

    // IDOK once the job is finished and has written its output; IDCANCEL
    // when cancelled (after cancel()) or without a job.
    int doModal();

    IProcessMgr* processMgr = nullptr;

private:
    void drawBar(int position);
    void endBar();

    Options options_;
    CString title_;
};
