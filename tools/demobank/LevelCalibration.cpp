#include "LevelCalibration.h"

#include <cmath>
#include <vector>

#include "dsp/Windows.h"
#include "engine/v3/FrameSynth.h"
#include "RecordTiming.h"

namespace demobank {

namespace {

constexpr int kFrames = 200;
// Frames measured: well clear of the fade-in and the end.
constexpr int kFirstMeasured = 40;
constexpr int kLastMeasured = 160;
constexpr float kAmplitudeHalf = 0.5f;

constexpr float kProbeHz = 166.0f;
constexpr float kProbeDb = -20.0f;
constexpr float kNoiseProbeDb = -60.0f;

// Mean square of the rendered samples over the measured frames, full scale 1.
double renderMeanSquare(bool voiced)
{
    HalvorenEngineV3::FrameSynth synth(kRecordRate, kRecordHop, 0.0f, 0.0f, 0.0f, 16000.0f, 20, 0, 3.0f, 3000.0f,
                                       1000.0f);
    HalvorenEngine::OutputBuffer buffer(4096);
    HalvorenEngine::SampleOutWriter writer(buffer, HalvorenEngineV3::FrameSynth::kFrameSize, kRecordHop);
    writer.appendZeros(kFrames);
    const std::vector<float> flat(257, voiced ? -200.0f : kNoiseProbeDb);
    for (int i = 0; i < kFrames; ++i) {
        Halvoren::FrameMags mags;
        mags.putSamples(flat.data(), static_cast<unsigned>(flat.size()));
        Halvoren::PeakList peaks;
        if (voiced)
            peaks.append(kProbeHz, kProbeDb, 0.0f);
        HalvorenEngine::SynthFrameV4 frame;
        frame.mags = &mags;
        frame.peaks = &peaks;
        frame.unvoiced = voiced ? 0 : 1;
        frame.levelControl = kAmplitudeHalf;
        frame.index = i;
        synth.renderFrame(frame, writer);
    }
    writer.finish();
    const short* s = writer.data();
    double sum = 0.0;
    const int from = kFirstMeasured * kRecordHop, to = kLastMeasured * kRecordHop;
    for (int i = from; i < to; ++i)
        sum += (double(s[i]) / 32767.0) * (double(s[i]) / 32767.0);
    return sum / (to - from);
}

float rounded(double db) { return static_cast<float>(std::round(db * 100.0) / 100.0); }

double residualWindowSumOfSquares()
{
    double sum = 0.0;
    for (float v : residualWindow().w)
        sum += double(v) * v;
    return sum;
}

}  // namespace

Halvoren::AnalysisWindow residualWindow()
{
    Halvoren::AnalysisWindow w;
    w.resize(512);
    Halvoren::makeBlackmanHarrisWindow(w.w.data(), 512);
    Halvoren::normalizeWindowSum(w);
    return w;
}

LevelCalibration measureLevelCalibration()
{
    // A sine of amplitude a has mean square a^2 / 2 and reads 20 log10(a / 2).
    const double amplitude = std::sqrt(2.0 * renderMeanSquare(true));
    const double sineDb = 20.0 * std::log10(amplitude / 2.0);
    // White noise of variance v reads 10 log10(v * sum w^2) in every bin.
    const double noiseDb = 10.0 * std::log10(renderMeanSquare(false) * residualWindowSumOfSquares());
    return {rounded(kProbeDb - sineDb), rounded(kNoiseProbeDb - noiseDb)};
}

}  // namespace demobank
