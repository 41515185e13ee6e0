#include "shell/ClipsNotLoaded.h"

#include <string>

#include "model/audio/AudioFileLoader.h"
#include "model/document/SSSynthesizerDoc.h"
#include "platform/MessageBox.h"
#include "platform/RegularFile.h"
#include "shell/RenderChecks.h"

using namespace HVCurrentModel;

namespace {

// Why a file could not be opened, with the system's reason.
std::string unreadable(const std::string& file) {
    const std::string problem = regularFileProblem(CString::fromPathBytes(file));
    return problem.empty() ? "cannot be read" : "cannot be read: " + problem;
}

// Why the segment's clip is not loaded: why its stored file could not be
// opened and, when the file of its name beside the project was tried in its
// place, that file and why it was not loaded either.
std::string reasonOf(const InstrumentSegment& seg) {
    const std::string& tried = seg.clipFile.empty() ? seg.audioPath : seg.clipFile;
    std::string reason;
    switch (seg.clipLoad) {
        case ClipLoad::tooLarge: reason = "too large to hold"; break;
        case ClipLoad::undecodable:
            reason = isClipFileName(CString::fromPathBytes(tried))
                         ? "cannot be decoded"
                         : "cannot be decoded: only .wav and .mp3 files are read";
            break;
        default: reason = unreadable(tried); break;
    }
    if (tried == seg.audioPath) return reason;
    return unreadable(seg.audioPath) + "; " + tried + ": " + reason;
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
            if (!clipNotLoaded(seg.clipLoad)) continue;
            // Appended in turn rather than as one sum that starts with a
            // literal, which gcc 12 at -O3 wrongly warns may copy over itself.
            text.append("\n").append(trackLabel(doc, t)).append(", ").append(placeOf(doc, seg.pos));
            text.append(": ").append(seg.audioPath).append(" (").append(reasonOf(seg)).append(")");
        }
    }
    if (text.empty()) return;
    showMessageBox(CString::fromPathBytes("These clips are not loaded; their segments stay in the project and play as "
                                     "silence:" + text),
                   CString(u"-_-!"), MbButtons::ok, MbIcon::warning);
}
