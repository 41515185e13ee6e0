#pragma once
// A sixth-generation voice bank that sings, for formats 6.0, 6.1 and 6.2:
// records written from the model frames and marks they are given, or made
// from a short description of each unit with a synthetic voice: harmonics
// of one fundamental under the two-formant envelope of the third
// generation's test voice, noise bands far below them, and unvoiced
// consonants as noise only (no harmonics, f0 0). Frame counts follow the
// bank's hop, so a unit lasts as long at every hop.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "support/bank/SingingBank.h"
#include "tools/bankwriter/BankWriterV6.h"
#include "tools/bankwriter/CompactModelWriter.h"

namespace testbank {

// One frame of a compact voice model, in the members it is stored in.
struct ModelFrameV6 {
    float f0 = 0.0f;                  // floats1: Hz, 0 where unvoiced
    std::vector<float> harmonicsDb;   // mags3: harmonic k at k - 1; empty where unvoiced
    std::int32_t row = 100;           // ints1: tilt row and glottal shape
    float gainDb = 0.0f;              // floats2
    std::vector<float> noiseBandsDb;  // mags1: one per layout band (store slot 29)
    std::vector<float> noiseLevels;   // mags4: linear, one per noise-bank band (store slot 30)
    float modFloor = 0.3f;            // floats3
    std::vector<float> phaseOffsets;  // mags2: radians per harmonic
};

// The model of the frames, in their stored form (no samples, no peak frames).
inline CompactModel compactModelOf(const std::vector<ModelFrameV6>& frames)
{
    CompactModel m;
    for (const ModelFrameV6& f : frames) {
        m.floats1.push_back(f.f0);
        m.mags3.push_back(f.harmonicsDb);
        m.ints1.push_back(f.row);
        m.floats2.push_back(f.gainDb);
        m.mags1.push_back(f.noiseBandsDb);
        m.mags4.push_back(f.noiseLevels);
        m.floats3.push_back(f.modFloor);
        m.mags2.push_back(f.phaseOffsets);
    }
    return m;
}

// A voice unit: v6Param1..8 (consonant start, head start, body start, tail
// start, tail length, ...) and its frames.
struct SingingVoiceV6 {
    std::string unit;
    std::string pitch = "C4";
    std::array<std::int32_t, 8> values = {0, 0, 0, 0, 0, 0, -1, -1};
    std::vector<ModelFrameV6> frames;
};

// A continuant "final_initial": v6ContParam1 (first frame), v6ContParam2
// (frame count), ... and its frames.
struct SingingContinuantV6 {
    std::string unit;
    std::string pitch = "C4";
    std::array<std::int32_t, 7> values = {0, 0, -1, -1, -2, -3, -4};
    std::vector<ModelFrameV6> frames;
};

struct SingingBankV6 {
    std::int32_t formatMajor = 6;
    std::int32_t formatMinor = 1;
    BankHeader header;
    // Rows "syllable,consonant,vowel" | voiced consonants | whole units |
    // "vowel,carrier" pairs | breaths.
    std::string table = "ka,k,a;ma,m,a|m||a,a|br1";
    std::string groupList = "C4/C4/C4";
    std::array<std::int32_t, 3> times = {1000, 850, 1250};
    std::array<float, 3> tailFloats = {0.5f, 1.0f, 0.0f};  // harmonic level, noise ratio, unused
    std::int32_t layoutBands = 60;                         // store slot 29
    std::vector<float> bandEdges = {500.0f, 1000.0f, 2000.0f, 4000.0f, 8000.0f};  // store slot 30
    std::int32_t gridCount = 400;                          // store slot 31
    std::vector<SingingVoiceV6> voices;
    std::vector<SingingContinuantV6> continuants;
};

// The synthetic voice of one unit: the test tone at the unit's pitch.
inline VoiceTone toneAt(float f0)
{
    VoiceTone tone;
    tone.f0 = f0;
    return tone;
}

// Frames of the bank's hop that last the given seconds: at least one for
// any positive time, none for none.
inline int framesFor(const SingingBankV6& bank, float seconds)
{
    if (seconds <= 0.0f)
        return 0;
    return std::max(1, static_cast<int>(std::lround(seconds * bank.header.sampleRate /
                                                    static_cast<float>(std::max(1, bank.header.hopSize)))));
}

// Noise bands of the bank's layout: the tone's envelope belowDb lower, band
// b read at b / layoutBands of half the sample rate.
inline std::vector<float> noiseBandsOf(const SingingBankV6& bank, const VoiceTone& tone, float belowDb)
{
    std::vector<float> bands;
    const float half = bank.header.sampleRate * 0.5f;
    for (int b = 0; b < bank.layoutBands; ++b)
        bands.push_back(toneEnvelopeDb(tone, half * static_cast<float>(b) / static_cast<float>(bank.layoutBands)) -
                        belowDb);
    return bands;
}

// A voiced frame of the tone shifted by gainDb: every harmonic below half
// the sample rate, zero phase offsets, quiet noise.
inline ModelFrameV6 voicedFrameV6(const SingingBankV6& bank, const VoiceTone& tone, float gainDb = 0.0f)
{
    ModelFrameV6 frame;
    frame.f0 = tone.f0;
    for (float f = tone.f0; f < bank.header.sampleRate * 0.5f; f += tone.f0)
        frame.harmonicsDb.push_back(toneEnvelopeDb(tone, f));
    frame.gainDb = gainDb;
    frame.noiseBandsDb = noiseBandsOf(bank, tone, 50.0f);
    frame.noiseLevels.assign(bank.bandEdges.size(), 0.01f);
    frame.modFloor = 0.3f;
    frame.phaseOffsets.assign(frame.harmonicsDb.size(), 0.0f);
    return frame;
}

// An unvoiced frame: no harmonics, f0 0, noise belowDb under the tone's
// envelope and unmodulated.
inline ModelFrameV6 unvoicedFrameV6(const SingingBankV6& bank, const VoiceTone& tone, float belowDb)
{
    ModelFrameV6 frame;
    frame.noiseBandsDb = noiseBandsOf(bank, tone, belowDb);
    frame.noiseLevels.assign(bank.bandEdges.size(), 0.1f);
    frame.modFloor = 1.0f;
    return frame;
}

// A syllable in seconds: consonant (noise when unvoiced, the vowel 10 dB
// down when voiced; none for a zero-initial syllable), head (rising into the
// vowel), body, tail (fading by 3 dB). Marks: consonant start 0, head start,
// body start, tail start, tail length.
struct SyllableShapeV6 {
    std::string unit;
    std::string pitch = "C4";
    float f0 = 261.6256f;  // C4
    bool unvoicedConsonant = false;
    float consonant = 0.06f;
    float head = 0.06f;
    float body = 0.25f;
    float tail = 0.12f;
};

inline SingingVoiceV6 syllableVoiceV6(const SingingBankV6& bank, const SyllableShapeV6& s)
{
    SingingVoiceV6 v;
    v.unit = s.unit;
    v.pitch = s.pitch;
    const VoiceTone tone = toneAt(s.f0);
    const int c = framesFor(bank, s.consonant);
    const int h = framesFor(bank, s.head);
    const int b = framesFor(bank, s.body);
    const int t = framesFor(bank, s.tail);
    v.values = {0, c, c + h, c + h + b, t, 0, -1, -1};
    for (int i = 0; i < c; ++i)
        v.frames.push_back(s.unvoicedConsonant ? unvoicedFrameV6(bank, tone, 20.0f) : voicedFrameV6(bank, tone, -10.0f));
    for (int i = 0; i < h; ++i)
        v.frames.push_back(voicedFrameV6(bank, tone, -10.0f * (1.0f - static_cast<float>(i + 1) / static_cast<float>(h))));
    for (int i = 0; i < b; ++i)
        v.frames.push_back(voicedFrameV6(bank, tone));
    for (int i = 0; i < t; ++i)
        v.frames.push_back(voicedFrameV6(bank, tone, -3.0f * static_cast<float>(i) / static_cast<float>(t)));
    return v;
}

// A breath: noise only, its marks all at 0 but the tail, which covers it.
inline SingingVoiceV6 breathVoiceV6(const SingingBankV6& bank, const std::string& unit, float seconds,
                                    const std::string& pitch = "C4")
{
    SingingVoiceV6 v;
    v.unit = unit;
    v.pitch = pitch;
    const int n = framesFor(bank, seconds);
    v.values = {0, 0, 0, 0, n, 0, -1, -1};
    for (int i = 0; i < n; ++i)
        v.frames.push_back(unvoicedFrameV6(bank, toneAt(261.6256f), 30.0f));
    return v;
}

// A continuant: vowel frames, then consonant frames (noise when unvoiced,
// the vowel 10 dB down when voiced); it covers all of them.
inline SingingContinuantV6 continuantV6(const SingingBankV6& bank, const std::string& unit, float vowelSeconds,
                                        float consonantSeconds, bool unvoiced, const std::string& pitch = "C4",
                                        float f0 = 261.6256f)
{
    SingingContinuantV6 c;
    c.unit = unit;
    c.pitch = pitch;
    const VoiceTone tone = toneAt(f0);
    const int vowel = framesFor(bank, vowelSeconds);
    const int consonant = framesFor(bank, consonantSeconds);
    c.values[0] = 0;
    c.values[1] = vowel + consonant;
    for (int i = 0; i < vowel; ++i)
        c.frames.push_back(voicedFrameV6(bank, tone));
    for (int i = 0; i < consonant; ++i)
        c.frames.push_back(unvoiced ? unvoicedFrameV6(bank, tone, 20.0f) : voicedFrameV6(bank, tone, -10.0f));
    return c;
}

// "ka" (its "k" unvoiced), "ma" (its "m" voiced), the vowel "a" and the
// breath "br1" at C4, with the continuants "a_k", "a_m" and "a_a"; the
// table "ka,k,a;ma,m,a|m||a,a|br1".
inline SingingBankV6 phraseBankV6(std::int32_t formatMinor, std::int32_t hop = 256)
{
    SingingBankV6 bank;
    bank.formatMinor = formatMinor;
    bank.header.hopSize = hop;
    SyllableShapeV6 ka{.unit = "ka", .unvoicedConsonant = true};
    SyllableShapeV6 ma{.unit = "ma"};
    SyllableShapeV6 a{.unit = "a", .consonant = 0.0f};
    for (const SyllableShapeV6& s : {ka, ma, a})
        bank.voices.push_back(syllableVoiceV6(bank, s));
    bank.voices.push_back(breathVoiceV6(bank, "br1", 0.3f));
    bank.continuants.push_back(continuantV6(bank, "a_k", 0.06f, 0.06f, true));
    bank.continuants.push_back(continuantV6(bank, "a_m", 0.06f, 0.06f, false));
    bank.continuants.push_back(continuantV6(bank, "a_a", 0.12f, 0.0f, false));
    return bank;
}

// The bank with every level of every frame (harmonics, noise bands and
// gain, in dB) at db: FLT_MAX makes values the synthesis cannot use.
inline SingingBankV6 withEveryLevelAtV6(SingingBankV6 bank, float db)
{
    auto level = [db](std::vector<ModelFrameV6>& frames) {
        for (ModelFrameV6& f : frames) {
            std::fill(f.harmonicsDb.begin(), f.harmonicsDb.end(), db);
            std::fill(f.noiseBandsDb.begin(), f.noiseBandsDb.end(), db);
            f.gainDb = db;
        }
    };
    for (SingingVoiceV6& v : bank.voices)
        level(v.frames);
    for (SingingContinuantV6& c : bank.continuants)
        level(c.frames);
    return bank;
}

// The package files of the bank.
inline PackageFiles writeSingingBankV6(const SingingBankV6& bank)
{
    BankDescriptionV6 d;
    d.formatMajor = bank.formatMajor;
    d.formatMinor = bank.formatMinor;
    d.header = bank.header;
    d.strings[2] = bank.table;
    d.groupList = bank.groupList;
    d.times = bank.times;
    d.tailFloats = bank.tailFloats;
    d.tailInt1 = bank.layoutBands;
    d.tailFloatList = bank.bandEdges;
    d.tailInt2 = bank.gridCount;
    for (const SingingVoiceV6& v : bank.voices)
        d.variants.push_back({v.unit, v.pitch, 0, v6VoiceRecord(v.values, compactModelBytes(compactModelOf(v.frames)))});
    for (const SingingContinuantV6& c : bank.continuants)
        d.variants.push_back(
            {c.unit, c.pitch, 0, v6ContinuantRecord(c.values, compactModelBytes(compactModelOf(c.frames)))});
    return writePackageV6(d);
}

}  // namespace testbank
