#pragma once
// An editor-side synthesizer whose output and progress a test sets directly.
#include <vector>

#include "render/synth/ISynth.h"

namespace HalvorenEngineTest {

class FakeSynth : public ISynth {
public:
    explicit FakeSynth(std::vector<short> out = {}, int done = 0) : out(std::move(out)), done(done) {}

    bool loadSegment(HVCurrentModel::SingSegment*, const std::vector<HVCurrentModel::Tempo*>&, int, int,
                     float) override
    {
        return true;
    }
    void start() override { ++starts; }
    void stop() override { ++stops; }
    bool isReady() override { return true; }
    const short* getOutput(int* count) override
    {
        *count = countOverride >= 0 ? countOverride : static_cast<int>(out.size());
        return out.data();
    }
    int samplesDone() override { return done; }
    int samplesReady() override { return done; }
    std::int64_t samplesSaturated() override { return saturated; }
    std::string bankFault() override { return fault; }
    void setCallback(ISynthCallback* c) override { callback = c; }
    ISynthCallback* getCallback() const override { return callback; }

    std::vector<short> out;
    int done = 0;
    int countOverride = -1;  // a length without samples, for progress tests
    std::int64_t saturated = 0;
    std::string fault;
    int starts = 0;
    int stops = 0;
    ISynthCallback* callback = nullptr;
};

}  // namespace HalvorenEngineTest
