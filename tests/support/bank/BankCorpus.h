#pragma once
// The seed files of the voice-package readers' fuzzing corpus: indexes of
// the third and fourth generations with their markers off and on, of the
// sixth in formats 6.0, 6.1 and 6.2, and one framed voice and continuant
// record per generation, each under 4 KB. The "bank_corpus"
// target writes them to tests/corpus/bank; a test checks the committed files
// still equal this output.
#include <string>
#include <vector>

#include "support/bank/WriterNames.h"
#include "tools/bankwriter/BankWriter.h"
#include "tools/bankwriter/BankWriterV6.h"

namespace testbank {

struct CorpusFile {
    std::string name;
    std::string bytes;
};

// A voiced frame of three harmonics on 220 Hz.
inline PlainFrame corpusFrame()
{
    PlainFrame f;
    f.harmonicsDb = {-6.0f, -12.0f, -18.0f};
    return f;
}

// Two units with one variant each and a name-only entry.
inline BankDescription corpusBank()
{
    BankDescription bank;
    bank.variants = {{"la", "C4", 0, "L"}, {"a_l", "E4", 0, "C"}};
    bank.names = {{"ka", 0}};
    return bank;
}

// Format 6.<minor> with the two units of corpusBank.
inline BankDescriptionV6 corpusBankV6(std::int32_t minor)
{
    BankDescriptionV6 bank;
    bank.formatMinor = minor;
    bank.formatExtra = 7;
    bank.variants = {{"la", "C4", 0, "L"}, {"a_l", "E4", 1, "C"}};
    return bank;
}

// One frame of every member: samples, a voiced peak frame, eight noise
// bands, f0, a phase offset, harmonic levels, a tilt row, a gain, four noise
// levels and a modulation floor.
inline CompactModel corpusModel()
{
    CompactModel m;
    m.samples = {0, 100, -100, 0};
    m.peakFrames = {{220.0f, {-6.0f, -12.0f, -18.0f}}};
    m.mags1 = {std::vector<float>(8, -40.0f)};
    m.floats1 = {220.0f};
    m.mags2 = {{0.0f}};
    m.mags3 = {{-6.0f, -12.0f, -18.0f}};
    m.ints1 = {60};
    m.floats2 = {0.0f};
    m.mags4 = {{-50.0f, -55.0f, -60.0f, -65.0f}};
    m.floats3 = {1.0f};
    return m;
}

// A framed record, as it lies in a content file at offset 0.
inline std::string framed(const std::string& body) { return ByteBuilder().str(body).bytes; }

inline std::vector<CorpusFile> bankCorpus()
{
    BankDescription plain = corpusBank();
    BankDescription ext2ext1 = corpusBank();
    ext2ext1.ext2 = ext2ext1.ext1 = true;
    ext2ext1.variants[1].part = 1;
    BankDescription v4all = ext2ext1;
    v4all.ext3 = v4all.ext4 = true;

    const std::string voiced = ghrModelBytes({corpusFrame()});
    PlainFrame unvoiced;
    unvoiced.harmonicsDb.clear();
    const std::string breath = ghrModelBytes({unvoiced});
    const std::array<std::int32_t, 16> v3Values = {0, 1, 1, 1, 1, 0, floatBits(0.5f), 1, 1, floatBits(1.0f), 256,
                                                   floatBits(0.0f), floatBits(0.0f), floatBits(0.5f),
                                                   floatBits(0.5f), floatBits(0.5f)};
    return {
        {"v3_index_plain.hvi", writePackage(plain).index},
        {"v3_index_ext2_ext1.hvi", writePackage(ext2ext1).index},
        {"v4_index_all_markers.hvi", writePackage(v4all).index},
        {"v3_voice.rec", framed(v3VoiceRecord(v3Values, voiced, PhaseTable{}))},
        {"v3_continuant.rec", framed(v3ContinuantRecord(0, 1, 256, breath))},
        {"v4_voice.rec", framed(v4VoiceRecord({0, 1, 1, 1, 1, 0, -1, -1, 0}, voiced, PhaseTable{}))},
        {"v4_continuant.rec", framed(v4ContinuantRecord({0, 1, -1, 0}, breath))},
        {"v6_index_60.hvi", writePackageV6(corpusBankV6(0)).index},
        {"v6_index_61.hvi", writePackageV6(corpusBankV6(1)).index},
        {"v6_index_62.hvi", writePackageV6(corpusBankV6(2)).index},
        {"v6_voice.rec", framed(v6VoiceRecord({0, 1, 1, 1, 1, 0, -1, -1}, compactModelBytes(corpusModel())))},
        {"v6_continuant.rec",
         framed(v6ContinuantRecord({0, 1, -1, -1, -2, -3, -4}, compactModelBytes(corpusModel())))},
    };
}

}  // namespace testbank
