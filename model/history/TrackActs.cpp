#include "model/history/TrackActs.h"

#include <algorithm>

void eraseTrackAt(TrackVector& tracks, Track* track, int32_t index) {
    if (index >= 0 && index < static_cast<int32_t>(tracks.size()) && tracks[index] == track) {
        tracks.erase(tracks.begin() + index);
        return;
    }
    auto it = std::find(tracks.begin(), tracks.end(), track);
    if (it != tracks.end()) tracks.erase(it);
}

void insertTrackAt(TrackVector& tracks, Track* track, int32_t index) {
    const int32_t size = static_cast<int32_t>(tracks.size());
    tracks.insert(tracks.begin() + std::clamp(index, 0, size), track);
}
