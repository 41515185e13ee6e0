#pragma once
// The one document: it owns the project model, the undo/redo history, the
// note editor's state that the history restores, the play range and cursor,
// the project path, the players of clips and tracks, and the list of editing
// windows that show the model. Every change of the model goes through one of
// its operations, each one history group. Main thread only.
#include <memory>
#include <string>
#include <vector>

#include "model/current/HalvorenModel.h"
#include "model/current/Note.h"
#include "model/document/DocPlayers.h"
#include "model/document/DocWindows.h"
#include "model/document/MeasureMath.h"
#include "model/history/HistoryMgr.h"
#include "model/history/MarkerRecorders.h"
#include "model/history/NoteRecorders.h"
#include "platform/CString.h"

class CSSSynthesizerDoc {
public:
    static constexpr int kStartPlayPos = 5760;

    CSSSynthesizerDoc();
    virtual ~CSSSynthesizerDoc();
    CSSSynthesizerDoc(const CSSSynthesizerDoc&) = delete;
    CSSSynthesizerDoc& operator=(const CSSSynthesizerDoc&) = delete;

    // True unless the saved marker describes the newest undo group.
    virtual bool isModified() const;
    CString getPath() const { return path_; }
    HVCurrentModel::HalvorenModel* getModel() const { return model_.get(); }
    CHistoryMgr& getHistory() { return history_; }
    const CHistoryMgr& getHistory() const { return history_; }

    // --- windows (not owned) ---
    void addView(IDocView* view);
    void removeView(IDocView* view);
    void setNoteEditor(IDocNoteEditor* editor) { noteEditor_ = editor; }
    void setMainFrame(IDocMainFrame* frame) { mainFrame_ = frame; }
    void setModeButtons(IDocModeButtons* buttons) { modeButtons_ = buttons; }
    void refreshAllViews();
    void invalidateAllViews();
    void updateViewsTags();
    void updateViewsPlayRange();

    // --- groups ---
    // A new group on the document's model, to be filled and committed.
    CHistoryGroup* newGroup() const;
    // Discards an empty group; else stores the view state, refreshes the
    // windows, pushes the group and rebuilds the title.
    void commitGroup(CHistoryGroup* group);
    void undo();
    void redo();
    bool canUndo() const { return history_.undoCount() > 0; }

    // --- files ---
    // Writes the project; only a successful write moves the path and the
    // saved marker. True on success.
    bool saveAs(const CString& path);
    // Takes ownership of the model, empties the history, resets the play
    // range to measures 1 to 2 and the note editor state, and marks the
    // document saved. The windows are refreshed by the caller.
    void setModel(HVCurrentModel::HalvorenModel* model, const CString& path);
    void newProject(HVCurrentModel::HalvorenModel* model) { setModel(model, CString()); }

    // --- note editor state ---
    // The track becomes the first singing track that holds the segment; with
    // no such track it keeps its value; null clears both.
    void setEditingSegment(HVCurrentModel::SingSegment* segment);
    void resetEditWndSegment();
    void getEditWndRange(int& tickFrom, int& tickTo, int& keyFrom, int& keyTo) const;
    // The singing track that holds the segment, or null.
    HVCurrentModel::Track* findSingTrackOf(const HVCurrentModel::SingSegment* segment) const;

    // --- players ---
    IClipAudioMgr& clipAudio();
    ITrackMixGroup& trackMix();
    // While playing: hands each track's gain and pan to its source list.
    void applyTrackMixToPlayers();

    // New notes take vibrato (when long enough) and expression from the settings.
    static void setNoteDefaultVibExp(HVCurrentModel::Note* note);

    // --- time line ---
    int getBar1Tick() const { return bar1TickOf(beats()); }
    int measureToTick(int n) const { return measureToTickOf(beats(), n); }
    int measureBeatToTick(int measure, int beat) const { return measureBeatToTickOf(beats(), measure, beat); }
    int tickToMeasureBeat(int tick, int* measure, int* beat, int* remainder) const {
        return tickToMeasureBeatOf(beats(), tick, measure, beat, remainder);
    }
    bool tickToMeasure(int tick, int& measure) const { return tickToMeasureOf(beats(), tick, measure); }
    int getBeatAtMeasure(int measure, int* numerator, int* denominator) const {
        return beatAtMeasureOf(beats(), measure, numerator, denominator);
    }
    // The tempo value and signature in force at a tick (each may be null; a
    // value no marker holds is left untouched). Returns 0.
    int getTempoBeatAtTick(int tick, int* tempo, TimeSignature* signature) const;
    int addSecondsToTick(int tick, float seconds) const;
    int indexOfTempo(const HVCurrentModel::Tempo* tempo) const;
    int indexOfBeat(const HVCurrentModel::Beat* beat) const;
    void unselAllTempos();
    void unselAllBeats();

    // --- tempo and beat operations ---
    // Without record the marker goes straight into the list.
    void insertTempo(HVCurrentModel::Tempo* tempo, bool record);
    void insertTempos(const std::vector<HVCurrentModel::Tempo*>& tempos);
    void editTempo(const TempoEdits& edits);
    void deleteTempo(HVCurrentModel::Tempo* tempo);
    void deleteTempos(const std::vector<HVCurrentModel::Tempo*>& tempos);
    void insertBeat(HVCurrentModel::Beat* beat);
    void insertBeats(const std::vector<HVCurrentModel::Beat*>& beats);
    void editBeat(const BeatEdits& edits);
    void deleteBeat(HVCurrentModel::Beat* beat);
    void deleteBeats(const std::vector<HVCurrentModel::Beat*>& beats);
    void setPlayEndTag(bool on);

    // --- track and segment operations ---
    void insertTrack(HVCurrentModel::Track* track);
    void insertTracks(const std::vector<HVCurrentModel::Track*>& tracks);
    void addNewSingTrack(const std::string& name);
    void appendInstrumentTrack(HVCurrentModel::Track* track);
    void deleteTrack(HVCurrentModel::Track* track);
    void insertSegment(HVCurrentModel::BaseSegment* seg, HVCurrentModel::BaseSegmentContainer* segs);
    void insertSegments(const std::vector<HVCurrentModel::BaseSegment*>& list,
                        HVCurrentModel::BaseSegmentContainer* segs);
    void deleteSegments(const std::vector<HVCurrentModel::BaseSegment*>& list,
                        HVCurrentModel::BaseSegmentContainer* segs);
    void editSegmentsPosWidth(const std::vector<HVCurrentModel::SegmentPosWidth>& edits,
                              HVCurrentModel::BaseSegmentContainer* segs);
    void unselAllTrks();
    void clearTrksCurFlag();
    HVCurrentModel::Track* getCurTrk(int& index) const;
    HVCurrentModel::Track* getFirstSelTrk() const;
    void unselAllSegs();
    std::vector<HVCurrentModel::SingSegment*> collectAllSegments() const;
    void collectTrksWithOverlappedSegs(std::vector<int>& lastTicks) const;
    void collectSegsWithMissingSinger(std::vector<HVCurrentModel::SingSegment*>& out) const;
    int getProjectEndTick() const;

    // --- note operations ---
    void insertNote(HVCurrentModel::Note* note, HVCurrentModel::SingSegment* seg);
    void insertNotes(const std::vector<HVCurrentModel::Note*>& notes, HVCurrentModel::SingSegment* seg, bool record);
    void addNotesToSeg(const std::vector<HVCurrentModel::Note*>& notes, HVCurrentModel::SingSegment* seg);
    void deleteNotes(const std::vector<HVCurrentModel::Note*>& notes, HVCurrentModel::SingSegment* seg);
    void editNotesPosWidthKey(const std::vector<NotePosWidthKeyEdit>& edits, HVCurrentModel::SingSegment* seg);
    void editNotesLyric(const std::vector<NoteLyricEdit>& edits);
    void applyLyricsToNotes(HVCurrentModel::Note* note, const std::string& phoneticSymbol, const std::string& lyric);
    void replaceSegNotes(HVCurrentModel::Note* note, const std::vector<std::string>& texts,
                         HVCurrentModel::SingSegment* seg);
    void inputLyricsForNotes(HVCurrentModel::Note* first, const std::vector<std::string>& texts,
                             HVCurrentModel::SingSegment* seg);
    void editVibratoForNotes(HVCurrentModel::Note* note, int percent, const HVCurrentModel::VibratoCycle& cycle,
                             const HVCurrentModel::Vibrato& vibrato);
    void editExpressionForNotes(HVCurrentModel::Note* note, int bendDep, int bendLen, int tailChg, int headChg);
    void editNoteElementTimes(HVCurrentModel::Note* note, HVCurrentModel::Note* neighbour,
                              const ElementTimesValue& times, const ElemTimeTable& noteTable,
                              const ElemTimeTable& neighbourTable);
    void editNoteTimbreIndex(HVCurrentModel::Note* note, int timbreIndex);
    void editNoteFusionData(HVCurrentModel::Note* note, const std::string& crossSymbol, int crossTimbre);
    void beginRecNote(int key);
    void growRecNote();
    void endRecNote();
    void fixNoteOverlaps(HVCurrentModel::SingSegment* seg);
    void unselAllNotes();
    void collectSegsWithOverlappedNotes(std::vector<int>& ticks) const;
    void collectNotesInOtherTrks(std::vector<HVCurrentModel::SingSegment*>& out) const;

    // --- curve operations ---
    void editSegCurveAmplitude(HVCurrentModel::SingSegment* seg, const HVCurrentModel::NodeContainer& nodes);
    void editSegCurvePitch(HVCurrentModel::SingSegment* seg, const HVCurrentModel::NodeContainer& nodes);
    void editSegCurvePower(HVCurrentModel::SingSegment* seg, const HVCurrentModel::NodeContainer& nodes);
    void editSegCurveBreath(HVCurrentModel::SingSegment* seg, const HVCurrentModel::NodeContainer& nodes);
    void editSegCurveGender(HVCurrentModel::SingSegment* seg, const HVCurrentModel::NodeContainer& nodes);
    void editSegCurveBrightness(HVCurrentModel::SingSegment* seg, const HVCurrentModel::NodeContainer& nodes);
    void editSegCurveCross(HVCurrentModel::SingSegment* seg, const HVCurrentModel::NodeContainer& nodes);

    // Note editor state, stored in each group's view state.
    int curveKind = 0;
    int editMode = 0;
    HVCurrentModel::SingSegment* editSeg = nullptr;
    HVCurrentModel::Track* editTrk = nullptr;
    // Live note entry during playback.
    HVCurrentModel::Note* liveNote = nullptr;
    int liveSegPos = 0;
    HVCurrentModel::SingSegment* liveSeg = nullptr;
    // Play range and cursor, in ticks.
    int playStart = 0;
    bool playStartOn = false;
    int playEnd = 0;
    bool playEndOn = false;
    int playPos = kStartPlayPos;
    int isPlaying = 0;

private:
    const BeatList& beats() const { return model_->beats; }
    // Runs one recorder into a new group and commits it.
    template <class Fn>
    void runGroup(Fn&& record);
    // The view state of a group may name a segment that has since left the
    // model; such a segment is never handed to the note editor.
    HVCurrentModel::SingSegment* segmentIfInModel(HVCurrentModel::SingSegment* segment) const;
    void restoreViewState(const HistoryViewState& state);
    // After an undo or redo (state invalid when there was nothing to step).
    void afterHistoryStep(const HistoryViewState& state);
    // Through the note editor when there is one, so that it shows the segment.
    void showEditSeg(HVCurrentModel::SingSegment* segment);
    void dropEditSegIfGone();
    // Ends live entry without touching the note once a record took the note
    // out of its segment, or the segment out of the model: the note then
    // belongs to that record (or stays inside the segment the record owns).
    // Checked after every commit, undo and redo. True when no entry remains.
    bool endLiveEntryIfNoteGone();

    std::unique_ptr<HVCurrentModel::HalvorenModel> model_;
    CHistoryMgr history_;
    CString path_;
    std::vector<IDocView*> views_;
    IDocNoteEditor* noteEditor_ = nullptr;
    IDocMainFrame* mainFrame_ = nullptr;
    IDocModeButtons* modeButtons_ = nullptr;
    std::unique_ptr<IClipAudioMgr> clipAudio_;
    std::unique_ptr<ITrackMixGroup> trackMix_;
};

template <class Fn>
void CSSSynthesizerDoc::runGroup(Fn&& record) {
    CHistoryGroup* group = newGroup();
    record(group);
    commitGroup(group);
}

// The one document, built on first use.
CSSSynthesizerDoc* getDoc();
