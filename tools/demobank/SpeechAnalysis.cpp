#include "SpeechAnalysis.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "dsp/EngineHprBuilder.h"
#include "RecordTiming.h"

namespace demobank {

namespace {

constexpr float kLowestResolvableF0 = 115.0f;
// How near a whole fraction of the voice's pitch an f0 must lie to be taken
// for that fraction: within this share of the voice's pitch.
constexpr float kFractionTolerance = 0.08f;

}  // namespace

std::vector<bool> SpeechAnalysis::voiced() const
{
    std::vector<bool> out(f0.size());
    for (std::size_t i = 0; i < f0.size(); ++i)
        out[i] = f0[i] > 0.0f;
    return out;
}

SpeechAnalysis analyseSpeech(const std::string& syllable, const std::vector<std::int16_t>& samples)
{
    Halvoren::FIFOSampleBufferTemplate<short> recording;
    recording.putSamples(samples.data(), static_cast<std::uint32_t>(samples.size()));
    HalvorenEngineV3::EngineHprBuilder builder(kRecordRate);
    SpeechAnalysis out;
    if (!builder.analyse(recording, *out.model))
        throw std::runtime_error("the syllable \"" + syllable + "\" cannot be analysed");
    const Halvoren::PeakTracks& peaks = out.model->peaks;
    out.f0.resize(peaks.size());
    for (std::size_t i = 0; i < peaks.size(); ++i)
        out.f0[i] = peaks.frame(i).empty() ? 0.0f : peaks.frame(i).freqs[0];
    return out;
}

int fractionOfVoice(float f0, float voice)
{
    if (!(voice > 0.0f) || !(f0 > 0.0f) || f0 > 0.75f * voice)
        return 1;
    const float whole = std::round(voice / f0);
    return std::fabs(whole * f0 - voice) <= kFractionTolerance * voice ? static_cast<int>(whole) : 1;
}

float voicePitch(const std::vector<float>& f0, std::int32_t first, std::int32_t last, float voice)
{
    std::vector<float> voiced;
    for (std::int32_t i = std::max(0, first); i <= last && i < static_cast<std::int32_t>(f0.size()); ++i)
        if (const float f = f0[std::size_t(i)]; f > 0.0f)
            voiced.push_back(f * static_cast<float>(fractionOfVoice(f, voice)));
    if (voiced.empty())
        return 0.0f;
    std::nth_element(voiced.begin(), voiced.begin() + voiced.size() / 2, voiced.end());
    return voiced[voiced.size() / 2];
}

std::vector<std::int32_t> unvoiceUnresolvable(SpeechAnalysis& analysis, std::int32_t first, std::int32_t last)
{
    std::vector<std::int32_t> changed;
    const std::int32_t end = std::min<std::int32_t>(last, static_cast<std::int32_t>(analysis.f0.size()) - 1);
    for (std::int32_t i = std::max(0, first); i <= end; ++i) {
        float& f0 = analysis.f0[static_cast<std::size_t>(i)];
        if (f0 > 0.0f && f0 < kLowestResolvableF0) {
            f0 = 0.0f;
            changed.push_back(i);
        }
    }
    return changed;
}

}  // namespace demobank
