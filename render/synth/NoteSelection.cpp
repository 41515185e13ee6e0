#include "render/synth/NoteSelection.h"

#include <cstdint>

using namespace HVCurrentModel;

std::vector<Note*> selectNotes(const SingSegment& seg, int fromTick, int toTick, bool insideOnly)
{
    std::vector<Note*> taken;
    for (Note* n : seg.notes) {
        const std::int64_t lastTick = std::int64_t{n->pos} + n->width - 1;
        if (insideOnly && (n->pos < 0 || lastTick > std::int64_t{seg.width} - 1))
            continue;
        if (taken.empty()) {
            if (n->pos >= fromTick)
                taken.push_back(n);
            continue;
        }
        if (lastTick > toTick)
            break;
        taken.push_back(n);
    }
    return taken;
}
