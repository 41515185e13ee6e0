#pragma once
// The oldest project generation: untagged files holding one body with
// fixed-size UTF-16 texts and only amplitude and pitch curves. Read and
// upgraded, never written or edited.
#include <cstdint>
#include <vector>

#include "model/current/ElementContainer.h"
#include "model/current/Markers.h"
#include "model/current/NodeContainer.h"
#include "model/current/PosWidthBlock.h"
#include "model/file/MemoryBuffer.h"
#include "model/file/ReadStop.h"
#include "model/legacy/ObjWithVersion.h"
#include "platform/ReadBudget.h"

namespace HVModel_V0 {

using Tempo = HVCurrentModel::Tempo;
using Beat = HVCurrentModel::Beat;
using PosWidthBlock = HVCurrentModel::PosWidthBlock;
using BlockWithKey = HVCurrentModel::BlockWithKey;
using CurveNode = HVCurrentModel::CurveNode;
template <class T>
using ElementContainer = HVCurrentModel::ElementContainer<T>;

// A plain ordered node list, without a position index.
using Curve = std::vector<CurveNode>;

inline constexpr int kSymbolUnits = 8;
inline constexpr int kNameUnits = 260;

class Note : public BlockWithKey {
public:
    Note() = default;

    int32_t extraInt1 = 0;
    int32_t extraInt2 = 0;
    float extraReal1 = 0.3f;
    float extraReal2 = 0.2f;
    char16_t phoneticSymbol[kSymbolUnits] = {u'a'};
    char16_t lyric[kSymbolUnits] = {u'a'};
};

using NoteContainer = ElementContainer<Note>;

class Segment : public PosWidthBlock {
public:
    // Amplitude (-1, 128) (width + 1, 128) and pitch (-1, -1) (width + 1, -1).
    Segment(int32_t pos, int32_t width);

    char16_t name[kNameUnits] = {};
    char16_t singer[kNameUnits] = {};
    NoteContainer notes;
    Curve amplitude;
    Curve pitch;
};

using SegmentContainer = ElementContainer<Segment>;

class HalvorenModel : public ObjWithVersion {
public:
    static constexpr int32_t kVersion = 0;

    HalvorenModel() : ObjWithVersion(kVersion) {}
    HalvorenModel(const HalvorenModel&) = delete;
    HalvorenModel& operator=(const HalvorenModel&) = delete;
    ~HalvorenModel() override;

    // The end of the chain: there is nothing older to upgrade from.
    bool upgrade(const ObjWithVersion&) override { return false; }

    // Fills the model from a body; whatever the body lacks keeps its default.
    // Returns where the body stopped reading as written (none when whole).
    ReadStop readBody(HalvorenWin::CMemoryBuffer& body, const ReadLimits& limits = ReadLimits());

    std::vector<Tempo*> tempos;  // owned, in file order
    std::vector<Beat*> beats;    // owned, in file order
    SegmentContainer segments;   // in file order
};

}  // namespace HVModel_V0
