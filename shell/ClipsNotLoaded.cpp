#include "shell/ClipsNotLoaded.h"

#include <string>

#include "model/document/SSSynthesizerDoc.h"
#include "platform/MessageBox.h"
#include "platform/RegularFile.h"
#include "shell/RenderChecks.h"

using namespace HVCurrentModel;

namespace {

// Why the segment's clip is not loaded; for a file that cannot be read, the
// system's reason when opening it fails.
std::string reasonOf(const InstrumentSegment& seg) {
    if (seg.clipLoad == ClipLoad::tooLarge) return "too large to hold";
    const std::string problem = regularFileProblem(CString::fromPathBytes(seg.audioPath));
    return problem.empty() ? "cannot be read" : "cannot be read: " + problem;
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
                    reasonOf(seg) + ")";
        }
    }
    if (text.empty()) return;
    showMessageBox(CString::fromPathBytes("These clips are not loaded; their segments stay in the project and play as "
                                     "silence:" + text),
                   CString(u"-_-!"), MbButtons::ok, MbIcon::warning);
}
