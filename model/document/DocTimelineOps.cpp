// Tempo, beat, play range and time-line operations of the document.
#include <algorithm>
#include <climits>

#include "model/current/Markers.h"
#include "model/current/TempoMap.h"
#include "model/document/SSSynthesizerDoc.h"

using namespace HVCurrentModel;

namespace {

template <class M>
int indexIn(const std::vector<M*>& list, const M* marker) {
    auto it = std::find(list.begin(), list.end(), marker);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

}  // namespace

int CSSSynthesizerDoc::getTempoBeatAtTick(int tick, int* tempo, TimeSignature* signature) const {
    if (tempo) {
        const auto& tempos = model_->tempos;
        for (size_t i = 0; i < tempos.size(); ++i) {
            const int64_t next = i + 1 < tempos.size() ? int64_t{tempos[i + 1]->pos} : int64_t{INT_MAX} + 1;
            if (tempos[i]->pos <= tick && tick < next) {
                *tempo = tempos[i]->tempo;
                break;
            }
        }
    }
    if (signature) signatureAtTickOf(beats(), tick, *signature);
    return 0;
}

int CSSSynthesizerDoc::addSecondsToTick(int tick, float seconds) const {
    const TempoMap map(model_->tempos);
    return map.secToTick(map.tickToSec(tick) + seconds);
}

int CSSSynthesizerDoc::indexOfTempo(const Tempo* tempo) const { return indexIn(model_->tempos, tempo); }

int CSSSynthesizerDoc::indexOfBeat(const Beat* beat) const { return indexIn(model_->beats, beat); }

void CSSSynthesizerDoc::unselAllTempos() {
    for (Tempo* t : model_->tempos) t->selected = false;
}

void CSSSynthesizerDoc::unselAllBeats() {
    for (Beat* b : model_->beats) b->selected = false;
}

void CSSSynthesizerDoc::insertTempo(Tempo* tempo, bool record) {
    if (!record) {
        tempo->pos = tempoPosInRange(tempo->pos);
        insertMarkerSorted(model_->tempos, tempo);
        return;
    }
    runGroup([&](CHistoryGroup* g) { recInsertTempo(g, tempo); });
}

void CSSSynthesizerDoc::insertTempos(const std::vector<Tempo*>& tempos) {
    runGroup([&](CHistoryGroup* g) { recInsertTempos(g, tempos); });
}

void CSSSynthesizerDoc::editTempo(const TempoEdits& edits) {
    runGroup([&](CHistoryGroup* g) { recEditTempo(g, edits); });
}

void CSSSynthesizerDoc::deleteTempo(Tempo* tempo) {
    runGroup([&](CHistoryGroup* g) { recDeleteTempo(g, tempo); });
}

void CSSSynthesizerDoc::deleteTempos(const std::vector<Tempo*>& tempos) {
    runGroup([&](CHistoryGroup* g) { recDeleteTempos(g, tempos); });
}

void CSSSynthesizerDoc::insertBeat(Beat* beat) {
    runGroup([&](CHistoryGroup* g) { recInsertBeat(g, beat); });
}

void CSSSynthesizerDoc::insertBeats(const std::vector<Beat*>& beats) {
    runGroup([&](CHistoryGroup* g) { recInsertBeats(g, beats); });
}

void CSSSynthesizerDoc::editBeat(const BeatEdits& edits) {
    runGroup([&](CHistoryGroup* g) { recEditBeat(g, edits); });
}

void CSSSynthesizerDoc::deleteBeat(Beat* beat) {
    runGroup([&](CHistoryGroup* g) { recDeleteBeat(g, beat); });
}

void CSSSynthesizerDoc::deleteBeats(const std::vector<Beat*>& beats) {
    runGroup([&](CHistoryGroup* g) { recDeleteBeats(g, beats); });
}

void CSSSynthesizerDoc::setPlayEndTag(bool on) {
    playEndOn = on;
    if (on) {
        playEnd = playPos;
        if (playStartOn && playEnd <= playStart) {
            playStart = playEnd - kWholeNoteTicks;
            if (playStart < 0) {
                playStart = measureToTick(1);
                playEnd = measureToTick(2);
            }
        }
    }
    updateViewsPlayRange();
}
