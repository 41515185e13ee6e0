#pragma once
// The checks before a project is sung (playback and export): overlapping
// notes, overlapping segments and singers that are not installed. Each
// non-empty list is shown in a message box, one line per place, each place
// once, naming its track.
#include <string>
#include <vector>

#include "model/current/Segments.h"

class CSSSynthesizerDoc;

// True when the project can be sung.
bool checkBeforeSinging(const CSSSynthesizerDoc& doc);

// Whether any segment holds overlapping notes.
bool hasOverlappingNotes(const CSSSynthesizerDoc& doc);

// "measure M, beat B" of a tick.
std::string placeOf(const CSSSynthesizerDoc& doc, int tick);

// "track N \"name\"" of a track index (0-based).
std::string trackLabel(const CSSSynthesizerDoc& doc, size_t index);

// "segment \"name\" of track N \"name\" at measure M, beat B" of a segment
// of that track.
std::string segmentPlace(const CSSSynthesizerDoc& doc, size_t trackIndex, const HVCurrentModel::SingSegment& seg);

// "track N \"name\", measure M, beat B: \"lyric\"" of a note of a segment
// of that track (its phonetic symbol when its lyric is empty).
std::string notePlace(const CSSSynthesizerDoc& doc, size_t trackIndex, const HVCurrentModel::SingSegment& seg,
                      const HVCurrentModel::Note& note);

// Shows the heading and the lines in one warning box; nothing without lines.
void showPlaceList(const std::string& heading, const std::vector<std::string>& lines);
