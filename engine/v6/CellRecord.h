#pragma once
// One cell of a sixth-generation job: a note sung from the bank's unit
// models, laid out as a consonant sung before the note's start (cellOffset
// frames), then head, body and tail up to cellLength frames from cellStart.
// Frames are output frame indices at the bank's hop.
#include <cstdint>
#include <string>

namespace HalvorenEngineV6 {

// The unit and pitch names of a cell and of its neighbours.
struct CellUnitNames {
    std::string nextInitial;  // the next note's symbol split in two
    std::string nextFinal;
    std::string initial;      // this note's symbol split in two; final is
    std::string final;        // the second part of the split of unit
    std::string symbol;
    std::string nextSymbol;
    std::string unit;         // the symbol, or a standing final's carrier
    std::string nextUnit;
    std::string timbre;       // pitch names
    std::string nextTimbre;
    std::string crossUnit;    // the second model of the cell
    std::string nextCrossUnit;
    std::string crossTimbre;
    std::string nextCrossTimbre;
    std::string prevSymbol;   // the previous cell's symbol and timbre
    std::string prevTimbre;
};

struct CellRecord {
    CellUnitNames names;
    std::int32_t cellStart = 0;
    std::int32_t cellLength = 0;
    std::int32_t noteLength = 0;
    std::uint8_t followsTransition = 0;  // the previous note joins this one
    std::uint8_t transition = 0;         // this note joins the next
    std::uint8_t initialClass = 0;
    std::uint8_t initialClass2 = 0;
    std::uint8_t isFinal = 0;            // the symbol is a vowel unit...
    std::uint8_t finalFlag = 0;          // ...that is also a syllable of its own
    std::uint8_t skip = 0;               // not sung by a cell of its own
    std::uint8_t hold = 0;               // the next note is such a symbol
    std::uint8_t isBreath = 0;
    std::int32_t cellOffset = 0;         // consonant frames before cellStart, >= 0
    std::uint8_t afterBreath = 0;
    std::int32_t prevCellFrames = 0;     // the previous cell's cellOffset + cellLength
    std::int32_t overlapIn = 0;          // frames this consonant overlaps the previous cell
    std::int32_t overlapOut = 0;         // frames the next consonant overlaps this cell
    std::uint8_t elemFlag = 0;
    float elemTime1 = 0.0f;              // weights of the cell's parts
    float elemTime2 = 0.0f;
    float elemTime3 = 0.0f;
    std::uint8_t valid = 0;
    std::uint8_t hasUnitModel = 0;
    std::uint8_t hasSecondModel = 0;

    // A standing final that is not a syllable of its own: sung without a
    // consonant and without the syllable's own record.
    bool isBoundFinal() const { return isFinal != 0 && finalFlag == 0; }
};

}  // namespace HalvorenEngineV6
