#include "shell/SynthProgressDlg.h"

#include <algorithm>
#include <string>
#include <thread>

#include "render/export/ProcessMgr.h"
#include "shell/services/LanguageMgr.h"

namespace {
constexpr int kBarWidth = 30;
// The cancel request and the job's completion are looked at this often.
constexpr std::chrono::milliseconds kPoll{10};
}  // namespace

int CSynthProgressDlg::doModal() {
    if (processMgr == nullptr) return IDCANCEL;
    title_ = translate("Export") + u" " + processMgr->formatName();
    processMgr->start();
    drawBar(0);
    // Completion is looked at on every poll and the delivered blocks are
    // written as they come; the bar is drawn on its tick. The progress (and
    // with it the status drawn) is taken after the blocks are written:
    // outputs written whole hold every synthesizer's output to its end, so
    // the progress taken after them is 100 and the last line tells the
    // synthesis done, wherever the synthesizers' ends fall between polls.
    auto tick = std::chrono::steady_clock::now() + options_.interval;
    for (;;) {
        if (options_.cancelRequested()) {
            processMgr->cancel();
            endBar();
            return IDCANCEL;
        }
        const bool complete = processMgr->deliver();
        processMgr->progress();
        const int position = processMgr->writtenShare();
        const auto now = std::chrono::steady_clock::now();
        if (complete || now >= tick) {
            drawBar(position);
            tick = now + options_.interval;
        }
        if (complete) {
            processMgr->finish();
            endBar();
            return IDOK;
        }
        if (!processMgr->isFinished()) std::this_thread::sleep_for(std::min(kPoll, options_.interval));
    }
}

void CSynthProgressDlg::drawBar(int position) {
    if (options_.bar == nullptr) return;
    const int filled = std::clamp(position, 0, 100) * kBarWidth / 100;
    const std::string bar = std::string(static_cast<size_t>(filled), '#') + std::string(kBarWidth - filled, '-');
    const std::string status = processMgr->statusText().toUtf8();
    // \r and clear-to-end redraw the one line in place.
    std::fprintf(options_.bar, "\r\x1b[K%s [%s] %s %d%%", title_.toUtf8().c_str(), bar.c_str(), status.c_str(),
                 position);
    std::fflush(options_.bar);
}

void CSynthProgressDlg::endBar() {
    if (options_.bar == nullptr) return;
    std::fputc('\n', options_.bar);
    std::fflush(options_.bar);
}
