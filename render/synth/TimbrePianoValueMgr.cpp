#include "render/synth/TimbrePianoValueMgr.h"

#include <string>

#include "render/synth/ISynth.h"
#include "render/synth/PitchNames.h"

void CTimbrePianoValueMgr::loadFrom(ISynth& source)
{
    entries_.clear();
    const int count = source.timbreCount();
    for (int i = 0; i < count; ++i) {
        std::string low, high, centre;
        source.timbrePitchNames(i, low, high, centre);
        entries_.push_back({pitchNameToKeyIndex(low), pitchNameToKeyIndex(high), pitchNameToKeyIndex(centre)});
    }
}

int CTimbrePianoValueMgr::getTimbreIndex(int key) const
{
    int index = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i][0] >= key)
            index = static_cast<int>(i);
    return index;
}
