#include "render/synth/FillNotesFromSynth.h"

#include <bit>
#include <cstdint>

#include "render/synth/ISynth.h"
#include "render/synth/TickMath.h"

void fillNotesFromSynth(HVCurrentModel::SingSegment* seg, ISynth* synth,
                        const std::vector<HVCurrentModel::Tempo*>& tempos)
{
    if (seg == nullptr || synth == nullptr)
        return;
    std::vector<NoteTimesRec> times;
    synth->getNoteTimes(seg, tempos, 0, addTicks(seg->pos, seg->width, -1), 1.0f, times);
    for (const NoteTimesRec& rec : times)
        if (rec.timed)
            for (std::size_t i = 0; i < rec.values.size(); ++i)
                rec.note->elemTimeTable[i] = std::bit_cast<std::int32_t>(rec.values[i]);
}
