#pragma once
// Where an instrumental clip sounds in a scrubbing block that starts at the
// play marker: a clip after the marker waits, a clip under the marker is
// entered at the marker's offset, and the block cuts what remains.

struct ClipPlacement {
    int startDelay = 0;  // frames of silence before the clip starts
    int readPos = 0;     // first frame of the clip that plays
    int length = 0;      // the frame at which the clip stops in this block
};

// playSec, segSec: marker and clip start in seconds; frames: the clip's
// length. Offsets are truncated toward zero and kept within 0..INT_MAX.
ClipPlacement placeClip(float playSec, float segSec, int sampleRate, int frames, int blockFrames);
