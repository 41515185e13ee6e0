#include "shell/ClipsNotLoaded.h"

#include <string>

#include "model/document/SSSynthesizerDoc.h"
#include "platform/MessageBox.h"
#include "shell/RenderChecks.h"

using namespace HVCurrentModel;

namespace {

const char* reasonOf(ClipLoad result) {
    return result == ClipLoad::tooLarge ? "too large to hold" : "cannot be read";
}

}  // namespace

void nameClipsNotLoaded(const CSSSynthesizerDoc& doc) {
    std::string text;
    const HalvorenModel& model = *doc.getModel();
    for (size_t t = 0; t < model.tracks.size(); ++t) {
        const Track& track = *model.tracks[t];
        if (track.kind != kInstrumentTrack || track.instSegs == nullptr) continue;
        for (size_t i = 0; i < track.instSegs->size(); ++i) {
            const InstrumentSegment& seg = *track.instSegs->segAt(i);
            if (seg.clipLoad != ClipLoad::unreadable && seg.clipLoad != ClipLoad::tooLarge) continue;
            text += "\n" + trackLabel(doc, t) + ", " + placeOf(doc, seg.pos) + ": " + seg.audioPath + " (" +
                    reasonOf(seg.clipLoad) + ")";
        }
    }
    if (text.empty()) return;
    showMessageBox(CString::fromUtf8("These clips are not loaded; their segments stay in the project and play as "
                                     "silence:" + text),
                   CString(u"-_-!"), MbButtons::ok, MbIcon::warning);
}
