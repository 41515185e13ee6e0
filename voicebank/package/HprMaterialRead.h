#pragma once
// The material of a first- or second-generation record: the peak frames
// (full peak lists, or harmonic levels on a frequency step), then the
// residual as an int32 byte count and 16-bit little-endian samples.
#include <cstdint>

#include "dsp/CMemoryStream.h"
#include "dsp/HPR_model.h"

namespace Halvoren {

enum class PeakFrameShape {
    PeakLists,  // frequencies, levels and phases per peak
    Harmonics,  // levels of the harmonics of one frequency step, phases 0
};

// What a material may build per byte of it, beyond a base. A genuine frame
// comes with a hop of residual samples (hundreds of bytes) and builds about
// as many bytes as it takes, while an empty frame of 4 bytes alone builds
// about a hundred.
inline constexpr std::uint64_t kMaterialBuiltPerByte = 8;
inline constexpr std::uint64_t kMaterialBuildBase = std::uint64_t{64} << 10;

// Reads the frames and the residual into model and sets its hop. Only the
// whole samples the record holds are taken: a negative count takes none,
// an odd one drops its last byte, one past the record's end stops there
// (and is noted on the stream as a read past its end). Frames and samples
// are counted against a read budget of the bytes left in the stream: where
// it is spent the frames stop, those made are kept, the residual is not
// read and the result is false.
bool readHprMaterial(CMemoryStream& stream, PeakFrameShape shape, std::int32_t hop, HPR_model& model);

}  // namespace Halvoren
