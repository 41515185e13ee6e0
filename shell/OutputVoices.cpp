#include "shell/OutputVoices.h"

#include <algorithm>

#include "model/document/SSSynthesizerDoc.h"
#include "render/synth/ISynth.h"
#include "render/synth/NoteSelection.h"
#include "shell/RenderChecks.h"
#include "shell/SingEntries.h"

using namespace HVCurrentModel;

namespace {

// Whether any sample of the synthesizer's output is not silence.
bool hasVoice(ISynth& synth) {
    int count = 0;
    const short* samples = synth.getOutput(&count);
    return samples != nullptr && std::any_of(samples, samples + std::max(count, 0), [](short s) { return s != 0; });
}

}  // namespace

bool OutputVoices::unsungForFault(std::size_t trackIndex, const SingSegment* seg, const std::string& fault,
                                  std::vector<std::string>& list) {
    if (fault.empty()) return false;
    // Nothing the bank gives can be trusted: the segment is not sung.
    unreadBanks_.insert(seg);
    voiced_ -= voicedBySegment_[seg];
    voicedBySegment_[seg] = 0;
    list.push_back(segmentPlace(doc_, trackIndex, *seg) + ": " + fault);
    return true;
}

void OutputVoices::inspect(std::size_t trackIndex, SingSegment* seg, ISynth* synth, int fromTick, int toTick) {
    if (synth != nullptr && unsungForFault(trackIndex, seg, synth->bankFault(), unsungSegments_)) return;
    std::vector<NoteTimesRec> plan;
    if (synth != nullptr) synth->getNoteTimes(seg, doc_.getModel()->tempos, fromTick, toTick, kSingLeadIn, plan);
    // The plan reads records of the bank: a damaged content file, not the
    // bank's missing syllables, is why its notes would stay silent.
    if (synth != nullptr && unsungForFault(trackIndex, seg, synth->bankFault(), unsungSegments_)) return;
    int voiced = 0;
    auto silent = [&](const Note& n) { silentNotes_.push_back(notePlace(doc_, trackIndex, *seg, n)); };
    if (synth == nullptr) {
        for (const Note* n : selectNotes(*seg, fromTick, std::min(toTick, seg->width), true))
            if (n->phoneticSymbol != "-") silent(*n);
    } else if (plan.empty()) {
        // A generation without a plan: its notes are taken as sung.
        voiced = static_cast<int>(selectNotes(*seg, fromTick, std::min(toTick, seg->width), true).size());
    } else {
        for (const NoteTimesRec& rec : plan) {
            if (rec.note == nullptr || !rec.note->renderFlag) continue;
            if (!rec.sung) {
                silent(*rec.note);
                continue;
            }
            ++voiced;
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
    unsungSegments_.push_back(segmentPlace(doc_, trackIndex, *seg));
}

void OutputVoices::nothingToSing(std::size_t trackIndex, SingSegment* seg) {
    if (unreadBanks_.count(seg) != 0) return;
    voiced_ -= voicedBySegment_[seg];
    voicedBySegment_[seg] = 0;
    emptySegments_.push_back(segmentPlace(doc_, trackIndex, *seg));
}

bool OutputVoices::checkSung() {
    for (const SungSegment& s : sung_) {
        if (unreadBanks_.count(s.seg) != 0) continue;
        if (unsungForFault(s.trackIndex, s.seg, s.synth->bankFault(), unsungWhenSung_)) continue;
        int& voiced = voicedBySegment_[s.seg];
        if (voiced == 0 || hasVoice(*s.synth)) continue;
        voiced_ -= voiced;
        voiced = 0;
        unsungWhenSung_.push_back(segmentPlace(doc_, s.trackIndex, *s.seg) + ": it sang only silence");
    }
    return !holdsNothing();
}

void OutputVoices::report() const {
    showPlaceList("Notes without a voice in their singer's bank (they stay silent):", silentNotes_);
    showPlaceList("Notes whose syllable their singer's bank does not have (they sing another):", replacedNotes_);
    showPlaceList("Segments with no note to sing (they stay silent):", emptySegments_);
    showPlaceList("Segments their singer's bank cannot sing:", unsungSegments_);
}

void OutputVoices::reportSung() const {
    showPlaceList("Segments their singer's bank cannot sing:", unsungWhenSung_);
}

void reportClippedVoices(const CSSSynthesizerDoc& doc, const std::vector<SungSegment>& segments) {
    std::vector<std::string> lines;
    for (const SungSegment& s : segments)
        if (const int64_t clipped = s.synth->samplesSaturated(); clipped > 0)
            lines.push_back(trackLabel(doc, s.trackIndex) + ", " + placeOf(doc, s.seg->pos) + ": " +
                            std::to_string(clipped) + " samples were clipped");
    showPlaceList("Segments whose voice is louder than 16 bits can hold:", lines);
}
