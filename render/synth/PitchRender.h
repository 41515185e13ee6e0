#pragma once
// The pitch line of a sing segment, rendered from its notes into the first
// pitch working curve, and its merge with the user's pitch curve into the
// second. Values are hundredths of a key step (key k lies at k * 100 + 50).
#include <vector>

#include "model/current/Markers.h"
#include "model/current/Segments.h"

// Rebuilds each note's vibrato and bend curves and the first working curve:
// a start node, one node every 0.01 s along each note, sine-shaped
// transitions between neighbours (tail and head percentages times 0.3 s / 100,
// negative ones counting as 0, each at most half its note), a "0" note lying
// at the next note's level, and end nodes at the last note's last tick and at
// the segment's width + 1. A line of more than about 5.8 hours is cut short.
void renderPitchCurve(HVCurrentModel::SingSegment& seg, const std::vector<HVCurrentModel::Tempo*>& tempos);

// The second working curve becomes a copy of rendered, in which every run of
// user pitch nodes of value 0 or more replaces the nodes between the run's
// first and last positions.
void applyPitchCurve(HVCurrentModel::SingSegment& seg, const HVCurrentModel::NodeContainer& rendered);
