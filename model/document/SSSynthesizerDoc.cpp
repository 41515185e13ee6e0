#include "model/document/SSSynthesizerDoc.h"

#include <algorithm>

#include "model/current/Markers.h"
#include "model/file/ProjectFile.h"
#include "platform/StringUtil.h"
#include "shell/services/AppConfig.h"

using namespace HVCurrentModel;

CSSSynthesizerDoc::CSSSynthesizerDoc() {
    history_.markSaved();
    model_ = std::make_unique<HalvorenModel>();
}

CSSSynthesizerDoc::~CSSSynthesizerDoc() {
    // Records may own elements that were taken out of the model: release them
    // while the model they came from still exists.
    history_.clear();
    model_.reset();
}

bool CSSSynthesizerDoc::isModified() const {
    if (!history_.savedValid) return true;
    if (history_.saved == nullptr) return history_.undoCount() != 0;
    return history_.saved != history_.newestUndo();
}

// ---------------------------------------------------------------- windows

void CSSSynthesizerDoc::addView(IDocView* view) {
    if (view && !containsPtr(views_, view)) views_.push_back(view);
}

void CSSSynthesizerDoc::removeView(IDocView* view) {
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

void CSSSynthesizerDoc::refreshAllViews() {
    for (IDocView* v : views_) {
        v->refreshFromDoc();
        v->invalidate(true);
    }
}

void CSSSynthesizerDoc::invalidateAllViews() {
    for (IDocView* v : views_) v->invalidate(true);
}

void CSSSynthesizerDoc::updateViewsTags() {
    for (IDocView* v : views_) v->updateTags();
}

void CSSSynthesizerDoc::updateViewsPlayRange() {
    for (IDocView* v : views_) v->updatePlayRange();
}

// ---------------------------------------------------------------- groups

CHistoryGroup* CSSSynthesizerDoc::newGroup() const { return new CHistoryGroup(model_.get()); }

void CSSSynthesizerDoc::commitGroup(CHistoryGroup* group) {
    if (group->recCount() == 0) {
        delete group;
        return;
    }
    group->viewState = {true, editSeg, editMode, curveKind, false, -1};
    dropEditSegIfGone();
    endLiveEntryIfNoteGone();
    refreshAllViews();
    history_.push(group);
    if (mainFrame_) mainFrame_->updateTitle();
}

void CSSSynthesizerDoc::undo() {
    // An empty list leaves the state invalid: nothing is restored.
    HistoryViewState state;
    history_.undo(state);
    afterHistoryStep(state);
}

void CSSSynthesizerDoc::redo() {
    HistoryViewState state;
    history_.redo(state);
    afterHistoryStep(state);
}

void CSSSynthesizerDoc::afterHistoryStep(const HistoryViewState& state) {
    if (state.valid) restoreViewState(state);
    dropEditSegIfGone();
    endLiveEntryIfNoteGone();
    refreshAllViews();
    if (mainFrame_) mainFrame_->updateTitle();
}

Track* CSSSynthesizerDoc::findSingTrackOf(const SingSegment* segment) const {
    if (!segment) return nullptr;
    for (Track* t : model_->tracks) {
        if (t->kind != kSingingTrack || !t->singSegs) continue;
        if (t->singSegs->contains(segment)) return t;
    }
    return nullptr;
}

SingSegment* CSSSynthesizerDoc::segmentIfInModel(SingSegment* segment) const {
    return findSingTrackOf(segment) ? segment : nullptr;
}

void CSSSynthesizerDoc::dropEditSegIfGone() {
    // The note editor must never keep showing a segment that an edit, undo or
    // redo took out of the model: the record that now owns it may free it.
    if (!editSeg || segmentIfInModel(editSeg)) return;
    showEditSeg(nullptr);
}

void CSSSynthesizerDoc::showEditSeg(SingSegment* segment) {
    if (noteEditor_)
        noteEditor_->setEditSeg(segment);
    else
        setEditingSegment(segment);
}

void CSSSynthesizerDoc::restoreViewState(const HistoryViewState& state) {
    showEditSeg(segmentIfInModel(state.segment));
    editMode = state.editMode;
    if (mainFrame_) mainFrame_->setEditMode(state.editMode);
    if (state.editMode == 1) {
        curveKind = state.curveKind;
        if (noteEditor_) noteEditor_->selParm(state.curveKind);
    }
}

// ---------------------------------------------------------------- files

bool CSSSynthesizerDoc::saveAs(const CString& path) {
    // A failed write keeps the document modified, so that closing it still
    // asks to save.
    if (saveProjectFile(*model_, path) != 0) return false;
    path_ = path;
    history_.markSaved();
    return true;
}

void CSSSynthesizerDoc::setModel(HalvorenModel* model, const CString& path) {
    history_.clear();
    if (model && model != model_.get()) model_.reset(model);
    // Everything that pointed into the old model goes with it.
    editSeg = nullptr;
    editTrk = nullptr;
    liveNote = nullptr;
    liveSeg = nullptr;
    liveSegPos = 0;
    playStartOn = false;
    playEndOn = false;
    playStart = measureToTick(1);
    playEnd = measureToTick(2);
    path_ = path;
    history_.markSaved();
}

// ---------------------------------------------------------------- note editor

void CSSSynthesizerDoc::setEditingSegment(SingSegment* segment) {
    editSeg = segment;
    if (!segment) {
        editTrk = nullptr;
        return;
    }
    if (Track* t = findSingTrackOf(segment)) editTrk = t;
}

void CSSSynthesizerDoc::resetEditWndSegment() {
    showEditSeg(nullptr);
    if (modeButtons_) modeButtons_->selectBtnAt(0, false);
    editMode = 0;
    if (noteEditor_) {
        noteEditor_->switchEditMode(0);
        noteEditor_->invalidate(true);
    }
}

void CSSSynthesizerDoc::getEditWndRange(int& tickFrom, int& tickTo, int& keyFrom, int& keyTo) const {
    if (noteEditor_) noteEditor_->getVisibleTickRange(tickFrom, tickTo, keyFrom, keyTo);
}

// ---------------------------------------------------------------- players

IClipAudioMgr& CSSSynthesizerDoc::clipAudio() {
    if (!clipAudio_) clipAudio_ = makeDocClipAudio();
    return *clipAudio_;
}

ITrackMixGroup& CSSSynthesizerDoc::trackMix() {
    if (!trackMix_) trackMix_ = makeDocTrackMix();
    return *trackMix_;
}

void CSSSynthesizerDoc::applyTrackMixToPlayers() {
    if (!isPlaying) return;
    ITrackMixGroup& mix = trackMix();
    const int count = std::min(static_cast<int>(model_->tracks.size()), mix.trackListCount());
    for (int i = 0; i < count; ++i) {
        if (!mix.hasTrackList(i)) continue;
        const Track* t = model_->tracks[i];
        mix.setGain(i, t->muted ? 0.0f : static_cast<float>(t->volume / 100.0));
        mix.setPan(i, t->balance);
    }
}

// ---------------------------------------------------------------- note defaults

void CSSSynthesizerDoc::setNoteDefaultVibExp(Note* note) {
    const CAppConfigModel& cfg = getAppConfig();
    if (cfg.isAutoVib && static_cast<int64_t>(cfg.autoVibBeats) * kWholeNoteTicks / 4 <= note->width) {
        note->vibPercent = cfg.vibPercent;
        note->vibrato.assign(cfg.vibPreins);
    }
    note->bendDep = cfg.expBendDep;
    note->bendLen = cfg.expBendLen;
    note->tailChg = cfg.expTailChg;
    note->headChg = cfg.expHeadChg;
}

// ---------------------------------------------------------------- accessor

CSSSynthesizerDoc* getDoc() {
    static CSSSynthesizerDoc doc;
    return &doc;
}
