#include "render/audio/AudioSrcList.h"

void AudioSrcList::addUnique(AudioSrc* src) {
    if (!src) return;
    for (const auto& s : sources_)
        if (s.get() == src) return;
    sources_.emplace_back(src);
}
