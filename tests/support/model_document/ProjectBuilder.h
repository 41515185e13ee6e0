#pragma once
// Small projects built in code for the history and document tests.
#include <memory>
#include <string>

#include "model/current/HalvorenModel.h"

namespace projtest {

using namespace HVCurrentModel;

inline Tempo* addTempo(HalvorenModel& m, int pos, int value) {
    auto* t = new Tempo{pos, value, false};
    insertMarkerSorted(m.tempos, t);
    return t;
}

inline Beat* addBeat(HalvorenModel& m, int pos, int num, int den) {
    auto* b = new Beat{pos, num, den, false};
    insertMarkerSorted(m.beats, b);
    return b;
}

// Tempo 12000 at tick 0 and 4/4 at measure -3, no tracks.
inline std::unique_ptr<HalvorenModel> markersOnly() {
    auto m = std::make_unique<HalvorenModel>();
    addTempo(*m, 0, 12000);
    addBeat(*m, -3, 4, 4);
    return m;
}

inline Track* addTrack(HalvorenModel& m, int kind, const std::string& name = "") {
    auto* t = new Track(kind);
    t->name = name;
    m.tracks.push_back(t);
    return t;
}

inline SingSegment* addSingSeg(Track& t, int pos, int width, const std::string& singer = "") {
    auto* s = new SingSegment(pos, width);
    s->singer = singer;
    insertSegmentSorted(*t.singSegs, s);
    return s;
}

// An instrumental segment with a mono 16-bit clip of the given length (no
// samples needed).
inline InstrumentSegment* addClip(Track& t, int pos, int width, int sampleRate, int frames) {
    auto* s = new InstrumentSegment(pos, width);
    s->sampleRate = sampleRate, s->frames = frames, s->channels = 1, s->bitsPerSample = 16;
    insertSegmentSorted(*t.instSegs, s);
    return s;
}

inline Note* addNote(SingSegment& s, int pos, int width, int key = 60, const std::string& lyric = "la") {
    auto* n = new Note();
    n->pos = pos, n->width = width, n->key = key, n->lyric = lyric, n->phoneticSymbol = lyric;
    s.notes.insertSorted(n);
    return n;
}

}  // namespace projtest
