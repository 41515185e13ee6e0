#include "model/document/DocPlayers.h"

#include <utility>

namespace {

class SilentClipAudioMgr : public IClipAudioMgr {};

class SilentTrackMixGroup : public ITrackMixGroup {
public:
    int trackListCount() const override { return 0; }
    bool hasTrackList(int) const override { return false; }
    void setGain(int, float) override {}
    void setPan(int, float) override {}
};

DocPlayersFactory& currentFactory() {
    static DocPlayersFactory factory;
    return factory;
}

}  // namespace

void setDocPlayersFactory(DocPlayersFactory factory) { currentFactory() = std::move(factory); }

std::unique_ptr<IClipAudioMgr> makeDocClipAudio() {
    const auto& f = currentFactory().makeClipAudio;
    if (f) return f();
    return std::make_unique<SilentClipAudioMgr>();
}

std::unique_ptr<ITrackMixGroup> makeDocTrackMix() {
    const auto& f = currentFactory().makeTrackMix;
    if (f) return f();
    return std::make_unique<SilentTrackMixGroup>();
}
