#pragma once
// A note's vibrato: the depth and rate curves over the vibrato's length
// (0..100000), the pitch offset rendered from them, and the one-cycle wave.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/current/ParamCurve.h"

struct VibratoPreset;

namespace HVCurrentModel {

// The values of one vibrato cycle. Values are shared read-only between
// tables: every table starts as the one computed wave (a note would otherwise
// carry 4 KB of it), and a copy shares its source's values until either is
// changed.
class CycleTable {
public:
    using value_type = float;
    using const_iterator = std::vector<float>::const_iterator;
    using iterator = const_iterator;

    // The computed wave.
    CycleTable();

    size_t size() const { return values_->size(); }
    float operator[](size_t i) const { return (*values_)[i]; }
    const_iterator begin() const { return values_->begin(); }
    const_iterator end() const { return values_->end(); }
    const std::vector<float>& values() const { return *values_; }

    // Takes the values; values equal to the computed wave share it again.
    void assign(std::vector<float> values);
    void set(size_t i, float value);
    // True while the table holds the computed wave without a copy of it.
    bool sharesComputedWave() const;

    friend bool operator==(const CycleTable& a, const CycleTable& b)
    {
        return a.values_ == b.values_ || *a.values_ == *b.values_;
    }
    friend bool operator==(const CycleTable& a, const std::vector<float>& b) { return *a.values_ == b; }

private:
    std::shared_ptr<std::vector<float>> values_;
};

class VibratoCycle {
public:
    static constexpr int kTableSize = 1024;

    // The table holds one cycle that starts at 0 and goes negative first.
    VibratoCycle() = default;
    VibratoCycle(const VibratoCycle&) = default;
    VibratoCycle& operator=(const VibratoCycle&) = default;

    CycleTable table;
};

class Vibrato {
public:
    // Depth and rate start flat at 0 over (-1, 100001); the rendered curve is empty.
    Vibrato();
    Vibrato(const Vibrato&) = default;
    Vibrato& operator=(const Vibrato&) = default;

    // Copies the three curves of other node by node.
    void assign(const Vibrato& other);
    // Takes the depth and rate curves of a settings preset node by node; the
    // rendered curve is cleared.
    void assign(const VibratoPreset& preset);

    // At most this many nodes in a rendered vibrato (100 s at one every 10 ms).
    static constexpr int64_t kMaxVibratoNodes = 10001;

    // Renders the vibrato into vibCurve: positions in milliseconds from the
    // note's start, one node every 10 ms over the last percent (clamped to
    // 0..100) of the note; a longer vibrato than kMaxVibratoNodes allows is
    // laid in wider steps.
    void buildPitchCurve(int32_t lengthMs, int32_t percent, const VibratoCycle& cycle);

    ParamCurve vibAmp;    // depth, 0..10000
    ParamCurve vibFreq;   // rate
    ParamCurve vibCurve;  // rendered pitch offset
};

// Builds a note's bend (portamento) curve into out: positions in milliseconds
// from the note's start, a sine-shaped step falling from 3 x bendDep to 0.
void buildNoteBendCurve(int32_t bendLen, int32_t bendDep, int32_t lengthMs, ParamCurve& out);

}  // namespace HVCurrentModel
