#pragma once
// Records of tracks in the model's track vector, at a fixed index.
#include <vector>

#include "model/current/Track.h"
#include "model/history/CommonActs.h"

using HVCurrentModel::Track;
using TrackVector = std::vector<Track*>;

// Takes the track out of the vector: at index when it is there, else wherever
// it stands, so that a stale index can never drop another track.
void eraseTrackAt(TrackVector& tracks, Track* track, int32_t index);
// Puts the track at index (clamped to the vector's size).
void insertTrackAt(TrackVector& tracks, Track* track, int32_t index);

class CInsertTrackAct : public CommonInsertAct<Track, TrackVector> {
public:
    using CommonInsertAct::CommonInsertAct;
    void undo() override { eraseTrackAt(*container, element, index); }
    void redo() override { insertTrackAt(*container, element, index); }
};

class CDeleteTrackAct : public CommonDeleteAct<Track, TrackVector> {
public:
    using CommonDeleteAct::CommonDeleteAct;
    void undo() override { insertTrackAt(*container, element, index); }
    void redo() override { eraseTrackAt(*container, element, index); }
};
