#include "model/history/HistoryMgr.h"

CHistoryMgr::~CHistoryMgr() { clear(); }

void CHistoryMgr::forgetIfSaved(const CHistoryGroup* group) {
    if (savedValid && saved == group) {
        saved = nullptr;
        savedValid = false;
    }
}

void CHistoryMgr::clearRedoList() {
    while (!redoList.empty()) {
        CHistoryGroup* group = redoList.front();
        redoList.pop_front();
        releaseGroupUndone(group);
        forgetIfSaved(group);
        delete group;
    }
}

void CHistoryMgr::clearUndoList() {
    while (!undoList.empty()) {
        CHistoryGroup* group = undoList.back();
        undoList.pop_back();
        releaseGroupDone(group);
        forgetIfSaved(group);
        delete group;
    }
}

void CHistoryMgr::clear() {
    clearRedoList();
    clearUndoList();
}

void CHistoryMgr::push(CHistoryGroup* group) {
    clearRedoList();
    undoList.push_back(group);
    if (static_cast<int>(undoList.size()) >= limit) {
        CHistoryGroup* oldest = undoList.front();
        undoList.pop_front();
        releaseGroupDone(oldest);
        // A null marker stands for "saved with an empty undo list": once the
        // oldest group is gone the undo list can never become that empty state
        // again, so the marker no longer describes any reachable state.
        if (savedValid && (saved == oldest || saved == nullptr)) {
            saved = nullptr;
            savedValid = false;
        }
        delete oldest;
    }
}

void CHistoryMgr::undo(HistoryViewState& out) {
    if (undoList.empty()) return;
    CHistoryGroup* group = undoList.back();
    undoList.pop_back();
    undoHistoryGroup(group);
    redoList.push_back(group);
    out = group->viewState;
}

void CHistoryMgr::redo(HistoryViewState& out) {
    if (redoList.empty()) return;
    CHistoryGroup* group = redoList.back();
    redoList.pop_back();
    redoHistoryGroup(group);
    undoList.push_back(group);
    out = group->viewState;
}
