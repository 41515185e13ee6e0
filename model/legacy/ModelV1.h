#pragma once
// Project generation 1: tagged files of version 1 with UTF-8 texts, tracks
// and amplitude and pitch curves. Read and upgraded, never written or edited.
#include <cstdint>
#include <string>
#include <vector>

#include "model/current/ElementContainer.h"
#include "model/current/Markers.h"
#include "model/current/ParamCurve.h"
#include "model/current/PosWidthBlock.h"
#include "model/file/MemoryBuffer.h"
#include "model/legacy/ModelV0.h"
#include "model/legacy/ObjWithVersion.h"

namespace HVModel_V1 {

using Tempo = HVCurrentModel::Tempo;
using Beat = HVCurrentModel::Beat;
using PosWidthBlock = HVCurrentModel::PosWidthBlock;
using BlockWithKey = HVCurrentModel::BlockWithKey;
using CurveNode = HVCurrentModel::CurveNode;
using NodeContainer = HVCurrentModel::NodeContainer;
using ParamCurve = HVCurrentModel::ParamCurve;
template <class T>
using ElementContainer = HVCurrentModel::ElementContainer<T>;

class Note : public BlockWithKey {
public:
    Note() = default;

    int32_t extraInt1 = 0;
    int32_t extraInt2 = 0;
    float extraReal1 = 0.3f;
    float extraReal2 = 0.2f;
    std::string phoneticSymbol = "la";
    std::string lyric = "la";
};

using NoteContainer = ElementContainer<Note>;

class BaseSegment : public PosWidthBlock {
public:
    using PosWidthBlock::PosWidthBlock;
    std::string name;
};

class SingSegment : public BaseSegment {
public:
    // Amplitude (-1, 128) (width + 1, 128), pitch (-1, -1) (width + 1, -1),
    // both pitch working curves empty.
    SingSegment(int32_t pos, int32_t width);

    std::string singer;
    NoteContainer notes;
    ParamCurve amplitude;
    ParamCurve pitch;
    ParamCurve pitchWork1;
    ParamCurve pitchWork2;
};

class BaseSegmentContainer : public ElementContainer<BaseSegment> {};
class SingSegmentContainer : public BaseSegmentContainer {};
class InstrumentSegmentContainer : public BaseSegmentContainer {};

class Track {
public:
    // Kind 0 gets an empty sing segment container, kind 1 an empty
    // instrumental one.
    explicit Track(int32_t kind);
    Track(const Track&) = delete;
    Track& operator=(const Track&) = delete;
    ~Track();

    int32_t kind;
    SingSegmentContainer* singSegs = nullptr;        // owned; kind 0 only
    InstrumentSegmentContainer* instSegs = nullptr;  // owned; kind 1 only
    bool muted = false;
    bool solo = false;
    int32_t volume = 30;
    float balance = 0.0f;
};

class HalvorenModel : public UpgradableObj<HVModel_V0::HalvorenModel>, public ObjWithVersion {
public:
    static constexpr int32_t kVersion = 1;

    // No markers; a singing track, then an instrumental track.
    HalvorenModel();
    HalvorenModel(const HalvorenModel&) = delete;
    HalvorenModel& operator=(const HalvorenModel&) = delete;
    ~HalvorenModel() override;

    bool upgrade(const ObjWithVersion& older) override;
    bool upgradeFrom(const HVModel_V0::HalvorenModel& previous) override;

    // Replaces the tracks by those of a body; whatever the body lacks keeps
    // its default.
    // Returns where the body stopped reading as written (none when whole).
    ReadStop readBody(HalvorenWin::CMemoryBuffer& body, const ReadLimits& limits = ReadLimits());

    void clearTracks();

    std::vector<Tempo*> tempos;  // owned, in file order
    std::vector<Beat*> beats;    // owned, in file order
    std::vector<Track*> tracks;  // owned
};

}  // namespace HVModel_V1
