#include "shell/RenderChecks.h"

#include <algorithm>
#include <set>
#include <vector>

#include "model/current/TickRange.h"
#include "model/document/SSSynthesizerDoc.h"
#include "model/history/TrackSegmentRecorders.h"
#include "platform/MessageBox.h"
#include "shell/services/LanguageMgr.h"

using namespace HVCurrentModel;

namespace {

void showLines(const std::string& heading, const std::vector<std::string>& lines, const char* caption) {
    std::string text = heading;
    for (const std::string& line : lines) text += "\n" + line;
    // The lines may name paths: their bytes are kept.
    showMessageBox(CString::fromPathBytes(text), CString::fromUtf8(caption), MbButtons::ok, MbIcon::warning);
}

// Appends line unless it was said before.
void addOnce(std::vector<std::string>& lines, const std::string& line) {
    if (std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(line);
}

// The main frame's display of overlapping notes (where they start) and
// segments (where they end), by track.
void showOverlaps(const CSSSynthesizerDoc& doc) {
    std::vector<std::string> lines;
    const HalvorenModel& model = *doc.getModel();
    for (size_t t = 0; t < model.tracks.size(); ++t) {
        const Track& track = *model.tracks[t];
        if (track.kind == kSingingTrack && track.singSegs != nullptr)
            for (size_t i = 0; i < track.singSegs->size(); ++i) {
                const SingSegment* seg = track.singSegs->segAt(i);
                std::vector<Note*> flagged;
                seg->notes.getOverlapped(flagged);
                for (const Note* n : flagged)
                    if (spanEnd(*n) - 1 < seg->width)
                        addOnce(lines, "Notes overlap in " + trackLabel(doc, t) + " at " +
                                           placeOf(doc, clampTick(int64_t{seg->pos} + n->pos)));
            }
        if (const BaseSegmentContainer* segs = track.getSegments()) {
            std::vector<BaseSegment*> flagged;
            collectOverlappedSegments(*segs, flagged);
            for (const BaseSegment* s : flagged)
                addOnce(lines, "Segments overlap in " + trackLabel(doc, t) + ", ending at " +
                                   placeOf(doc, clampTick(spanEnd(*s) - 1)));
        }
    }
    showLines("Please remove the overlaps first:", lines, "-_-!");
}

void showSingerErrors(const std::vector<SingSegment*>& segs) {
    std::set<std::string> seen;
    std::vector<std::string> lines;
    for (const SingSegment* seg : segs)
        if (seen.insert(seg->singer).second)
            lines.push_back(translate("singer").toUtf8() + " \"" + seg->singer + "\" " +
                            translate("is not in your system").toUtf8());
    showLines("Please choose an installed singer:", lines, "-_-!");
}

}  // namespace

std::string placeOf(const CSSSynthesizerDoc& doc, int tick) {
    int measure = 0, beat = 0, remainder = 0;
    doc.tickToMeasureBeat(tick, &measure, &beat, &remainder);
    return "measure " + std::to_string(measure) + ", beat " + std::to_string(beat);
}

std::string trackLabel(const CSSSynthesizerDoc& doc, size_t index) {
    const auto& tracks = doc.getModel()->tracks;
    const std::string name = index < tracks.size() ? tracks[index]->name : std::string();
    return "track " + std::to_string(index + 1) + " \"" + name + "\"";
}

std::string segmentPlace(const CSSSynthesizerDoc& doc, size_t trackIndex, const SingSegment& seg) {
    return "segment \"" + seg.name + "\" of " + trackLabel(doc, trackIndex) + " at " + placeOf(doc, seg.pos);
}

std::string notePlace(const CSSSynthesizerDoc& doc, size_t trackIndex, const SingSegment& seg, const Note& note) {
    const std::string& lyric = note.lyric.empty() ? note.phoneticSymbol : note.lyric;
    return trackLabel(doc, trackIndex) + ", " + placeOf(doc, clampTick(int64_t{seg.pos} + note.pos)) + ": \"" +
           lyric + "\"";
}

void showPlaceList(const std::string& heading, const std::vector<std::string>& lines) {
    if (!lines.empty()) showLines(heading, lines, "-_-!");
}

bool hasOverlappingNotes(const CSSSynthesizerDoc& doc) {
    std::vector<int> noteTicks;
    doc.collectSegsWithOverlappedNotes(noteTicks);
    return !noteTicks.empty();
}

bool checkBeforeSinging(const CSSSynthesizerDoc& doc) {
    std::vector<int> noteTicks;
    std::vector<int> segEnds;
    std::vector<SingSegment*> missing;
    doc.collectSegsWithOverlappedNotes(noteTicks);
    doc.collectTrksWithOverlappedSegs(segEnds);
    doc.collectSegsWithMissingSinger(missing);
    if (!noteTicks.empty() || !segEnds.empty()) showOverlaps(doc);
    if (!missing.empty()) showSingerErrors(missing);
    return noteTicks.empty() && segEnds.empty() && missing.empty();
}
