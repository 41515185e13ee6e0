#pragma once
// The cells of a fourth-generation job and their layout in frames: the note
// walk with its record checks (joins, start, lengths, onset, overlap trim),
// the end part's join mode and the lengths of the parts. The records are
// read through an interface, so the frames that are sung and the editor's
// timing plan lay cells out with the same routine.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/SynthScoreV3.h"
#include "engine/v3/CellLayout.h"
#include "lyrics/ISymbolMgr.h"
#include "voicebank/v4/SourceRecords.h"

namespace HalvorenEngineV4 {

using HalvorenEngineV3::CellUnitNames;
using HalvorenEngineV3::WalkTiming;

// The third generation's cell with the flags of the record checks. Its
// onsetShortened flag is set on the cell that follows a transition.
struct CellRecord : HalvorenEngineV3::CellRecord {
    std::uint8_t valid = 0;
    std::uint8_t hasUnitModel = 0;
    std::uint8_t hasCrossModel = 0;

    bool followsTransition() const { return onsetShortened != 0; }
    // A final sung alone: no initial of its own.
    bool isBareFinal() const { return isFinal != 0 && finalFlag == 0; }
};

// The records a layout reads, each by unit and the pitch name asked for;
// null when the bank lacks them.
class ICellRecords {
public:
    virtual ~ICellRecords() = default;
    // The numbers of a unit only, for the record checks.
    virtual SrcParameter* parameter(const std::string& unit, const std::string& pitch) = 0;
    // The record a part is made from; with retryWithDash a missing unit is
    // asked again as "-" + unit.
    virtual SrcParameter* voice(const std::string& unit, const std::string& pitch, bool retryWithDash) = 0;
    // The continuant of one name ("-" or an initial).
    virtual SrcContinuantParameter* continuant(const std::string& name, const std::string& pitch) = 0;
};

// The record checks of a new cell: valid when the bank holds the sung
// symbol (the unit for a bare final); a unit the bank lacks becomes the
// symbol, a cross unit it lacks becomes the unit at the note's own timbre.
void validateCell(CellRecord& cell, Halvoren::ISymbolMgr& symbols, ICellRecords& records);

// Appends the cell of note k, checked, with its onset length, and trims the
// previous cell where that onset overlaps it. The note's element time 0 is
// written back as the cell uses it, clamped into 0..100 (NaN as 0).
void walkNote(Halvoren::ISymbolMgr& symbols, ICellRecords& records, HalvorenEngine::SynthScoreV3& score,
              std::size_t k, const WalkTiming& timing, std::vector<CellRecord>& cells);

// How the end part of a cell is made.
enum JoinMode : int {
    kEndFromModel = 0,     // the unit's own release
    kEndMergeToSource = 1, // the unit merged into a recorded continuant
    kEndThroughTail = 2,   // into the next note's model through a recorded tail
    kEndMergeModels = 3,   // the unit merged into the next unit
};

struct CellLayout {
    SrcParameter* unit = nullptr;
    SrcParameter* cross = nullptr;
    SrcParameter* onset = nullptr;       // the sung symbol's record
    SrcParameter* nextSymbol = nullptr;  // the next note's onset model
    SrcParameter* nextUnit = nullptr;
    SrcParameter* nextCross = nullptr;
    SrcContinuantParameter* tail = nullptr;
    int mode = kEndFromModel;
    // The next note bound by a final: mode 3 unless a tail exists.
    bool intoFinal = false;
    std::string nextInitial;  // after the consonant substitution
    int nextAnchor = 0;       // the frame of nextSymbol the end part merges into
    int onsetLen = 0, secondLen = 0, steady = 0;
    int srcStart = 0, srcLen = 0;
    int midLen = 0, bodyLen = 0, endLen = 0;
};

// Records, join mode and part lengths of a valid cell that is no breath.
CellLayout layoutCell(Halvoren::ISymbolMgr& symbols, ICellRecords& records, const CellRecord& cell);

// Where a breath is sung within its cell: at most twice its recorded span
// (from the record's v4Param2), ending with the cell.
struct BreathSpan {
    int start = 0;   // output frame
    int length = 0;  // frames
    int span = 0;    // recorded frames
};
BreathSpan breathSpan(const CellRecord& cell, const SrcParameter& record);

}  // namespace HalvorenEngineV4
