#pragma once
// A voice bank of the third or fourth generation that sings: records
// written from the frames
// and placing values they are given (analysed ones, for a real voice), or
// made from a short description of each unit (a consonant-vowel syllable, or
// a continuant from a vowel into a consonant) with a synthetic voice:
// harmonics of one fundamental under a two-formant envelope, a residual far
// below them, band frames read from the same envelope, and unvoiced
// consonants as noise only.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dsp/GammatoneCentres.h"
#include "support/bank/WriterNames.h"
#include "tools/bankwriter/BankWriter.h"
#include "tools/bankwriter/GhrModelWriter.h"
#include "tools/bankwriter/SingingUnits.h"

namespace testbank {

// Generation 4 writes the same units as fourth-generation records: the
// first five placing values become v4Param1..5 (onset 0 .. onset, second
// span onset .. a, steady a .. b, release length), v4Param6..9 are
// 0, -1, -1, 0; a continuant keeps its first frame and count. Its header
// strings are written wide ("ext4"), so a bank's own table fits as its
// language text; "ext3" carries the three levels of the frame synthesis.
// The bank version ("4.0" .. "4.03") goes in the singer's description.
struct SingingBank {
    int generation = 3;
    BankHeader header;
    std::string language = "CHN";
    bool ext1 = false;
    bool ext3 = false;
    std::array<float, 3> ext3Values = {0.5f, 1.2f, -20.0f};
    std::vector<SingingVoice> voices;
    std::vector<SingingContinuant> continuants;
    std::vector<VariantLayout> layouts;  // records nested, entries pointing inside, lengths stored
};

// The synthetic voice.
struct VoiceTone {
    float f0 = 220.0f;
    float baseDb = -24.0f;  // the envelope's floor near the fundamental
    std::array<float, 2> formantHz = {700.0f, 1200.0f};
    std::array<float, 2> formantDb = {12.0f, 8.0f};
    float formantWidthHz = 220.0f;
    float residualBelowDb = 60.0f;  // the residual under the loudest harmonic
};

// The envelope in dB at f: a floor falling 6 dB an octave above f0 with the
// two formant bumps on it.
inline float toneEnvelopeDb(const VoiceTone& tone, float f)
{
    float db = tone.baseDb - 6.0f * std::log2(std::max(f, tone.f0) / tone.f0);
    for (int i = 0; i < 2; ++i) {
        const float x = (f - tone.formantHz[i]) / tone.formantWidthHz;
        db += tone.formantDb[i] * std::exp(-x * x);
    }
    return db;
}

inline float toneLoudestDb(const VoiceTone& tone)
{
    float loudest = -200.0f;
    for (float f = tone.f0; f < 8000.0f; f += tone.f0)
        loudest = std::max(loudest, toneEnvelopeDb(tone, f));
    return loudest;
}

// The power of all the tone's harmonics together, in dB.
inline float toneTotalDb(const VoiceTone& tone)
{
    double power = 0.0;
    for (float f = tone.f0; f < 20000.0f; f += tone.f0)
        power += std::pow(10.0, toneEnvelopeDb(tone, f) / 10.0);
    return static_cast<float>(10.0 * std::log10(power));
}

// A voiced frame of the tone shifted by gainDb.
inline PlainFrame voicedFrame(const VoiceTone& tone, float gainDb = 0.0f)
{
    PlainFrame frame;
    frame.f0Step = tone.f0;
    for (float f = tone.f0; f < 20000.0f; f += tone.f0)
        frame.harmonicsDb.push_back(toneEnvelopeDb(tone, f) + gainDb);
    const float residual = toneLoudestDb(tone) - tone.residualBelowDb + gainDb;
    frame.magsA.assign(257, residual);
    frame.magsB.assign(257, residual);
    const auto centres = Halvoren::gammatoneCentres();
    frame.bands.clear();
    for (float c : centres)
        frame.bands.push_back(toneEnvelopeDb(tone, c) + gainDb);
    return frame;
}

// An unvoiced frame: no harmonics, no band frame, white noise whose power
// over its 256 bins lies belowDb under the tone's.
inline PlainFrame unvoicedFrame(const VoiceTone& tone, float belowDb)
{
    PlainFrame frame;
    frame.f0Step = tone.f0;
    frame.magsA.assign(257, toneTotalDb(tone) - belowDb - 10.0f * std::log10(256.0f));
    frame.magsB = frame.magsA;
    frame.bands.clear();
    return frame;
}

// A consonant-vowel syllable: onset frames (the consonant), middle frames
// (into the vowel), steady frames (the body) and end frames (the vowel
// fading out by 3 dB). An unvoiced consonant is noise 20 dB under the vowel
// (in power);
// a voiced one the vowel 10 dB down.
struct SyllableShape {
    std::string unit;
    std::string pitch = "C4";
    bool unvoicedOnset = false;
    int onset = 10;
    int middle = 10;
    int steady = 40;
    int end = 20;
    float ratio1 = 0.5f;
};

inline SingingVoice syllableVoice(const SyllableShape& s, const VoiceTone& tone, std::int32_t hop)
{
    SingingVoice v;
    v.unit = s.unit;
    v.pitch = s.pitch;
    const int a = s.onset + s.middle;
    const int b = a + s.steady;
    v.values = {0, s.onset, a, b, s.end, 0, floatBits(0.0f), 0, 0, floatBits(0.0f), hop, floatBits(0.0f),
                floatBits(0.0f), floatBits(s.ratio1), floatBits(0.5f), floatBits(0.5f)};
    for (int i = 0; i < s.onset; ++i)
        v.frames.push_back(s.unvoicedOnset ? unvoicedFrame(tone, 20.0f) : voicedFrame(tone, -10.0f));
    for (int i = 0; i < s.middle; ++i) {
        const float rise = static_cast<float>(i + 1) / static_cast<float>(s.middle);
        v.frames.push_back(voicedFrame(tone, -10.0f * (1.0f - rise)));
    }
    for (int i = 0; i < s.steady; ++i)
        v.frames.push_back(voicedFrame(tone));
    for (int i = 0; i < s.end; ++i)
        v.frames.push_back(voicedFrame(tone, -3.0f * static_cast<float>(i) / static_cast<float>(std::max(1, s.end))));
    return v;
}

// A continuant: vowel frames, then consonant frames (noise when unvoiced,
// the vowel 10 dB down when voiced).
inline SingingContinuant continuantFrom(const std::string& unit, const VoiceTone& tone, int vowel, int consonant,
                                        bool unvoiced, const std::string& pitch = "C4")
{
    SingingContinuant c;
    c.unit = unit;
    c.pitch = pitch;
    c.param1 = 0;
    c.param2 = vowel + consonant;
    for (int i = 0; i < vowel; ++i)
        c.frames.push_back(voicedFrame(tone));
    for (int i = 0; i < consonant; ++i)
        c.frames.push_back(unvoiced ? unvoicedFrame(tone, 20.0f) : voicedFrame(tone, -10.0f));
    return c;
}

// A breath: frames of noise only, all of them its recorded breath
// (param4 + param5 - endPos = frames).
inline SingingVoice breathVoice(const std::string& unit, const VoiceTone& tone, std::int32_t hop, int frames)
{
    SingingVoice v;
    v.unit = unit;
    v.values = {0, 0, 0, frames, 0, 0, floatBits(0.0f), 0, 0, floatBits(0.0f), hop, floatBits(0.0f),
                floatBits(0.0f), floatBits(0.5f), floatBits(0.5f), floatBits(0.5f)};
    for (int i = 0; i < frames; ++i)
        v.frames.push_back(unvoicedFrame(tone, 20.0f));
    return v;
}

// A phase table of nine columns and two rows: a column window spans three
// columns, so a window lasts three frames and a run can end inside one.
// Neighbouring columns step by +-0.02 rad, so the pitch stays where the
// curve puts it.
inline PhaseTable nineColumnPhases()
{
    PhaseTable t;
    t.step = 100.0f;
    t.stride = 9;
    t.rows = 2;
    t.values.clear();
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 9; ++column)
            t.values.push_back((column + row) % 2 == 0 ? 0.02f : -0.02f);
    return t;
}

// The bank with every voice carrying that table ("ext1").
inline SingingBank withNineColumnPhases(SingingBank bank)
{
    bank.ext1 = true;
    for (SingingVoice& v : bank.voices)
        v.ext1 = nineColumnPhases();
    return bank;
}

// The bank with every level of every frame (harmonics, both magnitude
// rows and bands) at db: FLT_MAX makes values the synthesis cannot use.
inline SingingBank withEveryLevelAt(SingingBank bank, float db)
{
    auto level = [db](std::vector<PlainFrame>& frames) {
        for (PlainFrame& f : frames)
            for (std::vector<float>* values : {&f.harmonicsDb, &f.magsA, &f.magsB, &f.bands})
                std::fill(values->begin(), values->end(), db);
    };
    for (SingingVoice& v : bank.voices)
        level(v.frames);
    for (SingingContinuant& c : bank.continuants)
        level(c.frames);
    return bank;
}

// "ma", "sa" (its "s" unvoiced) and "la" at C4 with the continuants "a_z"
// (into an unvoiced consonant) and "a_l" (into a voiced one), the bare
// final "a" and the breath "br1" (40 frames).
inline SingingBank threeSyllableBank(std::int32_t hop)
{
    SingingBank bank;
    bank.header.hopSize = hop;
    const VoiceTone tone;
    for (const char* unit : {"ma", "sa", "la"}) {
        SyllableShape shape;
        shape.unit = unit;
        shape.unvoicedOnset = std::string(unit) == "sa";
        bank.voices.push_back(syllableVoice(shape, tone, hop));
    }
    SyllableShape bare;
    bare.unit = "a";
    bare.onset = 0;
    bare.middle = 0;
    bank.voices.push_back(syllableVoice(bare, tone, hop));
    bank.voices.push_back(breathVoice("br1", tone, hop, 40));
    bank.continuants.push_back(continuantFrom("a_z", tone, 10, 10, true));
    bank.continuants.push_back(continuantFrom("a_l", tone, 10, 10, false));
    return bank;
}

// The first five placing values of a voice as the fourth generation's nine.
inline std::array<std::int32_t, 9> v4ValuesOf(const SingingVoice& v)
{
    return {v.values[0], v.values[1], v.values[2], v.values[3], v.values[4], 0, -1, -1, 0};
}

// The package files of the bank.
inline PackageFiles writeSingingBank(const SingingBank& bank)
{
    const bool v4 = bank.generation == 4;
    BankDescription d;
    d.header = bank.header;
    d.strings[2] = bank.language;
    d.ext1 = bank.ext1;
    d.ext3 = v4 && bank.ext3;
    d.ext3Values = bank.ext3Values;
    d.ext4 = v4;
    d.layouts = bank.layouts;
    for (const SingingVoice& v : bank.voices) {
        const std::optional<PhaseTable> table = bank.ext1 ? v.ext1 : std::nullopt;
        const std::string material = ghrModelBytes(v.frames);
        d.variants.push_back({v.unit, v.pitch, 0,
                              v4 ? v4VoiceRecord(v4ValuesOf(v), material, table)
                                 : v3VoiceRecord(v.values, material, table)});
    }
    for (const SingingContinuant& c : bank.continuants) {
        const std::string material = ghrModelBytes(c.frames);
        d.variants.push_back({c.unit, c.pitch, 0,
                              v4 ? v4ContinuantRecord({c.param1, c.param2, -1, 0}, material)
                                 : v3ContinuantRecord(c.param1, c.param2, bank.header.hopSize, material)});
    }
    return writePackage(d);
}

// A fourth-generation bank under the built-in table: "ma", "la", "sa" (its
// "s" unvoiced) and the vowel-only "a" at C4, "a" again at G4 in a brighter
// tone (a cross timbre), the breath "br1" (noise only), the continuants "-"
// (the vowel into a breathy release) and "l" (into the voiced initial), every
// voice with a phase table, and "ext3" with the default levels.
inline SingingBank cvvcBankV4(std::int32_t hop)
{
    SingingBank bank;
    bank.generation = 4;
    bank.header.hopSize = hop;
    bank.ext1 = true;
    bank.ext3 = true;
    const VoiceTone tone;
    VoiceTone bright = tone;
    bright.formantHz = {900.0f, 1700.0f};
    PhaseTable phases;
    phases.step = 100.0f;
    phases.stride = 4;
    phases.rows = 2;
    phases.values = {0.0f, 0.1f, 0.2f, 0.3f, 0.0f, -0.1f, -0.2f, -0.3f};
    auto add = [&](const std::string& unit, const std::string& pitch, bool unvoicedOnset, const VoiceTone& t) {
        SyllableShape shape;
        shape.unit = unit;
        shape.pitch = pitch;
        shape.unvoicedOnset = unvoicedOnset;
        SingingVoice v = syllableVoice(shape, t, hop);
        v.ext1 = phases;
        bank.voices.push_back(std::move(v));
    };
    add("ma", "C4", false, tone);
    add("la", "C4", false, tone);
    add("sa", "C4", true, tone);
    add("a", "C4", false, tone);
    add("a", "G4", false, bright);
    SingingVoice breath = syllableVoice({"br1"}, tone, hop);
    for (PlainFrame& f : breath.frames)
        f = unvoicedFrame(tone, 20.0f);
    breath.ext1 = phases;
    bank.voices.push_back(std::move(breath));
    bank.continuants.push_back(continuantFrom("-", tone, 10, 10, true));
    bank.continuants.push_back(continuantFrom("l", tone, 10, 10, false));
    return bank;
}

}  // namespace testbank
