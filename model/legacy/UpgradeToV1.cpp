// Generation 0 to generation 1: the segments move to the singing track, texts
// become UTF-8 and pitch values move to the finer scale of generation 1.
#include <climits>
#include <string>
#include <string_view>

#include "model/legacy/ModelV1.h"
#include "platform/CString.h"
#include "platform/TextConvert.h"

namespace HVModel_V1 {

namespace {

// The text of a fixed UTF-16 field up to its first zero unit (where the
// conversion stops), never past the field's end.
template <size_t N>
std::string fieldToUtf8(const char16_t (&field)[N])
{
    std::string out;
    cstrToUtf8(CString(std::u16string_view(field, N)), out);
    return out;
}

// A stored pitch v >= 0 times 50/7 as rounded to single precision,
// truncated toward zero, the product in extended precision; -1 and other
// negative values (no pitch) stay.
int32_t convertPitch(int32_t v)
{
    if (v < 0) return v;
    const long double product = static_cast<long double>(v) * static_cast<long double>(50.0f / 7.0f);
    if (product >= static_cast<long double>(INT32_MAX)) return INT32_MAX;
    return static_cast<int32_t>(product);
}

Note* convertNote(const HVModel_V0::Note& old)
{
    auto* note = new Note;
    note->pos = old.pos;
    note->width = old.width;
    note->key = old.key;
    note->overlapped = old.overlapped;
    note->extraInt1 = old.extraInt1;
    note->extraInt2 = old.extraInt2;
    note->extraReal1 = old.extraReal1;
    note->extraReal2 = old.extraReal2;
    note->phoneticSymbol = fieldToUtf8(old.phoneticSymbol);
    note->lyric = fieldToUtf8(old.lyric);
    return note;
}

SingSegment* convertSegment(const HVModel_V0::Segment& old)
{
    auto* seg = new SingSegment(old.pos, old.width);
    seg->overlapped = old.overlapped;
    seg->name = fieldToUtf8(old.name);
    seg->singer = fieldToUtf8(old.singer);
    for (const HVModel_V0::Note* n : old.notes) seg->notes.push_back(convertNote(*n));
    seg->notes.sortAndMarkOverlaps();
    seg->amplitude.nodes.clear();
    for (const CurveNode& node : old.amplitude) seg->amplitude.nodes.pushBack(node);
    seg->pitch.nodes.clear();
    for (const CurveNode& node : old.pitch) seg->pitch.nodes.pushBack({node.pos, convertPitch(node.value)});
    seg->pitchWork2.nodes.assign(seg->pitch.nodes);
    return seg;
}

// The container of the first singing track; a model without one gets one in
// front.
SingSegmentContainer& singingContainer(std::vector<Track*>& tracks)
{
    for (Track* t : tracks)
        if (t->singSegs) return *t->singSegs;
    tracks.insert(tracks.begin(), new Track(0));
    return *tracks.front()->singSegs;
}

}  // namespace

bool HalvorenModel::upgradeFrom(const HVModel_V0::HalvorenModel& previous)
{
    for (const Tempo* t : previous.tempos) tempos.push_back(new Tempo{t->pos, t->tempo});
    for (const Beat* b : previous.beats) beats.push_back(new Beat{b->pos, b->numerator, b->denominator});
    SingSegmentContainer& singing = singingContainer(tracks);
    for (const HVModel_V0::Segment* seg : previous.segments) singing.push_back(convertSegment(*seg));
    singing.sortAndMarkOverlaps();
    return true;
}

}  // namespace HVModel_V1
