#pragma once
// The cells of a third-generation job and their layout in frames: the note
// walk that makes one cell record per note (joins, start, lengths, onset and
// the overlap trim) and the layout of a cell into onset, middle part, body
// and end part with the kind of its end part. The records are read through
// an interface, so the frames and a timing plan lay cells out alike.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/SynthScoreV3.h"
#include "lyrics/ISymbolMgr.h"
#include "voicebank/v3/SourceRecords.h"

namespace HalvorenEngineV3 {

struct CellUnitNames {
    std::string nextInitial;
    std::string nextFinal;
    std::string initial;
    std::string final;
    std::string symbol;
    std::string nextSymbol;
    std::string unit;
    std::string nextUnit;
    std::string timbre;
    std::string nextTimbre;
    std::string crossUnit;
    std::string nextCrossUnit;
    std::string crossTimbre;
    std::string nextCrossTimbre;
};

struct CellRecord {
    CellUnitNames names;
    std::int32_t cellStart = 0;
    std::int32_t cellLength = 0;
    std::int32_t noteLength = 0;
    std::uint8_t onsetShortened = 0;
    std::uint8_t transition = 0;
    std::uint8_t initialClass = 0;
    std::uint8_t initialClass2 = 0;
    std::uint8_t isFinal = 0;
    std::uint8_t finalFlag = 0;
    std::int32_t cellOffset = 0;
    std::uint8_t elemFlag = 0;
    float elemTime1 = 0.0f;
    float elemTime2 = 0.0f;
    float elemTime3 = 0.0f;
    float onsetFactor = 0.0f;  // element time 0, clamped into 0..100
};

// The records a layout reads, each by unit and the timbre's pitch name; null
// when the bank lacks them.
class ICellRecords {
public:
    virtual ~ICellRecords() = default;
    virtual SrcParameter* voice(const std::string& unit, const std::string& pitch) = 0;
    // The continuant first + "_" + second.
    virtual SrcContinuantParameter* continuant(const std::string& first, const std::string& second,
                                               const std::string& pitch) = 0;
};

// The symbol tag when it is a known syllable other than a breath, else the
// fallback; a final standing alone is normalised to its vowel unit.
std::string unitNameFor(Halvoren::ISymbolMgr& symbols, const std::string& tag, const std::string& fallback);

// What the walk needs beside the notes: frames are hop samples apart, the
// job starts leadSamples (trunc(rate x lead-in)) before the first note time.
struct WalkTiming {
    float sampleRate = 44100.0f;
    float hop = 128.0f;
    float leadSamples = 0.0f;
};

// The timing of a run at sampleRate and hop whose score has leadIn seconds
// before its first note time.
WalkTiming walkTimingOf(float sampleRate, std::int32_t hop, float leadIn);
// The output frame of a time in seconds.
std::int32_t frameOfTime(float seconds, const WalkTiming& timing);
// Whether note k joins the next note.
bool joinsNext(Halvoren::ISymbolMgr& symbols, const HalvorenEngine::SynthScoreV3& score, std::size_t k);
// The cell of note k as far as every generation with timbres makes it alike:
// names, final flags, element times, join, start and lengths in frames, the
// initial's classes and element time 0 clamped into 0..100. Its onset is
// left to the generation.
CellRecord startCell(Halvoren::ISymbolMgr& symbols, const HalvorenEngine::SynthScoreV3& score, std::size_t k,
                     const WalkTiming& timing);
// Appends the cell of note k, trimming the previous cell where its onset
// overlaps; the note's element time 0 is written back as the cell uses it,
// clamped into 0..100.
void walkNote(Halvoren::ISymbolMgr& symbols, ICellRecords& records, HalvorenEngine::SynthScoreV3& score,
              std::size_t k, const WalkTiming& timing, std::vector<CellRecord>& cells);
// The overlap trim of cell against the previous cell p: when the onset
// reaches back past half of p's reference length (its note length here),
// p keeps that half; else p ends where the onset starts. A cellOffset the
// trim makes negative becomes 0.
void trimOverlap(CellRecord& p, CellRecord& cell, std::int32_t CellRecord::*reference = &CellRecord::noteLength);

// The parts of one cell. The records are those the records interface gave.
struct CellLayout {
    SrcParameter* m1 = nullptr;  // the unit
    SrcParameter* m2 = nullptr;  // the cross unit
    SrcParameter* rL = nullptr;  // the recorded syllable
    SrcParameter* m3 = nullptr;  // the next unit
    SrcParameter* m4 = nullptr;  // the next cross unit
    SrcParameter* rN = nullptr;  // the next recorded syllable
    SrcContinuantParameter* c = nullptr;
    bool distinctCross = false;
    bool nextDistinctCross = false;
    int kind = 0;
    std::string nextInitial;  // after the consonant substitution
    int onsetStart = 0, onsetLen = 0, secondLen = 0;
    int a = 0, b = 0, mid = 0;
    int srcStart = 0, srcLen = 0;
    int midLen = 0, bodyLen = 0, endLen = 0;
};

// The end part's kind for a transition from the final into the next note
// (the continuant final + "_" + the next initial at the pitch), and its
// continuant; missing records fall back to a kind that needs fewer.
int endKind(Halvoren::ISymbolMgr& symbols, ICellRecords& records, const CellRecord& cell, const std::string& final,
            const std::string& nextInitial, const std::string& pitch, bool haveNext, bool haveNextUnit,
            SrcContinuantParameter*& c);
struct PartLengths {
    int midLen = 0, bodyLen = 0, endLen = 0;
};
// Middle, body and end lengths of a cell of length L, from the lengths of
// the recorded middle part, the unit's steady span and its end part. Element
// times whose sum is zero or not finite count as absent.
PartLengths partLengthsOf(const CellRecord& cell, int L, int secondLen, int steady, int srcLen);
// The same into a layout, from its own secondLen, b - a and srcLen.
void partLengths(const CellRecord& cell, int L, CellLayout& out);
// The stretch of a breath cell: at most twice the breath's recorded length
// srcLen (r.param4 + r.param5 - r.endPos, 0 when a damaged record makes it
// negative), ending with its note.
struct BreathSpan {
    std::int32_t srcLen = 0;
    std::int32_t start = 0;
    std::int32_t length = 0;
};
BreathSpan breathSpan(const CellRecord& cell, const SrcParameter& r);
// A breath's frames in its cell: the last 2 * srcLen of the cellLength frames
// from cellStart, or all of them when fewer.
void placeBreath(std::int32_t cellStart, std::int32_t cellLength, std::int32_t srcLen, std::int32_t& start,
                 std::int32_t& length);
CellLayout layoutCell(Halvoren::ISymbolMgr& symbols, ICellRecords& records, const CellRecord& cell);

}  // namespace HalvorenEngineV3
