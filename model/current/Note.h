#pragma once
// A note of a sing segment: position and width in ticks relative to the
// segment, key, lyric and phonetic symbol, expression values, element-time
// factors, cross data, vibrato and the rendered bend curve.
#include <array>
#include <cstdint>
#include <string>

#include "model/current/ElementContainer.h"
#include "model/current/ParamCurve.h"
#include "model/current/PosWidthBlock.h"
#include "model/current/Vibrato.h"

namespace HVCurrentModel {

// The element-time factors edited in the note editor's element-time view.
class ElementTimesCtrl {
public:
    float timeFactor1 = 1.0f;
    uint8_t timesFlag = 0;
    float timeFactor2 = 1.0f;
    float timeFactor3 = 1.0f;
    float timeFactor4 = 1.0f;
};

class Note : public BlockWithKey, public ElementTimesCtrl {
public:
    Note() = default;
    // Copies every field except selected, which starts cleared.
    Note(const Note& other);
    Note& operator=(const Note&) = delete;

    // The label of the note body: lyric "[" phonetic symbol "]".
    std::string getDisplayText() const;

    // Fields stand by size, so that a note (there can be millions) carries
    // no padding between them.
    bool selected = false;  // view flag, not saved
    bool elemTimesSet = false;
    bool renderFlag = false;  // set by the rendering side, not saved
    int32_t vibPercent = 0; // share of the note, from its end, carrying vibrato
    int32_t tailChg = 25;
    int32_t headChg = 20;
    int32_t bendDep = 0;
    int32_t bendLen = 0;
    int32_t timbreIndex = -1;
    int32_t crossTimbre = -1;
    std::array<int32_t, 8> elemTimeTable{};  // not saved
    ParamCurve bendCurve;   // rendered bend curve, not saved
    std::string phoneticSymbol = "la";
    std::string lyric = "la";
    std::string crossSymbol;
    VibratoCycle cycle;
    Vibrato vibrato;
};

class NoteContainer : public ElementContainer<Note> {
public:
    // Appends a copy of every note of other, in order.
    void copyFrom(const NoteContainer& other);
};

// Adds delta to the position of every note.
void shiftNotes(NoteContainer& notes, int32_t delta);

}  // namespace HVCurrentModel
