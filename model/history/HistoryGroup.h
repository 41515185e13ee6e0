#pragma once
// The records of one user operation together with the note editor's view
// state, stored at commit and restored on undo and redo.
#include <vector>

#include "model/history/IHistoryRec.h"

namespace HVCurrentModel {
class HalvorenModel;
class SingSegment;
}  // namespace HVCurrentModel

struct HistoryViewState {
    bool valid = false;
    HVCurrentModel::SingSegment* segment = nullptr;
    int editMode = 0;
    int curveKind = 0;
    bool flag = false;   // always false
    int extra = -1;      // always -1
};

class CHistoryGroup {
public:
    explicit CHistoryGroup(HVCurrentModel::HalvorenModel* m) : model(m) {}
    ~CHistoryGroup();
    CHistoryGroup(const CHistoryGroup&) = delete;
    CHistoryGroup& operator=(const CHistoryGroup&) = delete;

    // Takes ownership of the record.
    void addRec(IHistoryRec* rec) { records.push_back(rec); }
    int recCount() const { return static_cast<int>(records.size()); }

    std::vector<IHistoryRec*> records;
    HVCurrentModel::HalvorenModel* model;
    HistoryViewState viewState;
};

// Deletes every record; the group object stays for its owner to delete.
void destroyHistoryGroup(CHistoryGroup* group);
// Undoes the records from the last to the first.
void undoHistoryGroup(CHistoryGroup* group);
// Redoes the records from the first to the last.
void redoHistoryGroup(CHistoryGroup* group);
// Releases the records of an undone group, first to last.
void releaseGroupUndone(CHistoryGroup* group);
// Releases the records of a done group, last to first.
void releaseGroupDone(CHistoryGroup* group);
