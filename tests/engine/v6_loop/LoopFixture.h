#pragma once
// A cell-maker state over a store in memory and a symbol table, notes in
// seconds, and a cell maker that records what it is given.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/v6/BuildCells.h"
#include "engine/v6/CellMakerState.h"
#include "lyrics/v6/CVVCMgr.h"
#include "support/engine/FakeStoreV6.h"
#include "support/engine/PhraseRun.h"

namespace v6test {

// Syllables ka and ma, voiced m, the vowel a standing alone, breath br1.
inline const std::string kTable = "ka,k,a;ma,m,a|m||a,a|br1";
// The same with br1 a whole unit and xx an extra unit (not sung alone).
inline const std::string kTableWholeBreath = "ka,k,a;ma,m,a|m|br1|a,a|br1|xx";

// A note at C4 with consonant factor factor and no cross timbre.
inline HalvorenEngine::SynthNoteV3 note(const std::string& symbol, float start, float duration, float factor = 0.0f)
{
    return enginetest::sung(symbol, start, duration, factor, "");
}

// What the recording maker saw of one cell.
struct MadeCell {
    HalvorenEngineV6::CellRecord cell;
    int notesWalked = 0;  // notes whose factor the walk had clamped by then
};

class LoopTest : public ::testing::Test {
protected:
    LoopTest() : state(44100.0f) { useTable(kTable); }

    void useTable(const std::string& table)
    {
        auto symbols = std::make_unique<HalvorenEngineV6::CVVCMgr>();
        symbols->parseTable(table);
        state.setSymbols(std::move(symbols));
        state.attachStore(store);
    }

    // Runs the loop over the score; the recording maker sees each cell.
    void run()
    {
        made.clear();
        current = this;
        HalvorenEngine::CellListCache list;
        HalvorenEngineV6::runCellLoop(state, score, list, &recordCell);
        finished = list.finished;
        current = nullptr;
    }

    // The walk marks a note by clamping its factor: notes start at -1.
    int notesWalked() const
    {
        int walked = 0;
        for (const auto& n : score.notes)
            walked += n.elemTime0 >= 0.0f ? 1 : 0;
        return walked;
    }

    static void recordCell(const HalvorenEngineV6::CellRecord& cell, HalvorenEngineV6::CellMakerState& state,
                           HalvorenEngine::CellListCache&)
    {
        current->made.push_back({cell, current->notesWalked()});
        if (current->stopAtCell == static_cast<int>(current->made.size()))
            state.setStop(true);
    }

    FakeStoreV6 store;
    HalvorenEngineV6::CellMakerState state;
    HalvorenEngine::SynthScoreV3 score;
    std::vector<MadeCell> made;
    bool finished = false;
    int stopAtCell = -1;  // the maker sets the stop flag after this many cells
    static inline LoopTest* current = nullptr;
};

}  // namespace v6test
