#pragma once
// The slots shared by the stores of the third and fourth generations: the
// common store slots over the generation's records (Packager names them),
// and one slot that gives nothing.
#include "engine/IStoreSlots.h"

namespace HalvorenEngineV3 {

template <class Packager>
class ISourceStoreSlots
    : public HalvorenEngine::IStoreSlots<typename Packager::VoiceSrc, typename Packager::SrcParameter,
                                         typename Packager::ContinuantSrc, typename Packager::SrcContinuantParameter> {
public:
    // Nothing in these generations: always null.
    virtual void* getNothing(const void* unused) = 0;
};

}  // namespace HalvorenEngineV3
