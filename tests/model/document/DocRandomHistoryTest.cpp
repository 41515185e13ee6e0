// Random sequences of document operations of every kind, interleaved with
// undo and redo and run at times under a small history limit. After every
// step each state the history can reach is visited: undoing back to the
// oldest group and redoing to the newest must give, byte for byte through the
// project writer, the state first seen there. Every container must stay
// sorted and its overlap flags must equal a recount over all pairs.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/current/CopyAbleObj.h"
#include "model/document/SSSynthesizerDoc.h"
#include "model/file/ProjectLists.h"
#include "support/model_document/ProjectBuilder.h"

using namespace HVCurrentModel;
using namespace projtest;

namespace {

// Fewer under the sanitizers, which run each sequence about fifteen times slower.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kSequences = 60;
#else
constexpr int kSequences = 300;
#endif

std::vector<char> written(const HalvorenModel& model) {
    CMemoryBuffer body;
    writeBody(model, body);
    return body.data;
}

// Sorted by position, and each flag set exactly when the element overlaps
// another one of the container.
template <class T>
std::string containerFault(const std::vector<T*>& items, const std::string& where) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0 && items[i - 1]->pos > items[i]->pos) return where + ": unsorted at " + std::to_string(i);
        bool overlaps = false;
        for (size_t j = 0; j < items.size(); ++j)
            if (j != i && spansOverlap(*items[i], *items[j])) overlaps = true;
        if (items[i]->overlapped != overlaps) return where + ": wrong flag at " + std::to_string(i);
    }
    return "";
}

template <class M>
std::string markersFault(const std::vector<M*>& markers, const char* where) {
    for (size_t i = 1; i < markers.size(); ++i)
        if (markers[i - 1]->pos > markers[i]->pos) return std::string(where) + " unsorted";
    return "";
}

std::string modelFault(const HalvorenModel& model) {
    std::string fault = markersFault(model.tempos, "tempos") + markersFault(model.beats, "beats");
    for (size_t t = 0; t < model.tracks.size() && fault.empty(); ++t) {
        const Track& track = *model.tracks[t];
        const std::string where = "track " + std::to_string(t);
        if (track.instSegs) fault = containerFault(track.instSegs->toVector(), where);
        if (!track.singSegs) continue;
        fault = containerFault(track.singSegs->toVector(), where);
        for (size_t s = 0; s < track.singSegs->size() && fault.empty(); ++s)
            fault = containerFault(track.singSegs->segAt(s)->notes.toVector(), where + " segment " + std::to_string(s));
    }
    return fault;
}

// Drives one document with random operations and checks the history after
// each step.
class RandomSession {
public:
    explicit RandomSession(unsigned seed) : rng_(seed) {
        auto m = markersOnly();
        Track* sing = addTrack(*m, kSingingTrack, "s");
        SingSegment* seg = addSingSeg(*sing, 7680, 3840, "singer");
        addNote(*seg, 0, 480, 60, "a");
        addNote(*seg, 480, 480, 62, "b");
        addNote(*seg, 700, 240, 64, "c");  // overlaps b
        Track* inst = addTrack(*m, kInstrumentTrack, "i");
        addClip(*inst, 7680, 1921, 44100, 44100);
        doc_.newProject(m.release());
        states_.push_back(written(*doc_.getModel()));
    }

    // Runs steps operations; false (with the step in log) at the first fault.
    bool run(int steps, std::string& log) {
        for (int i = 0; i < steps; ++i) {
            stepKind_ = kOther;
            undoBefore_ = doc_.getHistory().undoCount();
            redoBefore_ = doc_.getHistory().redoCount();
            newestBefore_ = doc_.getHistory().newestUndo();
            const std::string name = step();
            log += name + "; ";
            const std::string fault = check();
            if (!fault.empty()) {
                log += "=> " + fault;
                return false;
            }
        }
        return true;
    }

private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool chance(int percent) { return pick(0, 99) < percent; }

    HalvorenModel& model() { return *doc_.getModel(); }

    std::vector<Track*> tracksOfKind(int kind) {
        std::vector<Track*> out;
        for (Track* t : model().tracks)
            if (t->kind == kind) out.push_back(t);
        return out;
    }

    template <class T>
    T* any(const std::vector<T*>& items) {
        return items.empty() ? nullptr : items[pick(0, static_cast<int>(items.size()) - 1)];
    }

    SingSegment* anySegment() { return any(doc_.collectAllSegments()); }

    Note* anyNote(SingSegment* seg) { return seg ? any(seg->notes.toVector()) : nullptr; }

    std::vector<Note*> someNotes(SingSegment* seg) {
        std::vector<Note*> out;
        for (Note* n : seg->notes)
            if (chance(40)) out.push_back(n);
        return out;
    }

    Note* newNote() {
        auto* n = new Note();
        n->pos = pick(-100, 4000);
        n->width = pick(1, 900);
        n->key = pick(40, 80);
        return n;
    }

    NodeContainer newStroke() {
        NodeContainer nodes;
        int pos = pick(-10, 3000);
        for (int k = pick(1, 5); k > 0; --k) {
            nodes.pushBack({pos, pick(-50, 250)});
            pos += pick(0, 300);
        }
        return nodes;
    }

    // One operation; returns its name for the log.
    std::string step() {
        if (chance(3)) {
            doc_.getHistory().limit = chance(50) ? pick(2, 6) : CHistoryMgr::kDefaultLimit;
            return "limit " + std::to_string(doc_.getHistory().limit);
        }
        const int kind = pick(0, 30);
        switch (kind) {
        case 0: case 1: case 2: stepKind_ = kUndo; doc_.undo(); return "undo";
        case 3: case 4: stepKind_ = kRedo; doc_.redo(); return "redo";
        case 5: doc_.addNewSingTrack("new"); return "add singing track";
        case 6: {
            auto* t = new Track(kInstrumentTrack);
            auto* clip = new InstrumentSegment(pick(0, 20000), 100);
            clip->sampleRate = 22050, clip->frames = pick(1, 88200), clip->channels = 1, clip->bitsPerSample = 16;
            clip->audioPath = "clip.wav";
            insertSegmentSorted(*t->instSegs, clip);
            doc_.appendInstrumentTrack(t);
            return "append instrumental track";
        }
        case 7: {
            if (Track* t = any(model().tracks)) doc_.deleteTrack(t);
            return "delete track";
        }
        case 8: {
            Track* t = any(tracksOfKind(kSingingTrack));
            if (!t) return "insert segment (no track)";
            auto* seg = new SingSegment(pick(0, 30000), pick(1, 6000));
            for (int k = pick(0, 3); k > 0; --k) seg->notes.insertSorted(newNote());
            doc_.insertSegment(seg, t->singSegs);
            return "insert segment";
        }
        case 9: {
            Track* t = any(model().tracks);
            if (!t) return "delete segments (no track)";
            std::vector<BaseSegment*> list;
            for (BaseSegment* s : *t->getSegments())
                if (chance(50)) list.push_back(s);
            doc_.deleteSegments(list, t->getSegments());
            return "delete segments";
        }
        case 10: case 11: {
            Track* t = any(model().tracks);
            const std::vector<BaseSegment*> segs = t ? t->getSegments()->toVector() : std::vector<BaseSegment*>{};
            if (segs.empty()) return "move segments (none)";
            // One to three edits as one operation; a segment may be listed twice.
            std::vector<SegmentPosWidth> edits;
            for (int k = pick(1, 3); k > 0; --k) {
                BaseSegment* s = any(segs);
                const int d = pick(-2000, 2000);
                const int edge = pick(0, 3);  // move, left edge, right edge, both edges
                int pos = s->pos, width = s->width;
                if (edge == 0) pos += d;
                if (edge == 1 || edge == 3) pos -= d, width += d;
                if (edge == 2 || edge == 3) width += d;
                if (width < 1) width = 1;
                edits.push_back({s, pos, width});
            }
            doc_.editSegmentsPosWidth(edits, t->getSegments());
            return "move " + std::to_string(edits.size()) + " segments";
        }
        case 12: {
            if (SingSegment* s = anySegment()) doc_.insertNote(newNote(), s);
            return "insert note";
        }
        case 13: {
            if (SingSegment* s = anySegment()) doc_.deleteNotes(someNotes(s), s);
            return "delete notes";
        }
        case 14: {
            SingSegment* s = anySegment();
            Note* n = anyNote(s);
            if (!n) return "edit note (none)";
            doc_.editNotesPosWidthKey({{n, n->pos + pick(-500, 500), std::max(1, n->width + pick(-300, 300)),
                                        pick(40, 80)}},
                                      s);
            return "edit note";
        }
        case 15: {
            Note* n = anyNote(anySegment());
            if (n) doc_.editNotesLyric({{n, chance(50) ? "ka" : n->phoneticSymbol, "x"}});
            return "edit lyric";
        }
        case 16: {
            SingSegment* s = anySegment();
            if (Note* n = anyNote(s)) doc_.replaceSegNotes(n, {"do", "re", "mi"}, s);
            return "split lyric";
        }
        case 17: {
            SingSegment* s = anySegment();
            if (Note* n = anyNote(s)) doc_.inputLyricsForNotes(n, {"/a b", "c", "/d e f"}, s);
            return "input lyrics";
        }
        case 18: return liveEntry();
        case 19: case 20: {
            using CurveOp = void (CSSSynthesizerDoc::*)(SingSegment*, const NodeContainer&);
            static const CurveOp ops[] = {
                &CSSSynthesizerDoc::editSegCurveAmplitude, &CSSSynthesizerDoc::editSegCurvePitch,
                &CSSSynthesizerDoc::editSegCurvePower,     &CSSSynthesizerDoc::editSegCurveBreath,
                &CSSSynthesizerDoc::editSegCurveGender,    &CSSSynthesizerDoc::editSegCurveBrightness,
                &CSSSynthesizerDoc::editSegCurveCross};
            if (SingSegment* s = anySegment()) (doc_.*ops[pick(0, 6)])(s, newStroke());
            return "curve stroke";
        }
        case 21: doc_.insertTempo(new Tempo{pick(-500, 40000), pick(3000, 30000), false}, true); return "insert tempo";
        case 22: {
            Tempo* t = any(model().tempos);
            if (t) doc_.editTempo({{t, Tempo{pick(-500, 40000), pick(3000, 30000), false}}});
            return "edit tempo";
        }
        case 23: {
            if (Tempo* t = any(model().tempos)) doc_.deleteTempo(t);
            return "delete tempo";
        }
        case 24: {
            static const int dens[] = {2, 4, 8, 16};
            doc_.insertBeat(new Beat{pick(-2, 12), pick(1, 7), dens[pick(0, 3)], false});
            return "insert beat";
        }
        case 25: {
            static const int dens[] = {2, 4, 8};
            Beat* b = any(model().beats);
            if (b) doc_.editBeat({{b, Beat{pick(-2, 12), pick(1, 7), dens[pick(0, 2)], false}}});
            return "edit beat";
        }
        case 26: {
            if (Beat* b = any(model().beats)) doc_.deleteBeat(b);
            return "delete beat";
        }
        case 27: return paste();
        case 28: {
            Note* n = anyNote(anySegment());
            if (!n) return "note values (none)";
            Vibrato vibrato = n->vibrato;
            vibrato.vibAmp.nodes.assign(NodeContainer{{-1, pick(0, 10000)}, {100001, pick(0, 10000)}});
            switch (pick(0, 3)) {
            case 0: doc_.editVibratoForNotes(n, pick(0, 100), n->cycle, vibrato); return "vibrato";
            case 1: doc_.editExpressionForNotes(n, pick(0, 100), pick(0, 100), pick(0, 100), pick(0, 100)); return "expression";
            case 2: doc_.editNoteTimbreIndex(n, pick(-1, 3)); return "timbre";
            default: doc_.editNoteFusionData(n, "fu", pick(-1, 3)); return "fusion";
            }
        }
        default: {
            // Several notes moved at once.
            SingSegment* s = anySegment();
            if (!s) return "edit notes (none)";
            std::vector<NotePosWidthKeyEdit> edits;
            const int d = pick(-400, 400);
            for (Note* n : someNotes(s)) edits.push_back({n, n->pos + d, n->width, n->key});
            doc_.editNotesPosWidthKey(edits, s);
            return "edit notes";
        }
        }
    }

    // Copies a random selection and pastes it where the operations put their
    // own elements.
    std::string paste() {
        ClipboardSlot slot;
        switch (pick(0, 4)) {
        case 0: {
            SingSegment* s = anySegment();
            if (!s) return "paste notes (none)";
            createCopiedNote(slot, someNotes(s));
            std::vector<Note*> notes;
            for (auto& n : pasteCopiedNotes(slot, pick(-100, 3000))) notes.push_back(n.release());
            if (!notes.empty()) doc_.insertNotes(notes, s, true);
            return "paste notes";
        }
        case 1: {
            Track* t = any(tracksOfKind(kSingingTrack));
            if (!t) return "paste segments (none)";
            std::vector<BaseSegment*> selected;
            for (BaseSegment* s : *t->singSegs)
                if (chance(50)) selected.push_back(s);
            createCopiedSegment(slot, selected);
            std::vector<BaseSegment*> segs;
            for (auto& s : pasteCopiedSegments(slot, pick(0, 30000))) segs.push_back(s.release());
            if (!segs.empty()) doc_.insertSegments(segs, t->singSegs);
            return "paste segments";
        }
        case 2: {
            createCopiedTempo(slot, model().tempos);
            std::vector<Tempo*> tempos;
            for (auto& t : pasteCopiedTempos(slot, pick(1, 40000))) tempos.push_back(t.release());
            doc_.insertTempos(tempos);
            return "paste tempos";
        }
        case 3: {
            std::vector<Beat*> selected;
            for (Beat* b : model().beats)
                if (b->pos != -3) selected.push_back(b);
            createCopiedBeat(slot, selected);
            std::vector<Beat*> beats;
            for (auto& b : pasteCopiedBeats(slot, pick(-2, 12))) beats.push_back(b.release());
            if (!beats.empty()) doc_.insertBeats(beats);
            return "paste beats";
        }
        default: {
            Track* t = any(tracksOfKind(kSingingTrack));
            if (!t || !createCopiedSingTrack(slot, *t)) return "paste track (none)";
            doc_.insertTrack(pasteCopiedSingTrack(slot).release());
            return "paste track";
        }
        }
    }

    // A note entered live: begun, grown with the cursor and ended as one
    // group. At times the note is taken out by another operation meanwhile;
    // the note the segment then holds was never recorded, so the history
    // starts afresh.
    std::string liveEntry() {
        SingSegment* s = anySegment();
        if (!s) return "live note (none)";
        doc_.setEditingSegment(s);
        doc_.playPos = s->pos + pick(0, std::max(0, s->width - 1));
        doc_.beginRecNote(pick(40, 80));
        Note* live = doc_.liveNote;
        if (!live) return "live note (not begun)";
        const bool takenOut = chance(30);
        if (takenOut) {
            if (chance(50))
                doc_.deleteNotes({live}, s);
            else
                doc_.replaceSegNotes(live, {"x", "y"}, s);
        }
        for (int k = pick(0, 3); k > 0; --k) {
            doc_.playPos += pick(-50, 400);
            doc_.growRecNote();
            if (takenOut && chance(30)) doc_.undo();
        }
        doc_.playPos += pick(0, 400);
        doc_.endRecNote();
        if (!takenOut) return "live note";
        doc_.getHistory().clear();
        states_.assign(1, written(model()));
        current_ = 0;
        stepKind_ = kRestart;
        return "live note taken out";
    }

    // Follows the history with the list of states, then walks it.
    std::string check() {
        if (doc_.liveNote || doc_.liveSeg) return "live entry left open";
        CHistoryMgr& history = doc_.getHistory();
        if (stepKind_ == kUndo && history.undoCount() < undoBefore_) --current_;
        if (stepKind_ == kRedo && history.redoCount() < redoBefore_) ++current_;
        if (stepKind_ == kOther && history.newestUndo() != newestBefore_) {
            // A new group: the redo states are gone, and the oldest group
            // may have been dropped at the limit.
            states_.resize(current_ + 1);
            states_.push_back(written(model()));
            ++current_;
            while (current_ > static_cast<size_t>(history.undoCount())) {
                states_.erase(states_.begin());
                --current_;
            }
        }
        if (current_ != static_cast<size_t>(history.undoCount()) ||
            states_.size() - 1 - current_ != static_cast<size_t>(history.redoCount()))
            return "history lists disagree with the states seen";
        if (written(model()) != states_[current_]) return "state differs from the one seen at this point";
        std::string fault = modelFault(model());
        if (!fault.empty()) return fault;

        // Back to the oldest group, forward to the newest, then home.
        const size_t home = current_;
        for (size_t i = home; i > 0; --i) {
            doc_.undo();
            if (written(model()) != states_[i - 1]) return "undo to state " + std::to_string(i - 1) + " differs";
            if (!(fault = modelFault(model())).empty()) return "after undo: " + fault;
        }
        for (size_t i = 1; i < states_.size(); ++i) {
            doc_.redo();
            if (written(model()) != states_[i]) return "redo to state " + std::to_string(i) + " differs";
            if (!(fault = modelFault(model())).empty()) return "after redo: " + fault;
        }
        for (size_t i = states_.size() - 1; i > home; --i) doc_.undo();
        return written(model()) == states_[home] ? "" : "home state differs";
    }

    enum StepKind { kOther, kUndo, kRedo, kRestart };

    std::mt19937 rng_;
    CSSSynthesizerDoc doc_;
    std::vector<std::vector<char>> states_;  // [0] oldest reachable; current_ is the model's
    size_t current_ = 0;
    StepKind stepKind_ = kOther;
    int undoBefore_ = 0;
    int redoBefore_ = 0;
    const CHistoryGroup* newestBefore_ = nullptr;
};

}  // namespace

TEST(DocumentHistory, RandomOperationsUndoAndRedoToTheExactStatesSeen) {
    for (int seed = 1; seed <= kSequences; ++seed) {
        std::mt19937 lengths(seed);
        const int steps = std::uniform_int_distribution<int>(20, 100)(lengths);
        RandomSession session(static_cast<unsigned>(seed) * 7919u);
        std::string log;
        if (!session.run(steps, log)) {
            ADD_FAILURE() << "seed " << seed << ": " << log;
            return;
        }
    }
}
