#include "shell/OutputVoices.h"

#include <algorithm>

#include "model/current/TickRange.h"
#include "model/document/SSSynthesizerDoc.h"
#include "render/export/ExportMix.h"
#include "render/synth/ISynth.h"
#include "render/synth/NoteSelection.h"
#include "shell/RenderChecks.h"
#include "shell/SingEntries.h"

using namespace HVCurrentModel;

namespace {

// What a segment's voice is when its bank gives silence where the score asks
// for sound: the voice values come from the bank's content file.
std::string silenceFault(const std::string& bankFolder) {
    return bankFolder + "HVC: its voice is silent where the score asks for sound";
}

// Whether the segment's Amplitude curve lies above its bottom (0, which
// silences the voice) anywhere over the ticks [from, to]. The curve is
// linear between its nodes, so its highest point there is at an end of the
// range or at a node inside it; a curve without nodes leaves the voice at
// its own level.
bool amplitudeAboveBottom(SingSegment& seg, int from, int to) {
    ParamCurve& curve = seg.curve(kAmplitudeCurve);
    const NodeContainer& nodes = curve.nodes;
    if (nodes.empty()) return true;
    if (nodes.size() == 1) return nodes.begin()->value > 0;
    if (curve.valueAt(from) > 0 || curve.valueAt(to) > 0) return true;
    return std::any_of(nodes.begin(), nodes.end(),
                       [&](const CurveNode& n) { return n.pos >= from && n.pos <= to && n.value > 0; });
}

// Whether the score asks the note to sound: its track is heard and its
// Amplitude is above the bottom somewhere over it.
bool asksSound(const Track& track, SingSegment& seg, const Note& note) {
    return trackGain(track) != 0.0f && amplitudeAboveBottom(seg, note.pos, clampTick(spanEnd(note)));
}

}  // namespace

bool OutputVoices::unsungForFault(std::size_t trackIndex, const SingSegment* seg, const std::string& fault,
                                  UnsungSegments& list) {
    if (fault.empty()) return false;
    // Nothing the bank gives can be trusted: the segment is not sung.
    unreadBanks_.insert(seg);
    voiced_ -= voicedBySegment_[seg];
    voicedBySegment_[seg] = 0;
    list.add(segmentPlace(doc_, trackIndex, *seg), fault, bankFolderOf(seg->singer));
    return true;
}

void OutputVoices::inspect(std::size_t trackIndex, SingSegment* seg, ISynth* synth, int fromTick, int toTick) {
    if (synth != nullptr && unsungForFault(trackIndex, seg, synth->bankFault(), unsung_)) return;
    std::vector<NoteTimesRec> plan;
    if (synth != nullptr) synth->getNoteTimes(seg, doc_.getModel()->tempos, fromTick, toTick, kSingLeadIn, plan);
    // The plan reads records of the bank: a damaged content file, not the
    // bank's missing syllables, is why its notes would stay silent.
    if (synth != nullptr && unsungForFault(trackIndex, seg, synth->bankFault(), unsung_)) return;
    int voiced = 0;
    const Track& track = *doc_.getModel()->tracks[trackIndex];
    auto silent = [&](const Note& n) { silentNotes_.push_back(notePlace(doc_, trackIndex, *seg, n)); };
    auto voice = [&](const Note& n) {
        ++voiced;
        if (asksSound(track, *seg, n)) asksSound_.insert(seg);
    };
    if (synth == nullptr) {
        for (const Note* n : selectNotes(*seg, fromTick, std::min(toTick, seg->width), true))
            if (n->phoneticSymbol != "-") silent(*n);
    } else if (plan.empty()) {
        // A generation without a plan: its notes are taken as sung.
        for (const Note* n : selectNotes(*seg, fromTick, std::min(toTick, seg->width), true)) voice(*n);
    } else {
        for (const NoteTimesRec& rec : plan) {
            if (rec.note == nullptr || !rec.note->renderFlag) continue;
            if (!rec.sung) {
                silent(*rec.note);
                continue;
            }
            voice(*rec.note);
            if (!rec.singsInstead.empty())
                replacedNotes_.push_back(notePlace(doc_, trackIndex, *seg, *rec.note) + " sings \"" +
                                         rec.singsInstead + "\"");
        }
    }
    voicedBySegment_[seg] = voiced;
    voiced_ += voiced;
}

void OutputVoices::loaded(std::size_t trackIndex, SingSegment* seg, ISynth* synth) {
    sung_.push_back({trackIndex, seg, synth});
    if (unreadBanks_.count(seg) != 0) return;
    int count = 0;
    synth->getOutput(&count);
    if (count > 0) return;
    voiced_ -= voicedBySegment_[seg];
    voicedBySegment_[seg] = 0;
    unsung_.add(segmentPlace(doc_, trackIndex, *seg), "", "");
}

void OutputVoices::nothingToSing(std::size_t trackIndex, SingSegment* seg) {
    if (unreadBanks_.count(seg) != 0) return;
    voiced_ -= voicedBySegment_[seg];
    voicedBySegment_[seg] = 0;
    emptySegments_.push_back(segmentPlace(doc_, trackIndex, *seg));
}

bool OutputVoices::checkSung(const ExportMix* written) {
    if (judged_) return !holdsNothing();
    judged_ = true;
    writeFailed_ = written != nullptr && written->failed();
    // Silence is judged only on a whole output: a failed one may have
    // stopped before the segment's voice.
    const bool whole = written != nullptr && !written->failed();
    for (const SungSegment& s : sung_) {
        if (unreadBanks_.count(s.seg) != 0) continue;
        std::string fault = s.synth->bankFault();
        if (fault.empty() && whole && asksSound_.count(s.seg) != 0 &&
            written->writtenVoice(s.synth) == WrittenVoice::silence)
            fault = silenceFault(bankFolderOf(s.seg->singer));
        unsungForFault(s.trackIndex, s.seg, fault, unsungWhenSung_);
    }
    return !holdsNothing();
}

void OutputVoices::report() const {
    showPlaceList("Notes without a voice in their singer's bank (they stay silent):", silentNotes_);
    showPlaceList("Notes whose syllable their singer's bank does not have (they sing another):", replacedNotes_);
    showPlaceList("Segments with no note to sing (they stay silent):", emptySegments_);
    unsung_.show();
}

void reportClippedVoices(const CSSSynthesizerDoc& doc, const std::vector<SungSegment>& segments) {
    std::vector<std::string> lines;
    for (const SungSegment& s : segments)
        if (const int64_t clipped = s.synth->samplesSaturated(); clipped > 0)
            lines.push_back(trackLabel(doc, s.trackIndex) + ", " + placeOf(doc, s.seg->pos) + ": " +
                            std::to_string(clipped) + " samples were clipped");
    showPlaceList("Segments whose voice is louder than 16 bits can hold:", lines);
}
