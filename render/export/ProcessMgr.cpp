#include "render/export/ProcessMgr.h"

#include <algorithm>

#include "render/synth/ISynth.h"
#include "shell/services/LanguageMgr.h"

int synthsProgress(const std::vector<ISynth*>& synths) {
    if (synths.empty()) return 100;
    // 64-bit sums: many long outputs exceed an int together.
    int64_t total = 0;
    int64_t done = 0;
    for (ISynth* synth : synths) {
        int count = 0;
        synth->getOutput(&count);
        total += std::max(count, 0);
        done += std::clamp(synth->samplesDone(), 0, std::max(count, 0));
    }
    if (done == total) return 100;
    const auto p = static_cast<int64_t>(static_cast<double>(done) * 100.0 / static_cast<double>(total));
    return static_cast<int>(std::clamp<int64_t>(p, 0, 99));
}

CString progressStatusText(int progress) {
    return translate(progress == 100 ? "writing file" : "synthesizing") + u"...";
}
