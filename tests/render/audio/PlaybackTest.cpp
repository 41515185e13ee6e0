// Real output streams through the paced file sink: what the sink received
// must be the offline mix of the same sources, sample for sample.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>

#include "AlsaEnv.h"
#include "TestSources.h"
#include "render/audio/AudioSingleton.h"
#include "render/audio/AudioStreamGroup.h"
#include "render/audio/MixBuffer.h"

namespace fs = std::filesystem;
using audiotest::VecSrc;

namespace {

const std::string kPrefix = "stream-" + std::to_string(getpid()) + "-";

// Records what the player reports from its audio thread.
struct RecordingListener : AudioStreamListener {
    void onPlayPosition(double s) override { add(positions, s); }
    void onPlayFinished(double s) override { add(finishes, s); }
    void add(std::vector<double>& to, double s) {
        std::lock_guard<std::mutex> g(m);
        to.push_back(s);
    }
    bool finished() {
        std::lock_guard<std::mutex> g(m);
        return !finishes.empty();
    }
    std::mutex m;
    std::vector<double> positions, finishes;
};

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

// True once the capture holds the given number of sounding copies of want,
// each after the priming silence of its start.
bool captureHolds(const std::vector<int16_t>& want, int copies) {
    const std::vector<int16_t> got = newestCapture();
    size_t start = 0;
    for (int copy = 0; copy < copies; ++copy) {
        while (start + 1 < got.size() && got[start] == 0 && got[start + 1] == 0) start += 2;
        if (start + want.size() > got.size()) return false;
        start += want.size();
    }
    return true;
}

// Gain, pan, a mono source, delays (one splitting a buffer), saturation and
// a source cut short in the middle of a buffer.
std::vector<std::unique_ptr<VecSrc>> makeSources() {
    const auto pattern = [](int n, int seed) {
        std::vector<int16_t> v(n);
        for (int i = 0; i < n; ++i) v[i] = static_cast<int16_t>((i + 1) * seed % 25000 - 5000 + (i == 0 ? 7000 : 0));
        return v;
    };
    std::vector<std::unique_ptr<VecSrc>> s;
    s.push_back(std::make_unique<VecSrc>(pattern(22050, 37), pattern(22050, 91)));
    s.push_back(std::make_unique<VecSrc>(std::vector<int16_t>(30000, 21000)));
    s.push_back(std::make_unique<VecSrc>(pattern(8000, 13), pattern(8000, 17)));
    s[0]->gain = 0.8f;
    s[0]->pan = 0.3f;
    s[1]->startDelay = 1000;
    s[1]->gain = 1.5f;
    s[1]->pan = -0.5f;
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

class Playback : public testing::Test {
protected:
    audiotest::AlsaConfig alsa_{HV_PACED_SINK_CONF};
    void TearDown() override {
        for (const auto& e : fs::directory_iterator(HV_CAPTURE_DIR))
            if (e.path().filename().string().rfind(kPrefix, 0) == 0) fs::remove(e.path());
    }
};

}  // namespace

TEST_F(Playback, StreamCarriesTheOfflineMixAgainAfterARestart) {
    RecordingListener rec;  // outlives the group's stream
    AudioStreamGroup group;
    ASSERT_TRUE(group.player().hasStream());
    group.player().setListener(&rec);
    const std::vector<int16_t> want = offlineMix();
    for (int round = 0; round < 2; ++round) {
        group.setTrackCount(3);
        auto sources = makeSources();
        for (int i = 0; i < 3; ++i) group.addSource(i, sources[i].release());
        group.restart();
        for (int i = 0; i < 3000 && !rec.finished(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_TRUE(rec.finished());
        // Let the sink take the last buffers (an abort drops what is queued),
        // however slowly a loaded machine runs it.
        for (int i = 0; i < 1000 && !captureHolds(want, round + 1); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        group.abort();
        std::lock_guard<std::mutex> g(rec.m);
        ASSERT_FALSE(rec.positions.empty());
        for (size_t i = 1; i < rec.positions.size(); ++i) EXPECT_GE(rec.positions[i], rec.positions[i - 1]);
        EXPECT_DOUBLE_EQ(rec.finishes.front(), want.size() / 2 / 44100.0);  // counted from the start
        for (size_t i = 1; i < rec.finishes.size(); ++i) EXPECT_GT(rec.finishes[i], rec.finishes[i - 1]);
        rec.positions.clear();
        rec.finishes.clear();
    }

    // Each start follows the library's priming silence: find it by the
    // first sounding frame.
    const std::vector<int16_t> got = newestCapture();
    size_t start = 0;
    for (int round = 0; round < 2; ++round) {
        while (start + 1 < got.size() && got[start] == 0 && got[start + 1] == 0) start += 2;
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
