#pragma once
// The sources of one track; the list owns them.
#include <memory>
#include <vector>

#include "render/audio/AudioSrc.h"

class AudioSrcList {
public:
    // Appends the source unless it is already in the list; the list owns it
    // from now on either way.
    void addUnique(AudioSrc* src);
    // Deletes every source and empties the list.
    void clear() { sources_.clear(); }

    size_t size() const { return sources_.size(); }
    AudioSrc* at(size_t i) const { return sources_[i].get(); }

private:
    std::vector<std::unique_ptr<AudioSrc>> sources_;
};
