#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/history/HistoryMgr.h"

namespace {

using Log = std::vector<std::string>;

// A record that logs every call into a shared journal.
class LoggingRec : public IHistoryRec {
public:
    LoggingRec(Log& log, std::string name) : log_(log), name_(std::move(name)) {}
    ~LoggingRec() override { log_.push_back("~" + name_); }
    void undo() override { log_.push_back("undo " + name_); }
    void redo() override { log_.push_back("redo " + name_); }
    void freeIfUndone() override { log_.push_back("freeIfUndone " + name_); }
    void freeIfDone() override { log_.push_back("freeIfDone " + name_); }

private:
    Log& log_;
    std::string name_;
};

CHistoryGroup* groupOf(Log& log, const std::vector<std::string>& names, int mode = 0) {
    auto* g = new CHistoryGroup(nullptr);
    for (const auto& n : names) g->addRec(new LoggingRec(log, n));
    g->viewState = {true, nullptr, mode, mode * 3, false, -1};
    return g;
}

}  // namespace

TEST(HistoryMgr, UndoRedoWalkRecordsInOppositeOrdersAndCarryTheViewState) {
    Log log;
    CHistoryMgr h;
    h.push(groupOf(log, {"a", "b", "c"}, 1));
    HistoryViewState state;
    h.undo(state);
    EXPECT_TRUE(state.valid && state.editMode == 1 && state.curveKind == 3);
    h.redo(state);
    EXPECT_EQ((Log{"undo c", "undo b", "undo a", "redo a", "redo b", "redo c"}), log);
    EXPECT_EQ(h.undoCount(), 1);
    EXPECT_EQ(h.redoCount(), 0);
}

TEST(HistoryMgr, DroppedGroupsReleaseTheirRecordsByTheListTheyLeave) {
    Log log;
    {
        CHistoryMgr h;
        h.push(groupOf(log, {"a1", "a2"}));
        h.push(groupOf(log, {"b1", "b2"}));
        HistoryViewState s;
        h.undo(s);
        log.clear();
        // A new operation ends the redo chain: the undone group is released
        // first to last as undone, then destroyed.
        h.push(groupOf(log, {"c"}));
        EXPECT_EQ((Log{"freeIfUndone b1", "freeIfUndone b2", "~b1", "~b2"}), log);
        log.clear();
    }
    // Destroying the manager releases the done groups newest first, each
    // group's records last to first.
    EXPECT_EQ((Log{"freeIfDone c", "~c", "freeIfDone a2", "freeIfDone a1", "~a1", "~a2"}), log);
}

TEST(HistoryMgr, ThreeHundredPushesKeepTheNewest255Groups) {
    Log log;
    CHistoryMgr h;
    std::vector<CHistoryGroup*> pushed;
    for (int i = 0; i < 300; ++i) {
        pushed.push_back(groupOf(log, {"r" + std::to_string(i)}));
        h.push(pushed.back());
    }
    EXPECT_EQ(h.undoCount(), 255);
    EXPECT_EQ(h.undoList.front(), pushed[45]);
    EXPECT_EQ(h.undoList.back(), pushed[299]);
    EXPECT_EQ((Log{"freeIfDone r0", "~r0"}), Log(log.begin(), log.begin() + 2));  // released as done
}

// The saved state is lost for good once the group it names is dropped at the
// limit, whether that is a group or the null marker of a history saved with
// nothing to undo.
TEST(HistoryMgr, SavedMarkerDiesWithTheOldestGroupAtTheLimit) {
    Log log;
    for (bool emptyWhenSaved : {false, true}) {
        CHistoryMgr h;
        if (!emptyWhenSaved) h.push(groupOf(log, {"first"}));
        h.markSaved();
        EXPECT_TRUE(h.savedValid && h.saved == h.newestUndo());
        for (int i = 0; i < 256; ++i) h.push(groupOf(log, {"x"}));
        EXPECT_FALSE(h.savedValid) << emptyWhenSaved;
    }
}
