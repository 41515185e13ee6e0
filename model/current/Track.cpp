#include "model/current/Track.h"

#include "shell/services/LanguageMgr.h"

namespace HVCurrentModel {

Track::Track(int32_t kind) : kind(kind)
{
    if (kind == kSingingTrack) {
        singSegs = new SingSegmentContainer;
        name = (translate("track") + u"-" + translate("singing")).toUtf8();
    } else if (kind == kInstrumentTrack) {
        instSegs = new InstrumentSegmentContainer;
        name = (translate("track") + u"-" + translate("instrumental")).toUtf8();
    }
}

Track::Track(const Track& other)
    : kind(other.kind),
      name(other.name),
      muted(other.muted),
      solo(other.solo),
      volume(other.volume),
      balance(other.balance)
{
    if (other.singSegs) {
        singSegs = new SingSegmentContainer;
        for (BaseSegment* seg : *other.singSegs)
            insertSegmentSorted(*singSegs, new SingSegment(*static_cast<const SingSegment*>(seg)));
    }
    if (other.instSegs) {
        instSegs = new InstrumentSegmentContainer;
        for (BaseSegment* seg : *other.instSegs)
            insertSegmentSorted(*instSegs, new InstrumentSegment(*static_cast<const InstrumentSegment*>(seg)));
    }
}

Track::~Track()
{
    delete singSegs;
    delete instSegs;
}

BaseSegmentContainer* Track::getSegments() const
{
    if (kind == kSingingTrack) return singSegs;
    if (kind == kInstrumentTrack) return instSegs;
    return nullptr;
}

}  // namespace HVCurrentModel
