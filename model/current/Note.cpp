#include "model/current/Note.h"

namespace HVCurrentModel {

Note::Note(const Note& other)
    : BlockWithKey(other),
      ElementTimesCtrl(other),
      selected(false),
      elemTimesSet(other.elemTimesSet),
      renderFlag(other.renderFlag),
      vibPercent(other.vibPercent),
      tailChg(other.tailChg),
      headChg(other.headChg),
      bendDep(other.bendDep),
      bendLen(other.bendLen),
      timbreIndex(other.timbreIndex),
      crossTimbre(other.crossTimbre),
      elemTimeTable(other.elemTimeTable),
      bendCurve(other.bendCurve),
      phoneticSymbol(other.phoneticSymbol),
      lyric(other.lyric),
      crossSymbol(other.crossSymbol),
      cycle(other.cycle),
      vibrato(other.vibrato)
{
}

std::string Note::getDisplayText() const
{
    return lyric + "[" + phoneticSymbol + "]";
}

void NoteContainer::copyFrom(const NoteContainer& other)
{
    for (const Note* n : other) push_back(new Note(*n));
}

void shiftNotes(NoteContainer& notes, int32_t delta)
{
    for (Note* n : notes) n->pos = clampTick(int64_t{n->pos} + delta);
}

}  // namespace HVCurrentModel
