// Ten seconds of third-generation frames, 100 harmonics each, rendered by
// the frame synthesis and overlap-added by the writer, at hops 128 and 256.
// Paired with it, the floor does the least any such renderer must: one
// inverse real FFT of 512 points per frame and a plain windowed overlap-add
// into floats. Goal: at most 5 times the floor.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/support/PairedFloor.h"
#include "dsp/FrameMags.h"
#include "dsp/PeakList.h"
#include "dsp/SampleOutWriter.h"
#include "engine/v3/FrameSynth.h"

namespace {

constexpr float kRate = 44100.0f;
constexpr int kFrameSize = 512;

int framesInTenSeconds(int hop) { return static_cast<int>(10.0f * kRate) / hop; }

struct FrameTemplate {
    FrameTemplate()
    {
        const std::vector<float> envelope(257, -60.0f);
        mags.putSamples(envelope.data(), 257);
        // 100 harmonics of 200 Hz falling 0.3 dB each.
        for (int k = 1; k <= 100; ++k)
            peaks.append(200.0f * k, -6.0f - 0.3f * k, 0.0f);
    }
    Halvoren::FrameMags mags;
    Halvoren::PeakList peaks;
};

void BM_RenderFrames(benchmark::State& state)
{
    const int hop = static_cast<int>(state.range(0));
    const int frames = framesInTenSeconds(hop);
    const FrameTemplate source;
    Halvoren::FrameMags mags;
    Halvoren::PeakList peaks;
    HalvorenEngine::OutputBuffer buffer(4096);
    HalvorenEngine::SampleOutWriter writer(buffer, kFrameSize, hop);
    hvbench::OverlapAddFloor floor(kFrameSize, hop);
    hvbench::runPairedWithFloor(state, floor, [&] {
        HalvorenEngineV3::FrameSynth synth(kRate, hop, 0.0f, 0.0f, 0.0f, 16000.0f, 20, 0, 6.0f, 3000.0f, 1000.0f);
        writer.appendZeros(frames);
        for (int k = 0; k < frames; ++k) {
            // The synthesis changes the record's lists in place.
            mags.assign(source.mags);
            peaks.assign(source.peaks);
            HalvorenEngine::SynthFrameV4 frame;
            frame.mags = &mags;
            frame.peaks = &peaks;
            frame.index = k;
            frame.boostWeight = 0.5f;
            synth.renderFrame(frame, writer);
        }
        writer.finish();
        benchmark::DoNotOptimize(writer.data());
        return writer.framesDrawn();
    });
}
BENCHMARK(BM_RenderFrames)->Arg(128)->Arg(256)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
