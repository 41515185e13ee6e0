#pragma once
// How the frames of a sixth-generation cell divide into head, body and
// tail. The frame making and the timing shown to the editor both use it, so
// what is shown is what is sung.
#include <cstdint>

namespace HalvorenEngineV6 {

struct PartSpans {
    std::int32_t length = 0;   // L: the cell's frames after its consonant
    std::int32_t srcLen = 0;   // frames of the tail source
    std::int32_t body = 0;     // m: the unit model's body span
    std::int32_t head = 0;     // h: the syllable model's head span
    bool elemFlag = false;     // the note's element times weigh the parts
    float elemTimes[3] = {0.0f, 0.0f, 0.0f};
};

struct PartLayout {
    std::int32_t head = 0;
    std::int32_t body = 0;
    std::int32_t tail = 0;
};

// The parts in frames, head + body + tail = L:
// - element times a, b, c weigh head, body and tail (the head gets no share
//   when h <= 0);
// - otherwise (no flag, or element times that weigh nothing), when
//   L > srcLen + m + h, the head and the tail keep their spans and the body
//   takes the rest;
// - otherwise the tail takes srcLen frames but at most half the cell, and
//   head and body share the rest, the head at most h.
// Negative spans count as 0; element times that do not weigh anything
// (no positive finite sum) count as absent.
PartLayout layoutParts(const PartSpans& spans);

}  // namespace HalvorenEngineV6
