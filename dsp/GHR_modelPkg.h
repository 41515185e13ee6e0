#pragma once
// The stored band model of one voice unit: packed harmonic frames, two
// magnitude-frame stores and packed band frames, read from a package record.
#include <cstdint>

#include "dsp/CMemoryStream.h"
#include "dsp/FrameMagsStore.h"
#include "dsp/PackedBandFrames.h"
#include "dsp/PackedPeakFrames.h"

namespace Halvoren {

class GHR_modelPkg {
public:
    explicit GHR_modelPkg(float rate) : sampleRate(rate), magsA(rate), magsB(rate) {}
    virtual ~GHR_modelPkg() = default;
    GHR_modelPkg(const GHR_modelPkg&) = delete;
    GHR_modelPkg& operator=(const GHR_modelPkg&) = delete;

    // Reads, little-endian and in this order: leadValue (int32), frameSize
    // (int32), sampleRate (float), the packed peak frames, magsA and magsB
    // (plain form) and the band frames (int32 count, int32 offsets, bytes).
    // Each part is read by its store's reader; a record that ends early
    // leaves the fields after the cut as those readers leave them, scalars
    // unchanged. Returns false when the record ends before the band bytes
    // or holds fewer bytes than their length says.
    bool readFrom(CMemoryStream& stream);

    std::int32_t leadValue = 0;  // stored as read; its meaning belongs to the bank's reader
    std::int32_t frameSize = 512;
    float sampleRate;
    PackedPeakFrames peaks;
    FrameMagsStore magsA;
    FrameMagsStore magsB;
    PackedBandFrames bands;
};

}  // namespace Halvoren
