#include "render/audio/DocPlayersInstall.h"

#include <memory>

#include "model/document/DocPlayers.h"
#include "render/audio/AudioStreamGroup.h"
#include "render/audio/InstrumentClipAudioMgr.h"

void installDocPlayers() {
    DocPlayersFactory factory;
    factory.makeClipAudio = [] { return std::make_unique<CInstrumentClipAudioMgr>(); };
    factory.makeTrackMix = [] { return std::make_unique<AudioStreamGroup>(); };
    setDocPlayersFactory(std::move(factory));
}
