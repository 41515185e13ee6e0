#include "render/export/WavFileWriter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "support/ScratchDir.h"

namespace {

std::vector<uint8_t> readAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

uint32_t le(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
    return v;
}

}  // namespace

TEST(WavWriter, FilesReadBackBitExactBehindTheirHeader) {
    hvtest::ScratchDir dir("wavw");
    const std::string path = dir.file("one.wav");
    std::vector<int16_t> data(44100 * 2);  // one second of stereo
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<int16_t>(i * 7919 - 40000);
    ASSERT_EQ(writeWavFile(CString::fromUtf8(path), 2, 176400, data.data()), 0);

    auto b = readAll(path);
    ASSERT_EQ(b.size(), 176444u);
    const std::string text(b.begin(), b.begin() + 44);
    EXPECT_EQ(text.substr(0, 4) + text.substr(8, 8) + text.substr(36, 4), "RIFFWAVEfmt data");
    // RIFF size, fmt size, PCM, channels, rate, byte rate, block align, bits, data size
    const uint32_t fields[][3] = {{4, 4, 176436}, {16, 4, 16},    {20, 2, 1},  {22, 2, 2},     {24, 4, 44100},
                                  {28, 4, 176400}, {32, 2, 4}, {34, 2, 16}, {40, 4, 176400}};
    for (const auto& f : fields) EXPECT_EQ(le(b, f[0], static_cast<int>(f[1])), f[2]) << "offset " << f[0];
    for (size_t i = 0; i < data.size(); ++i) ASSERT_EQ(static_cast<int16_t>(le(b, 44 + 2 * i, 2)), data[i]) << i;

    ASSERT_EQ(writeWavFile(CString::fromUtf8(path), 1, 0, nullptr), 0);  // replaces the file
    b = readAll(path);
    ASSERT_EQ(b.size(), 44u);
    EXPECT_EQ(std::vector<uint32_t>({le(b, 4, 4), le(b, 28, 4), le(b, 32, 2)}), std::vector<uint32_t>({36, 88200, 2}));
}

TEST(WavWriter, FailuresAreReportedAndNamed) {
    hvtest::ScratchDir dir("wavw");
    const int16_t s[2] = {1, 2};
    const std::vector<int16_t> big(100000);
    const std::string missing = dir.file("no/such/folder/x.wav"), huge = dir.file("huge.wav");
    testing::internal::CaptureStderr();
    EXPECT_EQ(writeWavFile(CString::fromUtf8(missing), 2, 4, s), 1);
    EXPECT_EQ(writeWavFile(CString::fromUtf8("/dev/full"), 2, big.size() * 2, big.data()), 1);
    EXPECT_EQ(writeWavFile(CString::fromUtf8("/dev/full"), 2, 0, nullptr), 1);  // fails at close
    // Sizes beyond the header's 32-bit fields are refused before any read.
    EXPECT_EQ(writeWavFile(CString::fromUtf8(huge), 2, size_t{UINT32_MAX}, s), 1);
    // No channels, or more than a 16-bit block size of 2-byte samples holds
    // (2 x 32768 = 65536), make a header no reader can play: nothing is written.
    const std::string none = dir.file("none.wav"), wide = dir.file("wide.wav");
    EXPECT_EQ(writeWavFile(CString::fromUtf8(none), 0, 4, s), 1);
    EXPECT_EQ(writeWavFile(CString::fromUtf8(wide), 32768, 4, s), 1);
    EXPECT_FALSE(std::ifstream(none).is_open() || std::ifstream(wide).is_open());
    const auto line = [](const std::string& path) { return "fail to write wav file:" + path + "\n"; };
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              line(missing) + line("/dev/full") + line("/dev/full") + line(huge) + line(none) + line(wide));
}
