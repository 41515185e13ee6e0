#pragma once
// The analysis spectra of residual frames a job has transformed already: the
// dB magnitudes (and phases, for frames re-drawn with their own phases) of
// the windowed frame at one sample of one source's residual. Loops walking
// back and forth over a region, and notes sung again from the same source,
// read the same frames over and over; each is transformed once while it is
// held. Holds at most kCapacity frames, dropping the one used longest ago.
// Residuals are named by address: forget() must come before any of them is
// freed.
#include <cstddef>
#include <list>
#include <unordered_map>
#include <vector>

#include "dsp/FreqBox.h"

namespace HalvorenEngineV2 {

class ResidualFrameCache {
public:
    static constexpr std::size_t kCapacity = 512;

    // The frame centred on sample `position` of `residual` (nullptr: none,
    // the silent frame), analysed with phases or without.
    struct Key {
        const void* residual;
        int position;
        bool withPhases;
        bool operator==(const Key&) const = default;
    };

    // Writes the spectrum held under key into bins 0..n/2 of box's mags (and
    // phases) and makes it the latest used; false, box untouched, when none.
    bool restore(const Key& key, Halvoren::FreqMagAndPhaseBox& box);
    // Holds bins 0..n/2 of box's mags (and phases) under key, which restore
    // found nothing under.
    void keep(const Key& key, const Halvoren::FreqMagAndPhaseBox& box);
    void forget();

private:
    struct Entry {
        Key key;
        std::vector<float> mags;
        std::vector<float> phases;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const;
    };

    // Latest used first.
    std::list<Entry> entries_;
    std::unordered_map<Key, std::list<Entry>::iterator, KeyHash> index_;
};

}  // namespace HalvorenEngineV2
