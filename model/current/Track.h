#pragma once
// A track: singing (kind 0) or instrumental (kind 1), with its segments and
// mixer settings.
#include <cstdint>
#include <memory>
#include <string>

#include "model/current/Segments.h"

namespace HVCurrentModel {

enum TrackKind : int32_t { kSingingTrack = 0, kInstrumentTrack = 1 };

class Track {
public:
    // Kind 0 gets an empty sing segment container, kind 1 an empty
    // instrumental one, both named "<track>-<singing|instrumental>" in the UI
    // language; any other kind gets no container and an empty name.
    explicit Track(int32_t kind);
    // Copies kind, name, the mixer fields and every segment; view flags start cleared.
    Track(const Track& other);
    Track& operator=(const Track&) = delete;
    ~Track();

    // The segment container of the track's kind, or null.
    BaseSegmentContainer* getSegments() const;

    int32_t kind = kSingingTrack;
    SingSegmentContainer* singSegs = nullptr;        // owned; kind 0 only
    InstrumentSegmentContainer* instSegs = nullptr;  // owned; kind 1 only
    std::string name;
    bool muted = false;  // plays with gain 0
    bool solo = false;
    int32_t volume = 30;  // gain volume / 100.0
    float balance = 0.0f;
    bool selected = false;  // view flags, not saved
    bool current = false;
};

}  // namespace HVCurrentModel
