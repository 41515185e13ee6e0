#pragma once
// A note's vibrato: the depth and rate curves over the vibrato's length
// (0..100000), the pitch offset rendered from them, and the one-cycle wave.
#include <cstdint>
#include <vector>

#include "model/current/ParamCurve.h"

struct VibratoPreset;

namespace HVCurrentModel {

class VibratoCycle {
public:
    static constexpr int kTableSize = 1024;

    // Fills the table with one cycle that starts at 0 and goes negative first.
    VibratoCycle();
    virtual ~VibratoCycle() = default;
    VibratoCycle(const VibratoCycle&) = default;
    VibratoCycle& operator=(const VibratoCycle&) = default;

    std::vector<float> table;
};

class Vibrato {
public:
    // Depth and rate start flat at 0 over (-1, 100001); the rendered curve is empty.
    Vibrato();
    virtual ~Vibrato() = default;
    Vibrato(const Vibrato&) = default;
    Vibrato& operator=(const Vibrato&) = default;

    // Copies the three curves of other node by node.
    void assign(const Vibrato& other);
    // Takes the depth and rate curves of a settings preset node by node; the
    // rendered curve is cleared.
    void assign(const VibratoPreset& preset);

    // Renders the vibrato into vibCurve: positions in milliseconds from the
    // note's start, one node every 10 ms over the last percent of the note.
    void buildPitchCurve(int32_t lengthMs, int32_t percent, const VibratoCycle& cycle);

    ParamCurve vibAmp;    // depth, 0..10000
    ParamCurve vibFreq;   // rate
    ParamCurve vibCurve;  // rendered pitch offset
};

// Builds a note's bend (portamento) curve into out: positions in milliseconds
// from the note's start, a sine-shaped step falling from 3 x bendDep to 0.
void buildNoteBendCurve(int32_t bendLen, int32_t bendDep, int32_t lengthMs, ParamCurve& out);

}  // namespace HVCurrentModel
