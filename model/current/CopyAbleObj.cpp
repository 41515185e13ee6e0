#include "model/current/CopyAbleObj.h"

namespace HVCurrentModel {

namespace {

// Sorted insertion into a list of owned markers, after equal positions.
template <class M>
void insertOwnedSorted(std::vector<std::unique_ptr<M>>& list, std::unique_ptr<M> marker)
{
    auto where = std::find_if(list.begin(), list.end(),
                              [&](const std::unique_ptr<M>& m) { return m->pos > marker->pos; });
    list.insert(where, std::move(marker));
}

template <class Obj>
const Obj* slotAs(const ClipboardSlot& slot, int32_t kind)
{
    return slot && slot->kind == kind ? static_cast<const Obj*>(slot.get()) : nullptr;
}

}  // namespace

void createCopiedTempo(ClipboardSlot& slot, const std::vector<Tempo*>& selected)
{
    auto obj = std::make_unique<CopiedTempo>();
    for (const Tempo* t : selected) insertOwnedSorted(obj->tempos, std::make_unique<Tempo>(*t));
    slot = std::move(obj);
}

void createCopiedBeat(ClipboardSlot& slot, const std::vector<Beat*>& selected)
{
    auto obj = std::make_unique<CopiedBeat>();
    for (const Beat* b : selected) insertOwnedSorted(obj->beats, std::make_unique<Beat>(*b));
    slot = std::move(obj);
}

void createCopiedSegment(ClipboardSlot& slot, const std::vector<BaseSegment*>& selected)
{
    auto obj = std::make_unique<CopiedSegment>();
    for (BaseSegment* seg : selected)
        if (auto* sing = dynamic_cast<SingSegment*>(seg)) insertSegmentSorted(obj->segs, new SingSegment(*sing));
    slot = std::move(obj);
}

void createCopiedNote(ClipboardSlot& slot, const std::vector<Note*>& selected)
{
    auto obj = std::make_unique<CopiedNote>();
    for (const Note* n : selected) obj->notes.insertSorted(new Note(*n));
    slot = std::move(obj);
}

bool createCopiedSingTrack(ClipboardSlot& slot, const Track& track)
{
    if (track.kind != kSingingTrack || !track.singSegs) return false;
    slot = std::make_unique<CopiedSingTrack>(track);
    return true;
}

std::vector<std::unique_ptr<Tempo>> pasteCopiedTempos(const ClipboardSlot& slot, int32_t pos)
{
    std::vector<std::unique_ptr<Tempo>> out;
    const auto* obj = slotAs<CopiedTempo>(slot, kCopiedTempo);
    if (!obj || obj->tempos.empty()) return out;
    const int32_t shift = pos - obj->tempos.front()->pos;
    for (const auto& t : obj->tempos) {
        auto copy = std::make_unique<Tempo>(*t);
        copy->pos += shift;
        copy->selected = false;
        out.push_back(std::move(copy));
    }
    return out;
}

std::vector<std::unique_ptr<Beat>> pasteCopiedBeats(const ClipboardSlot& slot, int32_t pos)
{
    std::vector<std::unique_ptr<Beat>> out;
    const auto* obj = slotAs<CopiedBeat>(slot, kCopiedBeat);
    if (!obj || obj->beats.empty()) return out;
    const int32_t shift = pos - obj->beats.front()->pos;
    for (const auto& b : obj->beats) {
        auto copy = std::make_unique<Beat>(*b);
        copy->pos += shift;
        copy->selected = false;
        out.push_back(std::move(copy));
    }
    return out;
}

std::vector<std::unique_ptr<SingSegment>> pasteCopiedSegments(const ClipboardSlot& slot, int32_t pos)
{
    std::vector<std::unique_ptr<SingSegment>> out;
    const auto* obj = slotAs<CopiedSegment>(slot, kCopiedSegment);
    if (!obj || obj->segs.empty()) return out;
    const int32_t shift = pos - obj->segs.front()->pos;
    for (size_t i = 0; i < obj->segs.size(); ++i) {
        auto copy = std::make_unique<SingSegment>(*obj->segs.segAt(i));
        copy->pos += shift;
        copy->overlapped = false;
        out.push_back(std::move(copy));
    }
    return out;
}

std::vector<std::unique_ptr<Note>> pasteCopiedNotes(const ClipboardSlot& slot, int32_t pos)
{
    std::vector<std::unique_ptr<Note>> out;
    const auto* obj = slotAs<CopiedNote>(slot, kCopiedNote);
    if (!obj || obj->notes.empty()) return out;
    const int32_t shift = pos - obj->notes.front()->pos;
    for (const Note* n : obj->notes) {
        auto copy = std::make_unique<Note>(*n);
        copy->pos += shift;
        copy->overlapped = false;
        out.push_back(std::move(copy));
    }
    return out;
}

std::unique_ptr<Track> pasteCopiedSingTrack(const ClipboardSlot& slot)
{
    const auto* obj = slotAs<CopiedSingTrack>(slot, kCopiedSingTrack);
    return obj ? std::make_unique<Track>(obj->track) : nullptr;
}

}  // namespace HVCurrentModel
