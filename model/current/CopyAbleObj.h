#pragma once
// Clipboard objects of the editing windows: deep copies of tempo markers,
// beat markers, sing segments, notes or one singing track. The caller keeps
// one slot; each copy replaces its object, and each paste builds fresh
// copies moved so that the earliest element lands at the paste position.
#include <cstdint>
#include <memory>
#include <vector>

#include "model/current/Markers.h"
#include "model/current/Note.h"
#include "model/current/Segments.h"
#include "model/current/Track.h"

namespace HVCurrentModel {

enum CopiedKind : int32_t {
    kCopiedTempo = 0,
    kCopiedBeat = 1,
    kCopiedSegment = 2,
    kCopiedNote = 3,
    kCopiedSingTrack = 4
};

class CopyAbleObj {
public:
    explicit CopyAbleObj(int32_t kind) : kind(kind) {}
    CopyAbleObj(const CopyAbleObj&) = delete;
    CopyAbleObj& operator=(const CopyAbleObj&) = delete;
    virtual ~CopyAbleObj() = default;

    const int32_t kind;
};

class CopiedTempo : public CopyAbleObj {
public:
    CopiedTempo() : CopyAbleObj(kCopiedTempo) {}
    std::vector<std::unique_ptr<Tempo>> tempos;  // sorted by position
};

class CopiedBeat : public CopyAbleObj {
public:
    CopiedBeat() : CopyAbleObj(kCopiedBeat) {}
    std::vector<std::unique_ptr<Beat>> beats;  // sorted by position
};

class CopiedSegment : public CopyAbleObj {
public:
    CopiedSegment() : CopyAbleObj(kCopiedSegment) {}
    SingSegmentContainer segs;
};

class CopiedNote : public CopyAbleObj {
public:
    CopiedNote() : CopyAbleObj(kCopiedNote) {}
    NoteContainer notes;
};

class CopiedSingTrack : public CopyAbleObj {
public:
    explicit CopiedSingTrack(const Track& track) : CopyAbleObj(kCopiedSingTrack), track(track) {}
    Track track;
};

using ClipboardSlot = std::unique_ptr<CopyAbleObj>;

void createCopiedTempo(ClipboardSlot& slot, const std::vector<Tempo*>& selected);
void createCopiedBeat(ClipboardSlot& slot, const std::vector<Beat*>& selected);
// Only sing segments are copied; other segments of the list are skipped.
void createCopiedSegment(ClipboardSlot& slot, const std::vector<BaseSegment*>& selected);
void createCopiedNote(ClipboardSlot& slot, const std::vector<Note*>& selected);
// False, leaving the slot as it was, when the track is not a singing track.
bool createCopiedSingTrack(ClipboardSlot& slot, const Track& track);

// The pasted elements belong to the caller; an empty list when the slot is
// empty, holds another kind or holds nothing.
std::vector<std::unique_ptr<Tempo>> pasteCopiedTempos(const ClipboardSlot& slot, int32_t pos);
std::vector<std::unique_ptr<Beat>> pasteCopiedBeats(const ClipboardSlot& slot, int32_t pos);
std::vector<std::unique_ptr<SingSegment>> pasteCopiedSegments(const ClipboardSlot& slot, int32_t pos);
std::vector<std::unique_ptr<Note>> pasteCopiedNotes(const ClipboardSlot& slot, int32_t pos);
std::unique_ptr<Track> pasteCopiedSingTrack(const ClipboardSlot& slot);

}  // namespace HVCurrentModel
