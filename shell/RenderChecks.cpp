#include "shell/RenderChecks.h"

#include <set>
#include <string>
#include <vector>

#include "model/document/SSSynthesizerDoc.h"
#include "platform/MessageBox.h"
#include "shell/services/LanguageMgr.h"

namespace {

// "measure M, beat B" of a tick.
std::string placeOf(const CSSSynthesizerDoc& doc, int tick) {
    int measure = 0, beat = 0, remainder = 0;
    doc.tickToMeasureBeat(tick, &measure, &beat, &remainder);
    return "measure " + std::to_string(measure) + ", beat " + std::to_string(beat);
}

void showLines(const std::string& heading, const std::vector<std::string>& lines, const char* caption) {
    std::string text = heading;
    for (const std::string& line : lines) text += "\n" + line;
    showMessageBox(CString::fromUtf8(text), CString::fromUtf8(caption), MbButtons::ok, MbIcon::warning);
}

// The main frame's display of overlapping notes (their ticks) and segments
// (the ticks where they end).
void showOverlaps(const CSSSynthesizerDoc& doc, const std::vector<int>& noteTicks, const std::vector<int>& segEnds) {
    std::vector<std::string> lines;
    for (int tick : noteTicks) lines.push_back("Notes overlap at " + placeOf(doc, tick));
    for (int tick : segEnds) lines.push_back("Segments overlap, ending at " + placeOf(doc, tick));
    showLines("Please remove the overlaps first:", lines, "-_-!");
}

void showSingerErrors(const std::vector<HVCurrentModel::SingSegment*>& segs) {
    std::set<std::string> seen;
    std::vector<std::string> lines;
    for (const HVCurrentModel::SingSegment* seg : segs)
        if (seen.insert(seg->singer).second)
            lines.push_back(translate("singer").toUtf8() + " \"" + seg->singer + "\" " +
                            translate("is not in your system").toUtf8());
    showLines("Please choose an installed singer:", lines, "-_-!");
}

}  // namespace

bool checkBeforeSinging(const CSSSynthesizerDoc& doc) {
    std::vector<int> noteTicks;
    std::vector<int> segEnds;
    std::vector<HVCurrentModel::SingSegment*> missing;
    doc.collectSegsWithOverlappedNotes(noteTicks);
    doc.collectTrksWithOverlappedSegs(segEnds);
    doc.collectSegsWithMissingSinger(missing);
    if (!noteTicks.empty() || !segEnds.empty()) showOverlaps(doc, noteTicks, segEnds);
    if (!missing.empty()) showSingerErrors(missing);
    return noteTicks.empty() && segEnds.empty() && missing.empty();
}
