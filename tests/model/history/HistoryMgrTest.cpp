#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/history/HistoryMgr.h"

namespace {

// A record that logs every call into a shared journal.
class LoggingRec : public IHistoryRec {
public:
    LoggingRec(std::vector<std::string>& log, std::string name) : log_(log), name_(std::move(name)) {}
    ~LoggingRec() override { log_.push_back("~" + name_); }
    void undo() override { log_.push_back("undo " + name_); }
    void redo() override { log_.push_back("redo " + name_); }
    void freeIfUndone() override { log_.push_back("freeIfUndone " + name_); }
    void freeIfDone() override { log_.push_back("freeIfDone " + name_); }

private:
    std::vector<std::string>& log_;
    std::string name_;
};

CHistoryGroup* groupOf(std::vector<std::string>& log, const std::vector<std::string>& names, int mode = 0) {
    auto* g = new CHistoryGroup(nullptr);
    for (const auto& n : names) g->addRec(new LoggingRec(log, n));
    g->viewState = {true, nullptr, mode, mode * 3, false, -1};
    return g;
}

bool modified(const CHistoryMgr& h) {
    if (!h.savedValid) return true;
    return h.saved != h.newestUndo();
}

}  // namespace

TEST(HistoryMgr, UndoRedoWalkRecordsInOppositeOrdersAndCarryTheViewState) {
    std::vector<std::string> log;
    CHistoryMgr h;
    h.push(groupOf(log, {"a", "b", "c"}, 1));
    HistoryViewState state;
    h.undo(state);
    EXPECT_TRUE(state.valid);
    EXPECT_EQ(state.editMode, 1);
    EXPECT_EQ(state.curveKind, 3);
    h.redo(state);
    EXPECT_EQ((std::vector<std::string>{"undo c", "undo b", "undo a", "redo a", "redo b", "redo c"}), log);
    EXPECT_EQ(h.undoCount(), 1);
    EXPECT_EQ(h.redoCount(), 0);
}

TEST(HistoryMgr, DroppedGroupsReleaseTheirRecordsByTheListTheyLeave) {
    std::vector<std::string> log;
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
        EXPECT_EQ((std::vector<std::string>{"freeIfUndone b1", "freeIfUndone b2", "~b1", "~b2"}), log);
        log.clear();
    }
    // Destroying the manager releases the done groups newest first, each
    // group's records last to first.
    EXPECT_EQ((std::vector<std::string>{"freeIfDone c", "~c", "freeIfDone a2", "freeIfDone a1", "~a1", "~a2"}), log);
}

TEST(HistoryMgr, ThreeHundredPushesKeepTheNewest255Groups) {
    std::vector<std::string> log;
    CHistoryMgr h;
    std::vector<CHistoryGroup*> pushed;
    for (int i = 0; i < 300; ++i) {
        pushed.push_back(groupOf(log, {"r" + std::to_string(i)}));
        h.push(pushed.back());
    }
    EXPECT_EQ(h.undoCount(), 255);
    EXPECT_EQ(h.undoList.front(), pushed[45]);
    EXPECT_EQ(h.undoList.back(), pushed[299]);
    // The first 45 groups were released as done.
    EXPECT_EQ(log[0], "freeIfDone r0");
    EXPECT_EQ(log[1], "~r0");
}

TEST(HistoryMgr, SavedMarkerFollowsTheNewestGroupUntilItIsDropped) {
    std::vector<std::string> log;
    CHistoryMgr h;
    h.markSaved();
    EXPECT_FALSE(modified(h));
    h.push(groupOf(log, {"a"}));
    EXPECT_TRUE(modified(h));
    HistoryViewState s;
    h.undo(s);
    EXPECT_FALSE(modified(h));
    h.redo(s);
    h.markSaved();
    EXPECT_FALSE(modified(h));
    // Save, undo, new edit: the saved group leaves with the redo list.
    h.undo(s);
    h.push(groupOf(log, {"b"}));
    EXPECT_FALSE(h.savedValid);
    h.undo(s);
    EXPECT_TRUE(modified(h));
}

TEST(HistoryMgr, SavedOldestGroupDroppedAtTheLimitInvalidatesTheMarker) {
    std::vector<std::string> log;
    CHistoryMgr h;
    h.push(groupOf(log, {"first"}));
    h.markSaved();
    for (int i = 0; i < 255; ++i) h.push(groupOf(log, {"x"}));
    EXPECT_FALSE(h.savedValid);
}

TEST(HistoryMgr, MarkerSavedWithAnEmptyUndoListDiesWithTheOldestGroup) {
    std::vector<std::string> log;
    CHistoryMgr h;
    h.markSaved();  // saved (or loaded) with nothing to undo
    for (int i = 0; i < 256; ++i) h.push(groupOf(log, {"x"}));
    HistoryViewState s;
    for (int i = 0; i < 255; ++i) h.undo(s);
    ASSERT_EQ(h.undoCount(), 0);
    // The first operation is gone for good: the model still differs from the file.
    EXPECT_TRUE(modified(h));
}
