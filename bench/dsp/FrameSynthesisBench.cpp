// One 512-point synthesis frame: sample the envelope at 100 harmonics, draw
// them into a spectrum and transform back.
#include <benchmark/benchmark.h>

#include <vector>

#include "dsp/FreqBox.h"
#include "dsp/HarmonicPeakAnalyser.h"

using namespace Halvoren;

namespace {
PeakList analysedFrame()
{
    PeakList p;
    for (int k = 1; k <= 100; ++k)
        p.append(180.0f * k, -3.0f * k / 10.0f - (k % 7), 0.1f * k);
    return p;
}

void BM_SynthesiseFrame512(benchmark::State& state)
{
    const float rate = 44100.0f;
    HarmonicPeakAnalyser analyser(rate);
    PeakList peaks = analysedFrame();
    analyser.setPeaksSpline(peaks);
    FreqMagAndPhaseBox box(512);
    std::vector<float> out(512);
    PeakList harmonics;
    for (auto _ : state) {
        analyser.sampleHarmonicsWarped(220.0f, 1.1f, harmonics);
        harmonics.addToSpectrumX4(box, &rate);
        box.fft.inverse(box.re.data(), box.im.data(), out.data());
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["harmonics"] = static_cast<double>(harmonics.size());
}
BENCHMARK(BM_SynthesiseFrame512);

void BM_SplineSamplingOnly(benchmark::State& state)
{
    HarmonicPeakAnalyser analyser(44100.0f);
    PeakList peaks = analysedFrame();
    analyser.setPeaksSpline(peaks);
    PeakList harmonics;
    for (auto _ : state) {
        analyser.sampleHarmonicsSplineWarped(180.0f, harmonics);
        benchmark::DoNotOptimize(harmonics.mags.data());
    }
}
BENCHMARK(BM_SplineSamplingOnly);
}  // namespace
