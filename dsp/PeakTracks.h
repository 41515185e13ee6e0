#pragma once
// The harmonic part of an analysed voice unit: one peak list per frame, in
// time order, owned by the tracks.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "dsp/PeakList.h"

namespace Halvoren {

class HPR_model;

class PeakTracks {
public:
    // The twelve 4-byte fields of a synthesis source's parameter block, as
    // stored; field 4 (index 3) is the int32 join frame.
    using ParameterBlock = std::array<std::uint32_t, 12>;

    PeakTracks() = default;
    virtual ~PeakTracks() = default;
    PeakTracks(const PeakTracks&) = delete;
    PeakTracks& operator=(const PeakTracks&) = delete;

    std::size_t size() const { return frames_.size(); }
    bool empty() const { return frames_.empty(); }
    PeakList& frame(std::size_t i) { return *frames_[i]; }
    const PeakList& frame(std::size_t i) const { return *frames_[i]; }

    void clear();
    // Appends a new empty frame and returns it.
    PeakList& appendFrame();
    // Appends copies of src's frames first..last (inclusive), the range cut
    // to the frames src has; nothing when it is empty after cutting.
    void appendFrames(const PeakTracks& src, long long first, long long last);

    // Frame floor(pos) blended with the next one (the last frame stands in
    // for a next one past the end), weight i + 1 - pos on frame i. A position
    // outside the frames reads the first or last frame; NaN reads the first;
    // empty tracks give an empty frame.
    void frameAt(float pos, PeakList& out) const;

    // Mean level of peak `peak` over the frames frame - radius .. frame +
    // radius that exist, counting only frames where that peak has a non-zero
    // frequency and a level other than -120 dB; -120 when none counts or the
    // radius is negative.
    float averageMagAround(int frame, int peak, int radius) const;
    // out = averageMagAround(frame, i, radius) for each peak i of the frame,
    // stopping before the first mean that is exactly 0. An index outside the
    // frames gives an empty out.
    void smoothFrame(int frame, int radius, std::vector<float>& out) const;

    // Plain concatenation of two synthesis sources at a's join frame J, with
    // H = a's hop: out's frames are a's frames 0..J-1, then all of b's; its
    // residual is a's first (J + 1) * H samples, then all of b's; its block
    // is a's with field 5 taken from b's field 2. J is cut to a's frames and
    // the sample count to a's residual. out may be a or b.
    static void joinThree(HPR_model& out, ParameterBlock& outBlock, const HPR_model& a, const ParameterBlock& aBlock,
                          const HPR_model& b, const ParameterBlock& bBlock);

private:
    std::vector<std::unique_ptr<PeakList>> frames_;
};

}  // namespace Halvoren
