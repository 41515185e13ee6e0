#include "voicebank/v1/SynthSrcCache.h"

namespace Halvoren {

SynthetiseSource* makeSynthetiseSource(const std::string& u, const std::string& e, const std::string& b,
                                       const std::string& c, const std::string& p, SynthSrcCache& cache,
                                       RecordSlots& store)
{
    const std::string fullKey = synthSourceKey(u, b, c, p);
    auto [done, voice, continuant] = synth_source::firstSteps(fullKey, u, e, b, c, p, cache, store);
    if (done || !voice)
        return done;
    const std::string next = continuant ? c : std::string();
    const std::string key = continuant ? fullKey : synthSourceKey(u, "", "", p);
    if (SynthetiseSource* found = cache.find(key))
        return found;
    std::unique_ptr<VoiceSrc> tail;
    if (!next.empty())
        tail = synth_source::withMaterial(store.exactVoiceSrc(next, p));

    auto source = synth_source::withVoiceValues(key, *voice);
    if (!continuant) {
        source->assign(*voice->material);
        return cache.insert(key, std::move(source));
    }
    const int length = synth_source::joinLength(SynthSrcCache::kFftSize, voice->material->hop, continuant->param2);
    const int heldEnd = synth_source::clampedInt(std::int64_t(continuant->param1) + continuant->param2);
    if (tail)
        cache.joiner.joinThreeSpline(*voice->material, *continuant->material, *tail->material, *source, voice->param4,
                                     continuant->param1, heldEnd,
                                     tail->beginPos, length);
    else
        cache.joiner.joinTwoSpline(*voice->material, *continuant->material, *source, voice->param4, continuant->param1,
                                   SourceJoiner::kDefaultFade, length);
    source->param5 = continuant->param2;
    return cache.insert(key, std::move(source));
}

}  // namespace Halvoren
