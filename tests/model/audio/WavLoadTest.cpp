#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "Int16Samples.h"
#include "model/audio/AudioFileLoader.h"
#include "model/audio/WavFileReader.h"
#include "support/audio/RiffWriter.h"
#include "support/ScratchDir.h"

using HalvorenEditor::CWavBuf;
using hvtest::Bytes;
using hvtest::RiffWriter;

namespace {

class WavLoad : public ::testing::Test {
protected:
    hvtest::ScratchDir dir{"wavload"};

    CString write(const std::string& name, const Bytes& bytes)
    {
        hvtest::writeBytes(dir.file(name), bytes);
        return CString::fromUtf8(dir.file(name));
    }
    bool load(const Bytes& bytes, CWavBuf& out) { return loadAudioFile(out, write("clip.wav", bytes)); }
};

template <class T>
Bytes bytesOf(T value)
{
    Bytes b(sizeof value);
    std::memcpy(b.data(), &value, sizeof value);
    return b;
}

}  // namespace

TEST_F(WavLoad, WalksChunksInAnyOrderAndSkipsPadBytes)
{
    const Bytes samples = {100, 0, 0x9C, 0xFF};  // 100, -100
    const Bytes layouts[] = {
        RiffWriter().chunk("LIST", Bytes(10, 'x')).fmt(1, 1, 44100, 16).data(samples).bytes(),
        RiffWriter().fmt(1, 1, 44100, 16).chunk("junk", Bytes(3, 'y')).chunk("LIST", Bytes(4)).data(samples).bytes(),
        RiffWriter().fmt(1, 1, 44100, 16, 17).data(samples).chunk("LIST", Bytes(5)).bytes(),
        RiffWriter().fmt(1, 1, 44100, 16, 18).data(samples).bytes(),
        RiffWriter().fmt(1, 1, 44100, 16, 40).data(samples).bytes(),
    };
    for (const Bytes& file : layouts) {
        CWavBuf out;
        ASSERT_TRUE(load(file, out));
        EXPECT_EQ(int16Samples(out), (std::vector<int16_t>{100, -100}));
    }
    CWavBuf out;
    EXPECT_FALSE(load(RiffWriter().fmt(1, 1, 44100, 16, 14).data(samples).bytes(), out));
}

TEST_F(WavLoad, BringsEveryWidthToSixteenBits)
{
    struct Case {
        uint16_t tag, bits;
        Bytes sample;
        int16_t expected;
    } const cases[] = {
        {1, 1, {0x80}, 0},    // 1 to 7 bits sit in a 1-byte container and
        {1, 4, {255}, 32767},  // are read as 8-bit samples
        {1, 8, {255}, 32767},
        {1, 12, {0xF0, 0x7F}, 32752},        // 12 bits in a 2-byte container
        {1, 20, {0xF0, 0xFF, 0x7F}, 32766},  // 20 bits in a 3-byte container
        {1, 32, {0, 0, 0, 0x40}, 16383},
        {1, 40, {1, 2, 3, 4, 5}, 0},  // kept, but read as silence
        {1, 64, {0, 0, 0, 0, 0, 0, 0, 0x40}, 16383},
        {3, 32, bytesOf(0.5f), 16383},
        {3, 64, bytesOf(-0.25), -8191},
    };
    for (const Case& c : cases) {
        CWavBuf out;
        ASSERT_TRUE(load(hvtest::simpleWav(c.tag, 1, 44100, c.bits, c.sample), out)) << c.bits;
        EXPECT_EQ(out.bytesPerSample, 2);
        EXPECT_EQ(int16Samples(out), std::vector<int16_t>{c.expected}) << c.tag << "/" << c.bits;
    }
}

TEST_F(WavLoad, RefusesFormatsThatCannotPlay)
{
    struct Case {
        uint16_t tag, channels;
        uint32_t rate;
        uint16_t bits;
    } const cases[] = {{2, 1, 44100, 16}, {0xFFFE, 1, 44100, 16}, {1, 1, 0, 16}, {1, 1, 0x80000000u, 16},
                       {1, 2, 0xFFFFFFFFu, 16}, {1, 0, 44100, 16}, {1, 3, 44100, 16}, {1, 1, 44100, 0}};
    for (const Case& c : cases) {
        CWavBuf out;
        EXPECT_FALSE(load(hvtest::simpleWav(c.tag, c.channels, c.rate, c.bits, Bytes(12, 1)), out))
            << c.tag << " " << c.channels << " " << c.rate << " " << c.bits;
        EXPECT_TRUE(out.fifo.isEmpty());
    }
}

TEST_F(WavLoad, RatesBelowTheFloorFailBeforeGrowing)
{
    // 40,000 bytes of 16-bit mono at 1 Hz would resample to 20,000 x 44,100
    // samples (1.76 GB): refused with no samples.
    CWavBuf out;
    EXPECT_FALSE(load(hvtest::simpleWav(1, 1, 1, 16, Bytes(40000, 1)), out));
    EXPECT_TRUE(out.fifo.isEmpty());
    EXPECT_FALSE(load(hvtest::simpleWav(1, 2, 999, 8, Bytes(400, 1)), out));
    EXPECT_TRUE(out.fifo.isEmpty());
    // The floor itself loads: 200 frames at 1000 Hz give 200 x 44.1 = 8820.
    ASSERT_TRUE(load(hvtest::simpleWav(1, 2, 1000, 8, Bytes(400, 1)), out));
    EXPECT_EQ(formatOf(out), std::make_tuple(2, 2, 44100));
    EXPECT_NEAR(out.sampleCount() / 2, 8820, 2);
}

// A clip the budget cannot hold is refused from its header: 3 MiB of 16-bit
// mono at 44100 Hz stay 3 MiB, past a budget of 2 MiB, within one of 3.
TEST_F(WavLoad, ClipsPastTheBudgetAreRefusedBeforeTheirSamplesAreRead)
{
    const CString path = write("big.wav", hvtest::simpleWav(1, 1, 44100, 16, Bytes(3 << 20, 1)));
    WavFileReader reader;
    EXPECT_FALSE(reader.read(path, ReadLimits(), {UINT64_MAX, 2 << 20}));
    EXPECT_TRUE(reader.tooLarge());
    EXPECT_EQ(reader.buffer().fifo.getSizeInBytes(), 1024000u);  // no room was made for the samples
    CWavBuf out;
    EXPECT_EQ(loadAudioClip(out, path, 2 << 20), ClipLoad::tooLarge);
    EXPECT_TRUE(out.fifo.isEmpty());
    EXPECT_EQ(loadAudioClip(out, path, 3 << 20), ClipLoad::loaded);
    EXPECT_EQ(out.sampleCount(), 3u << 19);
}

TEST_F(WavLoad, KeepsTheBytesPresentWhenDataClaimsMore)
{
    Bytes file = RiffWriter().fmt(1, 1, 44100, 16).data(Bytes(100, 0), 0x7FFFFFF0u).bytes();
    file.push_back(0);  // half a sample, dropped
    WavFileReader reader;
    ASSERT_TRUE(reader.read(write("short.wav", file)));
    EXPECT_EQ(reader.buffer().fifo.numSamples(), 100u);
    // Room is made for what the file holds, not for the declared 2 GB.
    EXPECT_LE(reader.buffer().fifo.getSizeInBytes(), 2u * 1024000u);
}

TEST_F(WavLoad, ChunkWalkEndsAtTheReadBudget)
{
    // Ten empty chunks, then fmt and data: the walk to fmt passes 11 chunk
    // headers and the walk to data one more, 12 in all.
    RiffWriter riff;
    for (int i = 0; i < 10; ++i) riff.chunk("junk", Bytes());
    const Bytes file = riff.fmt(1, 1, 44100, 16).data(Bytes(8, 1)).bytes();
    const CString path = write("chunks.wav", file);
    struct Case {
        uint64_t chunks;
        bool loads;
    };
    for (const Case& c : {Case{12, true}, Case{11, false}, Case{5, false}}) {
        ReadLimits limits;
        limits.recordsPerFileByte = 0;
        limits.recordBase = c.chunks;
        WavFileReader reader;
        EXPECT_EQ(reader.read(path, limits), c.loads) << c.chunks << " chunks";
        EXPECT_EQ(reader.buffer().fifo.numSamples(), c.loads ? 8u : 0u) << c.chunks << " chunks";
    }
}

TEST_F(WavLoad, EveryTruncationEndsCleanly)
{
    const Bytes full = RiffWriter().chunk("LIST", Bytes(7, 'x')).fmt(1, 2, 44100, 16).data(Bytes(40, 7)).bytes();
    const size_t dataStart = full.size() - 40;
    for (size_t len = 0; len < full.size(); ++len) {
        CWavBuf out;
        const bool ok = load(Bytes(full.begin(), full.begin() + len), out);
        const size_t wholeFrames = len > dataStart ? (len - dataStart) / 4 : 0;
        EXPECT_EQ(ok, wholeFrames > 0) << len;
        EXPECT_EQ(out.fifo.numSamples(), wholeFrames * 4) << len;
    }
}

TEST_F(WavLoad, FailedReadHandsOverTheFormatRead)
{
    CWavBuf out;
    // A data chunk whose bytes are all missing fails after taking the format.
    EXPECT_FALSE(load(RiffWriter().fmt(1, 2, 22050, 8).data({}, 64).bytes(), out));
    EXPECT_EQ(formatOf(out), std::make_tuple(1, 2, 22050));
    EXPECT_TRUE(out.fifo.isEmpty());
    // An empty data chunk fails before the data are read: the defaults.
    EXPECT_FALSE(load(RiffWriter().fmt(1, 2, 22050, 8).data({}).bytes(), out));
    EXPECT_EQ(formatOf(out), std::make_tuple(2, 1, 44100));
    EXPECT_FALSE(loadAudioFile(out, CString::fromUtf8(dir.file("missing.wav"))));
    EXPECT_TRUE(out.fifo.isEmpty());
    // A file that is there but no clip is told apart from one that cannot be
    // opened: cut inside its header, a good file of another extension.
    const Bytes good = RiffWriter().fmt(1, 1, 44100, 16).data({1, 0}).bytes();
    EXPECT_EQ(loadAudioClip(out, write("cut.wav", Bytes(good.begin(), good.begin() + 16))), ClipLoad::undecodable);
    EXPECT_EQ(loadAudioClip(out, write("clip.WAV", good)), ClipLoad::undecodable);
    EXPECT_EQ(loadAudioClip(out, CString::fromUtf8(dir.file("missing.wav"))), ClipLoad::unreadable);
    EXPECT_EQ(loadAudioClip(out, write("clip.wav", good)), ClipLoad::loaded);
}

TEST_F(WavLoad, ConvertsToThePlayersFormat)
{
    hvtest::ByteBuilder mono24;
    for (int k = 0; k < 480; ++k) mono24.le(0x400000, 3);
    CWavBuf mono;
    ASSERT_TRUE(load(hvtest::simpleWav(1, 1, 48000, 24, hvtest::toBytes(mono24)), mono));
    EXPECT_EQ(formatOf(mono), std::make_tuple(2, 1, 44100));
    EXPECT_NEAR(mono.sampleCount(), 441, 1);
    EXPECT_EQ(int16Samples(mono)[200], 16383);

    Bytes stereo8;
    for (int k = 0; k < 100; ++k) stereo8.insert(stereo8.end(), {255, 0});
    CWavBuf stereo;
    ASSERT_TRUE(load(hvtest::simpleWav(1, 2, 22050, 8, stereo8), stereo));
    EXPECT_EQ(formatOf(stereo), std::make_tuple(2, 2, 44100));
    // The channels stay apart: resampled side by side, not as one sequence.
    const std::vector<int16_t> samples = int16Samples(stereo);
    ASSERT_EQ(samples.size(), 402u);
    EXPECT_EQ(samples[200], 32767);
    EXPECT_LE(samples[201], -32767);
}

TEST_F(WavLoad, ExtensionMustMatchExactly)
{
    const Bytes file = hvtest::simpleWav(1, 1, 22050, 16, Bytes(2, 5));
    for (const char* name : {"a.WAV", "a.Wav", "a.Mp3", "a.wave", "wav"}) {
        CWavBuf out;
        out.sampleRate = 12345;
        EXPECT_FALSE(loadAudioFile(out, write(name, file))) << name;
        EXPECT_EQ(out.sampleRate, 12345);
    }
}
