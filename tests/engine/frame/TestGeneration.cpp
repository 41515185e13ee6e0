#include "TestGeneration.h"

#include <memory>

#include "dsp/Windows.h"
#include "engine/SampleOutWriter.h"

namespace HalvorenEngineTest {

SynthJobTest::~SynthJobTest()
{
    if (config_.destroyed != nullptr)
        ++*config_.destroyed;
}

HalvorenEngine::ScoreSpan SynthJobTest::scoreSpan() const
{
    HalvorenEngine::ScoreSpan span;
    span.leadIn = leadIn;
    span.hasNotes = !notes.empty();
    if (span.hasNotes) {
        span.firstStart = notes.front().first;
        span.lastStart = notes.back().first;
        span.lastDuration = notes.back().second;
    }
    return span;
}

void SynthJobTest::waitWhileHeld() const
{
    while (config_.hold != nullptr && *config_.hold)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
}

void SynthJobTest::runWorker(int index, HalvorenEngine::JobContext& job)
{
    if (index > 0) {  // the helper thread of a two-thread generation
        if (config_.holdAtFrame >= 0)
            waitWhileHeld();
        return;
    }
    HalvorenEngine::SampleOutWriter& writer = job.writer();
    // Shaped as the frame synthesis shapes its frames, so the output holds the level.
    std::vector<float> frame(static_cast<std::size_t>(config_.frameSize));
    Halvoren::makeBlackmanHarrisWindow(frame.data(), config_.frameSize);
    Halvoren::normalizeWindowSum(frame.data(), config_.frameSize);
    for (float& v : frame)
        v *= config_.level;
    const int frames = writer.length() / writer.hop() - 1;
    for (int k = 0;; ++k) {
        if (k == config_.holdAtFrame)
            waitWhileHeld();
        if (k == frames)
            break;
        if (job.isStopRequested())
            return;
        writer.addFrame(k, frame.data(), 1.0f);
        if (config_.frameDelayUs > 0)
            std::this_thread::sleep_for(std::chrono::microseconds(config_.frameDelayUs));
    }
    job.finishJob();
}

HVSynthesizer::HVSynthesizer(const std::string& packagePath, TestConfig config)
    : JobSynthesizer(std::make_unique<SynthJobTest>(config))
{
}

HVSynthesizer* createSynthesizerTest(HalvorenEngine::CleanGarbageSynthRunnable& manager, TestConfig config,
                                     float seconds)
{
    auto synth = std::make_unique<HVSynthesizer>("", config);
    synth->score().notes = {{0.0f, seconds}};
    return static_cast<HVSynthesizer*>(manager.addSynthesizer(std::move(synth)));
}

}  // namespace HalvorenEngineTest
