#include "model/history/HistoryGroup.h"

CHistoryGroup::~CHistoryGroup() { destroyHistoryGroup(this); }

void destroyHistoryGroup(CHistoryGroup* group) {
    for (IHistoryRec* rec : group->records) delete rec;
    group->records.clear();
}

void undoHistoryGroup(CHistoryGroup* group) {
    for (auto it = group->records.rbegin(); it != group->records.rend(); ++it) (*it)->undo();
}

void redoHistoryGroup(CHistoryGroup* group) {
    for (IHistoryRec* rec : group->records) rec->redo();
}

void releaseGroupUndone(CHistoryGroup* group) {
    for (IHistoryRec* rec : group->records) rec->freeIfUndone();
}

void releaseGroupDone(CHistoryGroup* group) {
    for (auto it = group->records.rbegin(); it != group->records.rend(); ++it) (*it)->freeIfDone();
}
