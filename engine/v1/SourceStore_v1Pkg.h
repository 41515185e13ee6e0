#pragma once
// The first-generation store over the bank's package (frames of 4096
// samples, so hops up to 2048).
#include <iostream>
#include <string>

#include "engine/v1/HprSourceStore.h"
#include "voicebank/v1/SourceStorePackager.h"

namespace Halvoren {

class SourceStore_v1Pkg : public HalvorenEngineV1::HprSourceStore<SourceStorePackager_v1, 1> {
public:
    static constexpr int kFrameSize = 4096;

    explicit SourceStore_v1Pkg(std::string basePath, std::ostream& log = std::cerr)
        : HprSourceStore(std::move(basePath), kFrameSize, log)
    {
    }
};

}  // namespace Halvoren
