#include "voicebank/v2/SynthSrcCache.h"

#include "dsp/TruncToInt.h"
#include "lyrics/ChnSymbolMgr.h"

namespace HalvorenEngineV2 {

using HalvorenEngine::truncToInt;
using Halvoren::SourceJoiner;
namespace synth_source = Halvoren::synth_source;

namespace {

// to - from as a float, without int32 overflow.
float span(std::int32_t from, std::int32_t to)
{
    return float(std::int64_t(to) - from);
}

bool isZeroInitial(const std::string& syllable)
{
    Halvoren::ChnSymbolMgr symbols;
    return symbols.isZeroInitialSyllable(syllable);
}

// The voice joined straight to the head of the next unit: the voice's
// frames up to param4 kept, those up to param4 + ratio3 * param5 - 1 moved
// toward the tail, then the tail's frames from its join point. After a
// zero-initial neighbour the tail is taken from its vowel's held part,
// otherwise from its onset's join point to the end of its held part.
void joinToTail(SourceJoiner& joiner, const VoiceSrc& voice, const VoiceSrc& tail, bool zeroInitial,
                SynthetiseSource& out)
{
    const int lastJoined = truncToInt(float(voice.param4) + voice.ratio3 * float(voice.param5) - 1.0);
    const float held = span(tail.endPos, tail.param3);
    int first = 0;
    int count = 0;
    if (zeroInitial) {
        first = truncToInt(float(tail.endPos) + held * tail.ratio2);
        count = truncToInt(held * tail.ratio2);
    } else {
        first = truncToInt(float(tail.beginPos) + span(tail.beginPos, tail.endPos) * tail.ratio1);
        count = synth_source::clampedInt(std::int64_t(tail.param3) - tail.endPos);
    }
    joiner.joinTwo(*voice.material, *tail.material, out, lastJoined, first, voice.param4, count);
    out.param5 = truncToInt(voice.ratio3 * float(voice.param5));
}

}  // namespace

SynthetiseSource* makeSynthetiseSource(const std::string& u, const std::string& e, const std::string& b,
                                       const std::string& c, const std::string& p, SynthSrcCache& cache,
                                       RecordSlots& store)
{
    const std::string key = Halvoren::synthSourceKey(u, b, c, p);
    auto [done, voice, continuant] = synth_source::firstSteps(key, u, e, b, c, p, cache, store);
    if (done || !voice)
        return done;
    std::unique_ptr<VoiceSrc> tail;
    if (!c.empty())
        tail = synth_source::withMaterial(store.exactVoiceSrc(c, p));
    const bool zeroInitial = isZeroInitial(b);

    auto source = synth_source::withVoiceValues(key, *voice);
    if (continuant) {
        const int length =
            synth_source::joinLength(SynthSrcCache::kFftSize, voice->material->hop, continuant->param2);
        const int heldEnd = synth_source::clampedInt(std::int64_t(continuant->param1) + continuant->param2);
        if (tail) {
            const int tailJoin =
                truncToInt(float(tail->beginPos) + span(tail->beginPos, tail->endPos) * tail->ratio1);
            cache.joiner.joinThree(*voice->material, *continuant->material, *tail->material, *source, voice->param4,
                                   continuant->param1, heldEnd,
                                   tailJoin, length);
        } else {
            cache.joiner.joinTwoScaled(*voice->material, *continuant->material, *source, voice->param4,
                                       continuant->param1, SourceJoiner::kDefaultFade, length);
        }
        source->param5 = continuant->param2;
    } else if (tail) {
        joinToTail(cache.joiner, *voice, *tail, zeroInitial, *source);
    } else {
        source->assign(*voice->material);
    }
    return cache.insert(key, std::move(source));
}

}  // namespace HalvorenEngineV2
