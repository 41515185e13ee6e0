#pragma once
// Record slots over records made in memory, counting every request, for the
// synthesis-source caches of both generations.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "voicebank/package/SynthSrcCache.h"

namespace synthsrc_test {

// A model of `frames` frames, frame i holding one peak at firstFreq + i Hz,
// and (frames + 1) * hop residual samples firstSample, firstSample + 1, ...
template <class Model>
void fillModel(Model& m, int frames, int hop, float firstFreq, int firstSample)
{
    m.hop = hop;
    for (int i = 0; i < frames; ++i)
        m.peaks.appendFrame().append(firstFreq + float(i), -20.0f, 0.0f);
    for (int i = 0; i < (frames + 1) * hop; ++i) {
        const short s = short(firstSample + i);
        m.residual.putSamples(&s, 1);
    }
}

template <int Generation>
class FakeSlots : public Halvoren::BasicRecordSlots<Generation> {
public:
    using Voice = Halvoren::HprVoiceSrc<Generation>;
    using Continuant = Halvoren::HprContinuantSrc<Generation>;
    using Material = Halvoren::HprSrcMaterial<Generation>;

    // A voice of `frames` frames whose values come from set.
    template <class Set>
    void addVoice(const std::string& name, int frames, int hop, float firstFreq, int firstSample, Set set)
    {
        Recipe& r = voices[name];
        r = Recipe{frames, hop, firstFreq, firstSample, {}, {}};
        r.setVoice = [set](Voice& v) { set(v); };
    }
    void addContinuant(const std::string& name, int frames, int hop, float firstFreq, int firstSample,
                       std::int32_t param1, std::int32_t param2)
    {
        Recipe& r = continuants[name];
        r = Recipe{frames, hop, firstFreq, firstSample, {}, {}};
        r.setContinuant = [=](Continuant& c) {
            c.param1 = param1;
            c.param2 = param2;
            c.hop = hop;
        };
    }

    std::unique_ptr<Voice> exactVoiceSrc(const std::string& name, const std::string& pitch) override
    {
        voiceCalls.push_back(name);
        const auto found = voices.find(name);
        if (found == voices.end() || pitch != "A3")
            return nullptr;
        auto v = std::make_unique<Voice>(name, pitch);
        v->param11 = found->second.hop;
        found->second.setVoice(*v);
        v->material = made(found->second, name, pitch);
        return v;
    }
    std::unique_ptr<Continuant> exactContinuantSrc(const std::string& name, const std::string& pitch) override
    {
        continuantCalls.push_back(name);
        const auto found = continuants.find(name);
        if (found == continuants.end() || pitch != "A3")
            return nullptr;
        auto c = std::make_unique<Continuant>(name, pitch);
        found->second.setContinuant(*c);
        c->material = made(found->second, name, pitch);
        return c;
    }

    std::vector<std::string> voiceCalls;
    std::vector<std::string> continuantCalls;

private:
    struct Recipe {
        int frames = 0;
        int hop = 0;
        float firstFreq = 0.0f;
        int firstSample = 0;
        std::function<void(Voice&)> setVoice;
        std::function<void(Continuant&)> setContinuant;
    };
    static std::unique_ptr<Material> made(const Recipe& r, const std::string& name, const std::string& pitch)
    {
        auto m = std::make_unique<Material>(name, pitch);
        fillModel(*m, r.frames, r.hop, r.firstFreq, r.firstSample);
        return m;
    }
    std::map<std::string, Recipe> voices;
    std::map<std::string, Recipe> continuants;
};

// The first frequency of every frame of a model.
template <class Model>
std::vector<float> frameFreqs(const Model& m)
{
    std::vector<float> out;
    for (std::size_t i = 0; i < m.peaks.size(); ++i)
        out.push_back(m.peaks.frame(i).freqs.empty() ? 0.0f : m.peaks.frame(i).freqs[0]);
    return out;
}

}  // namespace synthsrc_test
