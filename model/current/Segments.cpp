#include "model/current/Segments.h"

namespace HVCurrentModel {

SingSegment::SingSegment(int32_t pos, int32_t width) : BaseSegment(pos, width)
{
    const int32_t end = curveEndPos(width);
    for (CurveSlot slot : {kAmplitudeCurve, kPowerCurve, kBreathCurve, kGenderCurve, kBrightnessCurve})
        curves[slot] = ParamCurve{{-1, 128}, {end, 128}};
    curves[kPitchCurve] = ParamCurve{{-1, -1}, {end, -1}};
    curves[kCrossCurve] = ParamCurve{{-1, 0}, {end, 0}};
}

SingSegment::SingSegment(const SingSegment& other)
    : BaseSegment(other), singer(other.singer), curves(other.curves)
{
    selected = false;  // a copy starts unselected, like a copied note
    notes.copyFrom(other.notes);
}

ParamCurve* SingSegment::curveOfKind(int kind)
{
    switch (kind) {
    case kKindAmplitude: return &curves[kAmplitudeCurve];
    case kKindPitch: return &curves[kPitchCurve];
    case kKindBrightness: return &curves[kBrightnessCurve];
    case kKindPower: return &curves[kPowerCurve];
    case kKindBreath: return &curves[kBreathCurve];
    case kKindGender: return &curves[kGenderCurve];
    case kKindCross: return &curves[kCrossCurve];
    default: return nullptr;
    }
}

void SingSegment::shiftCurves(int32_t delta)
{
    for (CurveSlot slot : kSavedCurveSlots) curves[slot].nodes.shiftPositions(delta);
}

void SingSegment::extendCurveEnds()
{
    for (CurveSlot slot : kSavedCurveSlots) {
        NodeContainer& nodes = curves[slot].nodes;
        if (!nodes.hasTwoNodes()) continue;
        if (nodes.front().pos > -1) nodes.front().pos = -1;
        const int32_t end = curveEndPos(width);
        if (nodes.back().pos < end) nodes.back().pos = end;
    }
}

void BaseSegmentContainer::applyPosWidth(const std::vector<SegmentPosWidth>& edits)
{
    std::vector<BaseSegment*> moved;
    moved.reserve(edits.size());
    for (const SegmentPosWidth& e : edits) {
        setPosWidth(e.segment, e.pos, e.width);
        moved.push_back(e.segment);
    }
    reinsertAll(moved);
}

void SingSegmentContainer::setPosWidth(BaseSegment* base, int32_t pos, int32_t width)
{
    auto* seg = static_cast<SingSegment*>(base);
    if (width != seg->width) {
        const int32_t back = clampTick(int64_t{seg->pos} - pos);  // minus the move
        if (back != 0) {
            shiftNotes(seg->notes, back);
            seg->shiftCurves(back);
        }
        seg->width = width;
        seg->extendCurveEnds();
    }
    seg->pos = pos;
}

void InstrumentSegmentContainer::setPosWidth(BaseSegment* seg, int32_t pos, int32_t width)
{
    seg->pos = pos;
    seg->width = width;
}

void insertSegmentSorted(BaseSegmentContainer& segs, BaseSegment* seg)
{
    segs.insertSorted(seg);
}

void removeSegment(BaseSegmentContainer& segs, BaseSegment* seg)
{
    segs.remove(seg);
}

}  // namespace HVCurrentModel
