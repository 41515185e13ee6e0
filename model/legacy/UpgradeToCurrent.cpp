// Generation 1 to the current generation: markers sorted, segments and notes
// placed with their overlap marks, and the curves generation 1 lacks given
// their default end nodes.
#include "model/current/HalvorenModel.h"
#include "model/legacy/ModelV1.h"

namespace HVCurrentModel {

namespace {

Note* convertNote(const HVModel_V1::Note& old)
{
    auto* note = new Note;
    note->pos = old.pos;
    note->width = old.width;
    note->key = old.key;
    note->phoneticSymbol = old.phoneticSymbol;
    note->lyric = old.lyric;
    note->overlapped = old.overlapped;
    return note;
}

SingSegment* convertSegment(const HVModel_V1::SingSegment& old)
{
    auto* seg = new SingSegment(old.pos, old.width);
    seg->overlapped = old.overlapped;
    seg->name = old.name;
    seg->singer = old.singer;
    for (const HVModel_V1::Note* n : old.notes) seg->notes.push_back(convertNote(*n));
    seg->notes.sortAndMarkOverlaps();
    seg->curve(kAmplitudeCurve).nodes.assign(old.amplitude.nodes);
    seg->curve(kPitchCurve).nodes.assign(old.pitch.nodes);
    seg->curve(kPitchWorkCurve2).nodes.assign(old.pitchWork2.nodes);
    return seg;
}

// A current track for a generation-1 track: it starts as a singing track
// (and keeps that default name) and takes the segment container of the old
// kind.
Track* convertTrack(const HVModel_V1::Track& old)
{
    auto* track = new Track(kSingingTrack);
    if (old.kind == kInstrumentTrack) {
        delete track->singSegs;
        track->singSegs = nullptr;
        track->instSegs = new InstrumentSegmentContainer;
        track->kind = kInstrumentTrack;
        // Generation 1 stores no instrumental segment that could be read
        // back, so the container starts empty.
    } else if (old.singSegs) {
        for (const HVModel_V1::BaseSegment* seg : *old.singSegs)
            track->singSegs->push_back(convertSegment(static_cast<const HVModel_V1::SingSegment&>(*seg)));
        track->singSegs->sortAndMarkOverlaps();
    }
    track->muted = old.muted;
    track->solo = old.solo;
    track->volume = old.volume;
    track->balance = old.balance;
    return track;
}

}  // namespace

bool HalvorenModel::upgrade(const ObjWithVersion& older)
{
    return upgradeThroughChain(ObjWithVersion::version, older);
}

bool HalvorenModel::upgradeFrom(const HVModel_V1::HalvorenModel& previous)
{
    for (const HVModel_V1::Tempo* t : previous.tempos) tempos.push_back(new Tempo{t->pos, t->tempo});
    for (const HVModel_V1::Beat* b : previous.beats) beats.push_back(new Beat{b->pos, b->numerator, b->denominator});
    sortMarkersAsInserted(tempos);
    sortMarkersAsInserted(beats);
    clearTracks();
    for (const HVModel_V1::Track* t : previous.tracks) tracks.push_back(convertTrack(*t));
    return true;
}

}  // namespace HVCurrentModel
