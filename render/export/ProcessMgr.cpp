#include "render/export/ProcessMgr.h"

#include <algorithm>
#include <climits>
#include <string>

#include "platform/MessageBox.h"
#include "render/export/ExportMix.h"
#include "render/synth/ISynth.h"
#include "shell/services/LanguageMgr.h"

void SynthsProcessMgr::start() {
    for (ISynth* synth : synths()) synth->start();
}

void SynthsProcessMgr::cancel() {
    for (ISynth* synth : synths()) synth->stop();
    for (ExportMix* out : outputs()) out->abandon();
}

int SynthsProcessMgr::progress() {
    lastProgress_ = 100;
    const std::vector<ISynth*> list = synths();
    if (list.empty()) return lastProgress_;
    // 64-bit sums: many long outputs exceed an int together.
    int64_t total = 0;
    int64_t done = 0;
    for (ISynth* synth : list) {
        int count = 0;
        synth->getOutput(&count);
        total += std::max(count, 0);
        done += std::clamp(synth->samplesDone(), 0, std::max(count, 0));
    }
    if (done != total) {
        const auto p = static_cast<int64_t>(static_cast<double>(done) * 100.0 / static_cast<double>(total));
        lastProgress_ = static_cast<int>(std::clamp<int64_t>(p, 0, 99));
    }
    return lastProgress_;
}

int SynthsProcessMgr::writtenShare() {
    int64_t total = 0;
    int64_t written = 0;
    for (const ExportMix* out : outputs()) {
        total += out->totalFrames();
        written += out->writtenFrames();
    }
    if (total == 0) return lastProgress_;
    if (written >= total) return 100;
    return static_cast<int>(std::clamp<int64_t>(written * 100 / total, 0, 99));
}

CString SynthsProcessMgr::statusText() {
    return translate(lastProgress_ == 100 ? "writing file" : "synthesizing") + u"...";
}

bool SynthsProcessMgr::deliver() {
    bool complete = true;
    for (ExportMix* out : outputs())
        complete = out->advance(kBlocksPerDelivery, isFinished()) && complete;
    return complete;
}

void SynthsProcessMgr::finish() {
    if (finished_) return;
    finished_ = true;
    for (ExportMix* out : outputs()) {
        out->advance(INT_MAX, true);
        if (out->dropped()) continue;
        if (out->failed()) {
            failed_ = true;
            showExportFailure(out->path(), out->failure());
        } else if (out->clippedSamples() > 0) {
            showMessageBox(out->path() + u"\n" +
                               CString::fromUtf8(std::to_string(out->clippedSamples()) +
                                                 " samples were clipped: the mix is louder than 16 bits can hold"),
                           CString(u"-_-!"), MbButtons::ok, MbIcon::warning);
        }
    }
}
