// Real output streams through the paced file sink: what the sink received
// must be the offline mix of the same sources, sample for sample.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "AlsaEnv.h"
#include "RecordingListener.h"
#include "TestSources.h"
#include "render/audio/AudioSingleton.h"
#include "render/audio/AudioStreamGroup.h"
#include "render/audio/MixBuffer.h"

namespace fs = std::filesystem;
using audiotest::VecSrc;

namespace {

const std::string kPrefix = "stream-" + std::to_string(getpid()) + "-";

// The capture of the stream this process opened last (host byte order).
std::vector<int16_t> newestCapture() {
    int n = 0;
    while (fs::exists(fs::path(HV_CAPTURE_DIR) / (kPrefix + std::to_string(n + 1) + ".raw"))) ++n;
    std::ifstream f(fs::path(HV_CAPTURE_DIR) / (kPrefix + std::to_string(n) + ".raw"), std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

std::vector<int16_t> pattern(int n, int seed) {
    std::vector<int16_t> v(n);
    for (int i = 0; i < n; ++i) v[i] = static_cast<int16_t>((i + 1) * seed % 25000 - 5000 + (i == 0 ? 7000 : 0));
    return v;
}

// Gain, pan, a mono source, delays (one splitting a buffer), saturation and
// a source cut short in the middle of a buffer.
std::vector<std::unique_ptr<VecSrc>> makeSources() {
    std::vector<std::unique_ptr<VecSrc>> s;
    s.push_back(std::make_unique<VecSrc>(pattern(22050, 37), pattern(22050, 91)));
    s[0]->gain = 0.8f;
    s[0]->pan = 0.3f;
    s.push_back(std::make_unique<VecSrc>(std::vector<int16_t>(30000, 21000)));
    s[1]->startDelay = 1000;
    s[1]->gain = 1.5f;
    s[1]->pan = -0.5f;
    s.push_back(std::make_unique<VecSrc>(pattern(8000, 13), pattern(8000, 17)));
    s[2]->startDelay = 300;
    s[2]->length = 5000;
    return s;
}

// The mix, buffer by buffer, up to and including the buffer that ends it.
std::vector<int16_t> offlineMix() {
    auto sources = makeSources();
    std::vector<AudioSrc*> ptrs;
    for (auto& s : sources) ptrs.push_back(s.get());
    std::vector<int16_t> all, buf(512);
    std::vector<int32_t> acc;
    for (bool ended = false; !ended;) {
        ended = mixBuffer(buf.data(), 256, ptrs, acc);
        all.insert(all.end(), buf.begin(), buf.end());
    }
    return all;
}

size_t firstSoundingSample(const std::vector<int16_t>& s, size_t from) {
    for (size_t i = from; i + 1 < s.size(); i += 2)
        if (s[i] != 0 || s[i + 1] != 0) return i;
    return s.size();
}

class Playback : public testing::Test {
protected:
    void SetUp() override { audiotest::useAlsaConfig(HV_PACED_SINK_CONF); }
    void TearDown() override {
        for (const auto& e : fs::directory_iterator(HV_CAPTURE_DIR))
            if (e.path().filename().string().rfind(kPrefix, 0) == 0) fs::remove(e.path());
    }

    // Fresh sources, played to their end; what the listener heard.
    static void playToEnd(AudioStreamGroup& group, audiotest::RecordingListener& rec) {
        group.setTrackCount(3);
        auto sources = makeSources();
        for (int i = 0; i < 3; ++i) group.addSource(i, sources[i].release());
        group.restart();
        ASSERT_TRUE(rec.waitFinished(5000));
        // Let the sink take the last buffers: a stop drops what is queued.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        group.abort();
    }
};

}  // namespace

TEST_F(Playback, StreamCarriesTheOfflineMixAgainAfterARestart) {
    AudioStreamGroup group;
    ASSERT_TRUE(group.player().hasStream());
    const std::vector<int16_t> want = offlineMix();
    for (int round = 0; round < 2; ++round) {
        audiotest::RecordingListener rec;
        group.player().setListener(&rec);
        playToEnd(group, rec);
        std::lock_guard<std::mutex> g(rec.m);
        ASSERT_FALSE(rec.positions.empty());
        for (size_t i = 1; i < rec.positions.size(); ++i) EXPECT_GE(rec.positions[i], rec.positions[i - 1]);
        EXPECT_DOUBLE_EQ(rec.finishes.front(), want.size() / 2 / 44100.0);  // counted from the start
        for (size_t i = 1; i < rec.finishes.size(); ++i) EXPECT_GT(rec.finishes[i], rec.finishes[i - 1]);
    }
    group.player().setListener(nullptr);

    // Each start is preceded by the library's priming silence.
    const std::vector<int16_t> got = newestCapture();
    size_t start = 0;
    for (int round = 0; round < 2; ++round) {
        start = firstSoundingSample(got, start);
        ASSERT_LE(start + want.size(), got.size());
        for (size_t i = 0; i < want.size(); ++i) ASSERT_EQ(got[start + i], want[i]) << round << ": " << i;
        start += want.size();
    }
}

TEST_F(Playback, PlayersOutlivingTheLibraryLeaveTheirDeadStreamAlone) {
    AudioStreamGroup group;
    ASSERT_TRUE(group.player().hasStream());
    destroyAudioSingleton();  // as at exit, when a player is destroyed late
    EXPECT_FALSE(group.player().hasStream());
    group.restart();
    group.abort();
    AudioStreamGroup next;  // a new session opens new streams
    EXPECT_TRUE(next.player().hasStream());
}
