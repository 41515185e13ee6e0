#pragma once
// The planning of a sixth-generation job's cells: one cell record per note
// (names, join, frame positions, classes, record checks, consonant length)
// and the trim of the previous cell where this cell's consonant overlaps it.
// The records are read through an interface, so the job's cell loop and a
// timing plan lay the cells out alike.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/SynthScoreV3.h"
#include "engine/v6/CellRecord.h"
#include "lyrics/ISymbolMgr.h"
#include "voicebank/v6/SourceRecords.h"

namespace HalvorenEngineV6 {

// The records a walk reads, by unit and the timbre's pitch name; null when
// the bank lacks them. Without exact, the unit's form after a vowel ("-" +
// unit) is preferred.
class ICellRecords {
public:
    virtual ~ICellRecords() = default;
    virtual VoiceSrc* voiceSrc(const std::string& unit, const std::string& pitch, bool exact) = 0;
    virtual SrcParameter* srcParameter(const std::string& unit, const std::string& pitch, bool exact) = 0;
};

// Frames are hop samples apart; the job starts startOffset samples
// (trunc(head time x rate)) before the score's time 0.
struct WalkTiming {
    float sampleRate = 44100.0f;
    float hop = 128.0f;
    std::int32_t startOffset = 0;
};

// The longest gap, in seconds, across which two notes are sung joined.
inline constexpr float kJoinGap = 0.2f;
// Frames of consonant per unit of the consonant factor, for a breath.
inline constexpr double kBreathConsonantFrames = 3.0;

// The output frame of a time in seconds (the magnitude of the quotient,
// toward zero).
std::int32_t frameOfTime(float seconds, const WalkTiming& timing);
// Whether note k is sung joined to the next: not after a break, a rest of
// more than kJoinGap, a breath or at the last note; into a breath only when
// the breath is a whole unit, and a note not sung on its own never joins.
bool joinsNext(Halvoren::ISymbolMgr& symbols, const HalvorenEngine::SynthScoreV3& score, std::size_t k);
// Sets valid, hasUnitModel and hasSecondModel from the records; a unit
// without a record is replaced by the symbol, a missing second model by the
// unit.
void validateCell(CellRecord& cell, Halvoren::ISymbolMgr& symbols, ICellRecords& records, bool followsTransition);
// Appends the cell of note k, after the previous cell (if any) in cells,
// and trims that cell where this one's consonant overlaps it. Writes the
// note's consonant factor back clamped to 0..100.
void walkNote(Halvoren::ISymbolMgr& symbols, ICellRecords& records, HalvorenEngine::SynthScoreV3& score,
              std::size_t k, const WalkTiming& timing, std::vector<CellRecord>& cells);
// The trim of the previous cell p against cell: p ends where cell's
// consonant begins, but no earlier than half its own note, in which case the
// consonant is shortened instead. A breath p keeps its length; what still
// overlaps is set as cell's overlapIn and p's overlapOut.
void trimOverlap(CellRecord& p, CellRecord& cell);

}  // namespace HalvorenEngineV6
