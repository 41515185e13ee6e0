#pragma once
// Records what a player reports from its audio thread.
#include <condition_variable>
#include <mutex>
#include <vector>

#include "render/audio/AudioStreamListener.h"

namespace audiotest {

struct RecordingListener : AudioStreamListener {
    void onPlayPosition(double s) override {
        std::lock_guard<std::mutex> g(m);
        positions.push_back(s);
    }
    void onPlayFinished(double s) override {
        std::lock_guard<std::mutex> g(m);
        finishes.push_back(s);
        cv.notify_all();
    }
    bool waitFinished(int ms) {
        std::unique_lock<std::mutex> g(m);
        return cv.wait_for(g, std::chrono::milliseconds(ms), [this] { return !finishes.empty(); });
    }

    std::mutex m;
    std::condition_variable cv;
    std::vector<double> positions, finishes;
};

}  // namespace audiotest
