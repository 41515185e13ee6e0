#include "engine/v6/FetchRecords.h"

namespace HalvorenEngineV6 {

namespace {

// The record of unit (or "-" + unit first without exact) from the cache;
// kind picks the cache's voice or parameter records.
template <class Fetch>
auto fetchUnit(const std::string& unit, const std::string& pitch, CellMakerState& state, bool exact, Fetch fetch)
    -> decltype(fetch(unit, pitch))
{
    if (unit.find('_') != std::string::npos)
        return nullptr;
    auto fetchOnce = [&](const std::string& name) -> decltype(fetch(unit, pitch)) {
        const std::string stored = state.store().getRecordKey(name, pitch);
        return stored.empty() ? nullptr : fetch(name, stored);
    };
    if (!exact) {
        if (auto found = fetchOnce("-" + unit))
            return found;
    }
    return fetchOnce(unit);
}

// Whether the consonant start of record may move: a syllable whose name
// carries no "-", that is no breath and no vowel unit, and whose consonant
// is unvoiced.
bool mayLowerConsonantStart(Halvoren::ISymbolMgr& symbols, const std::string& name)
{
    if (!name.empty() && name[0] == '-')
        return false;
    bool standsAlone = false;
    if (symbols.isBreath(name) || symbols.isFinal(name, standsAlone))
        return false;
    std::string initial, final;
    symbols.splitSyllable(name, initial, final);
    return !symbols.isVoiced(initial);
}

}  // namespace

void lowerConsonantStart(VoiceSrc& record)
{
    if (record.material == nullptr)
        return;
    const auto& pitch = record.material->floats1;
    const std::int64_t count = pitch.numSamples();
    const std::int32_t start = record.v6Param1;
    if (start < 0 || start >= count || pitch[start] != 0.0f)
        return;
    bool voicedBefore = false;
    for (std::int32_t i = 0; i < start && !voicedBefore; ++i)
        voicedBefore = pitch[i] > 0.0f;
    if (!voicedBefore)
        return;
    // Not 0 includes a value that is not a number.
    for (std::int32_t k = start; k >= 1; --k) {
        if (pitch[k] == 0.0f && !(pitch[k - 1] == 0.0f)) {
            if (k + 1 < start)
                record.v6Param1 = k + 1;
            return;
        }
    }
}

VoiceSrc* fetchVoiceSrc(const std::string& unit, const std::string& pitch, CellMakerState& state, bool exact)
{
    VoiceSrc* found = fetchUnit(unit, pitch, state, exact, [&](const std::string& name, const std::string& key) {
        return state.cache().getVoiceSrc(state.store(), name, key);
    });
    if (found != nullptr && mayLowerConsonantStart(state.symbols(), found->name))
        lowerConsonantStart(*found);
    return found;
}

SrcParameter* fetchSrcParameter(const std::string& unit, const std::string& pitch, CellMakerState& state, bool exact)
{
    return fetchUnit(unit, pitch, state, exact, [&](const std::string& name, const std::string& key) {
        return state.cache().getSrcParameter(state.store(), name, key);
    });
}

ContinuantSrc* fetchContinuantSrc(const std::string& first, const std::string& second, const std::string& pitch,
                                  CellMakerState& state)
{
    const std::string stored = state.store().getRecordKey(first + "_" + second, pitch);
    return stored.empty() ? nullptr : state.cache().getContinuantSrc(state.store(), first, second, stored);
}

SrcContinuantParameter* fetchContinuantParameter(const std::string& first, const std::string& second,
                                                 const std::string& pitch, CellMakerState& state)
{
    const std::string stored = state.store().getRecordKey(first + "_" + second, pitch);
    return stored.empty() ? nullptr : state.cache().getSrcContinuantParameter(state.store(), first, second, stored);
}

}  // namespace HalvorenEngineV6
