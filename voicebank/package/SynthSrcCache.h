#pragma once
// The synthesis sources of one engine job of the first two generations,
// built once per (unit, neighbours, pitch) and kept under the key
// unit + "." + first neighbour + "." + second neighbour + "." + pitch. The
// cache owns its sources; keys are never removed one by one. Used by one
// thread only.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <iostream>
#include <map>
#include <memory>
#include <ostream>
#include <string>

#include "dsp/SourceJoiner.h"
#include "voicebank/package/SourceRecordShapes.h"

namespace Halvoren {

template <int Generation>
using HprVoiceSrc = WithMaterial<BasicSrcParameter<Generation>, HprSrcMaterial<Generation>>;
template <int Generation>
using HprContinuantSrc = WithMaterial<BasicSrcContinuantParameter<Generation>, HprSrcMaterial<Generation>>;

// The record slots a synthesis source is built from: the voice source
// (slot 3) and the continuant source (slot 5) of a name, each given only
// when the unit's nearest recorded pitch is exactly the one asked for.
template <int Generation>
class BasicRecordSlots {
public:
    virtual ~BasicRecordSlots() = default;
    virtual std::unique_ptr<HprVoiceSrc<Generation>> exactVoiceSrc(const std::string& name,
                                                                   const std::string& pitch) = 0;
    virtual std::unique_ptr<HprContinuantSrc<Generation>> exactContinuantSrc(const std::string& name,
                                                                             const std::string& pitch) = 0;
};

inline std::string synthSourceKey(const std::string& u, const std::string& b, const std::string& c,
                                  const std::string& p)
{
    return u + "." + b + "." + c + "." + p;
}

template <int Generation>
class BasicSynthSrcCache {
public:
    using Source = BasicSynthetiseSource<Generation>;
    // The joiner's FFT size, which also sets the length of the joined part.
    static constexpr int kFftSize = Generation == 1 ? 4096 : 512;

    // Refusals of an insert are written to log, which must outlive the cache.
    explicit BasicSynthSrcCache(float sampleRate, std::ostream& log = std::cerr) : log_(&log)
    {
        joiner.init(kFftSize, sampleRate);
    }

    void clear() { sources_.clear(); }
    std::size_t size() const { return sources_.size(); }

    Source* find(const std::string& key) const
    {
        const auto found = sources_.find(key);
        return found == sources_.end() ? nullptr : found->second.get();
    }

    // Keeps source under key and gives it back. When the key is taken
    // already, writes "fail to insert SynthetiseSource : " and the key,
    // frees the new source and gives the stored one.
    Source* insert(const std::string& key, std::unique_ptr<Source> source)
    {
        const auto [at, inserted] = sources_.try_emplace(key, std::move(source));
        if (!inserted)
            *log_ << "fail to insert SynthetiseSource : " << key << std::endl;
        return at->second.get();
    }

    SourceJoiner joiner;

private:
    std::map<std::string, std::unique_ptr<Source>> sources_;
    std::ostream* log_;
};

// The steps both generations share.
namespace synth_source {

// A new source named key with the voice's pitch and every voice value; the
// model is left empty.
template <int Generation>
std::unique_ptr<BasicSynthetiseSource<Generation>> withVoiceValues(const std::string& key,
                                                                   const HprVoiceSrc<Generation>& voice)
{
    auto source = std::make_unique<BasicSynthetiseSource<Generation>>(key, voice.pitch);
    static_cast<VoiceValues<Generation>&>(*source) = voice;
    return source;
}

// The voice's frames up to its join frame (param4), then the whole
// continuant; param5 becomes the continuant's length (its param2).
template <int Generation>
std::unique_ptr<BasicSynthetiseSource<Generation>> concatenate(const std::string& key,
                                                               const HprVoiceSrc<Generation>& voice,
                                                               const HprContinuantSrc<Generation>& continuant)
{
    auto source = withVoiceValues(key, voice);
    PeakTracks::ParameterBlock voiceBlock{};
    PeakTracks::ParameterBlock continuantBlock{};
    PeakTracks::ParameterBlock joined{};
    voiceBlock[3] = static_cast<std::uint32_t>(voice.param4);
    continuantBlock[1] = static_cast<std::uint32_t>(continuant.param2);
    PeakTracks::joinThree(*source, joined, *voice.material, voiceBlock, *continuant.material, continuantBlock);
    source->param5 = continuant.param2;
    return source;
}

// A loaded record, or null for one without its material.
template <class Record>
std::unique_ptr<Record> withMaterial(std::unique_ptr<Record> record)
{
    if (record && !record->material)
        record.reset();
    return record;
}

// What the steps both generations begin with leave: a source already done
// (cached under key, or concatenated from a three-part continuant and
// cached), or the voice with the two-part continuant when one is recorded;
// neither when u has no voice at p.
template <int Generation>
struct FirstSteps {
    BasicSynthetiseSource<Generation>* done = nullptr;
    std::unique_ptr<HprVoiceSrc<Generation>> voice;
    std::unique_ptr<HprContinuantSrc<Generation>> continuant;
};

template <int Generation>
FirstSteps<Generation> firstSteps(const std::string& key, const std::string& u, const std::string& e,
                                  const std::string& b, const std::string& c, const std::string& p,
                                  BasicSynthSrcCache<Generation>& cache, BasicRecordSlots<Generation>& store)
{
    FirstSteps<Generation> steps;
    if ((steps.done = cache.find(key)))
        return steps;
    steps.voice = withMaterial(store.exactVoiceSrc(u, p));
    if (!steps.voice)
        return steps;
    if (const auto whole = withMaterial(store.exactContinuantSrc(e + "_" + b + "_" + c, p))) {
        steps.done = cache.insert(key, concatenate(key, *steps.voice, *whole));
        return steps;
    }
    if (!b.empty())
        steps.continuant = withMaterial(store.exactContinuantSrc(e + "_" + b, p));
    return steps;
}

// The length of a joined part: fftSize / hop frames plus the continuant's
// length; 0 (the joiner then refuses) for a hop that is not positive.
inline int joinLength(int fftSize, std::int32_t hop, std::int32_t continuantLength)
{
    if (hop <= 0)
        return 0;
    const std::int64_t length = std::int64_t(fftSize / hop) + continuantLength;
    return int(std::clamp<std::int64_t>(length, 0, INT32_MAX));
}

// A sum or difference of stored values, clamped to the int32 range.
inline int clampedInt(std::int64_t v)
{
    return int(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace synth_source

}  // namespace Halvoren
