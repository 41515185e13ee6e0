#include "RecordingPitches.h"

#include <algorithm>

#include "voicebank/NoteName.h"

namespace demobank {

std::string timbreGroupList(const std::vector<RecordingPitch>& pitches, const std::vector<std::vector<int>>& notes)
{
    std::string list;
    for (std::size_t p = 0; p < pitches.size(); ++p) {
        std::vector<int> sorted = p < notes.size() ? notes[p] : std::vector<int>{};
        std::sort(sorted.begin(), sorted.end());
        const int centre = sorted.empty() ? 0 : sorted[sorted.size() / 2];
        const std::string low = p == 0 ? "C1" : pitches[p].fromNote;
        list += (list.empty() ? "" : "/") + low + "/" + formatNoteName(centre) + "/" + formatNoteName(centre);
    }
    return list;
}

DemoBankPitches::DemoBankPitches()
    : upper_(kUpperBase, true),
      pitches_{RecordingPitch{"", "", 0.0f, levelToneHz(kOwnPitchBase)},
               RecordingPitch{upper_.path(), kUpperFrom, kUpperGainDb, levelToneHz(kUpperBase)}}
{
}

}  // namespace demobank
