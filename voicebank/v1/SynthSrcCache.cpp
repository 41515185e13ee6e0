#include "voicebank/v1/SynthSrcCache.h"

namespace Halvoren {

SynthetiseSource* makeSynthetiseSource(const std::string& u, const std::string& e, const std::string& b,
                                       const std::string& c, const std::string& p, SynthSrcCache& cache,
                                       RecordSlots& store)
{
    const std::string fullKey = synthSourceKey(u, b, c, p);
    if (SynthetiseSource* found = cache.find(fullKey))
        return found;
    const auto voice = store.exactVoiceSrc(u, p);
    if (!voice || !voice->material)
        return nullptr;
    if (const auto whole = store.exactContinuantSrc(e + "_" + b + "_" + c, p); whole && whole->material)
        return cache.insert(fullKey, synth_source::concatenate(fullKey, *voice, *whole));

    std::unique_ptr<ContinuantSrc> continuant;
    if (!b.empty())
        continuant = store.exactContinuantSrc(e + "_" + b, p);
    if (continuant && !continuant->material)
        continuant.reset();
    const std::string next = continuant ? c : std::string();
    const std::string key = continuant ? fullKey : synthSourceKey(u, "", "", p);
    if (SynthetiseSource* found = cache.find(key))
        return found;

    std::unique_ptr<VoiceSrc> tail;
    if (!next.empty())
        tail = store.exactVoiceSrc(next, p);
    if (tail && !tail->material)
        tail.reset();

    auto source = synth_source::withVoiceValues(key, *voice);
    if (!continuant) {
        source->assign(*voice->material);
        return cache.insert(key, std::move(source));
    }
    const int length = synth_source::joinLength(SynthSrcCache::kFftSize, voice->material->hop, continuant->param2);
    if (tail)
        cache.joiner.joinThreeSpline(*voice->material, *continuant->material, *tail->material, *source, voice->param4,
                                     continuant->param1, synth_source::clampedInt(std::int64_t(continuant->param1) + continuant->param2),
                                     tail->beginPos, length);
    else
        cache.joiner.joinTwoSpline(*voice->material, *continuant->material, *source, voice->param4, continuant->param1,
                                   SourceJoiner::kDefaultFade, length);
    source->param5 = continuant->param2;
    return cache.insert(key, std::move(source));
}

}  // namespace Halvoren
