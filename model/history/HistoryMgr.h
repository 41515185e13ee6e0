#pragma once
// The undo and redo lists of history groups and the saved marker from which
// the document decides whether it is modified. The manager owns every group
// in its lists.
#include <list>

#include "model/history/HistoryGroup.h"

class CHistoryMgr {
public:
    static constexpr int kDefaultLimit = 256;

    CHistoryMgr() = default;
    ~CHistoryMgr();
    CHistoryMgr(const CHistoryMgr&) = delete;
    CHistoryMgr& operator=(const CHistoryMgr&) = delete;

    // Drops every undone group (their changes are not in the model).
    void clearRedoList();
    // Drops every done group, newest first (their changes stay in the model).
    void clearUndoList();
    void clear();

    // Ends the redo chain, appends the group to the undo list and drops the
    // oldest group once the list reaches the limit: at most limit - 1 stay.
    void push(CHistoryGroup* group);
    // Moves the newest group from one list to the other and copies out its
    // view state; nothing (out untouched) when the list is empty.
    void undo(HistoryViewState& out);
    void redo(HistoryViewState& out);

    int undoCount() const { return static_cast<int>(undoList.size()); }
    int redoCount() const { return static_cast<int>(redoList.size()); }
    CHistoryGroup* newestUndo() const { return undoList.empty() ? nullptr : undoList.back(); }
    // Marks the current newest undo group (null for an empty list) as saved.
    void markSaved() { saved = newestUndo(); savedValid = true; }

    CHistoryGroup* saved = nullptr;
    bool savedValid = false;
    int limit = kDefaultLimit;
    std::list<CHistoryGroup*> redoList;
    std::list<CHistoryGroup*> undoList;

private:
    void forgetIfSaved(const CHistoryGroup* group);
};
