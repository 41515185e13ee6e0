#pragma once
// One undoable change of the project. A record is performed once by its
// recorder, then undone and redone by the history any number of times, then
// released exactly once (freeIfUndone or freeIfDone) before it is destroyed.

class IHistoryRec {
public:
    // Never frees a model element: releasing is the job of the two free calls.
    virtual ~IHistoryRec() = default;
    virtual void undo() = 0;
    virtual void redo() = 0;
    // The group is dropped while undone: its changes are not in the model.
    virtual void freeIfUndone() = 0;
    // The group is dropped while done: its changes are in the model.
    virtual void freeIfDone() = 0;
};
