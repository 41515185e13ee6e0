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

// Fresh copies of the held elements, moved so that the first one lands at
// pos, each with the flag a pasted element must not carry cleared. The shift
// is taken in 64 bits and each position clamped, so that pasting near the
// ends of the tick range cannot wrap.
template <class T, class Held, class ClearFlag>
std::vector<std::unique_ptr<T>> copiesMovedTo(const Held& held, int32_t pos, ClearFlag clearFlag)
{
    std::vector<std::unique_ptr<T>> out;
    if (held.empty()) return out;
    const int64_t shift = int64_t{pos} - held.front()->pos;
    for (const auto& element : held) {
        auto copy = std::make_unique<T>(static_cast<const T&>(*element));
        copy->pos = clampTick(copy->pos + shift);
        clearFlag(*copy);
        out.push_back(std::move(copy));
    }
    return out;
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
    std::vector<BaseSegment*> copies;
    for (BaseSegment* seg : selected)
        if (auto* sing = dynamic_cast<SingSegment*>(seg)) copies.push_back(new SingSegment(*sing));
    obj->segs.insertAll(copies);
    slot = std::move(obj);
}

void createCopiedNote(ClipboardSlot& slot, const std::vector<Note*>& selected)
{
    auto obj = std::make_unique<CopiedNote>();
    std::vector<Note*> copies;
    copies.reserve(selected.size());
    for (const Note* n : selected) copies.push_back(new Note(*n));
    obj->notes.insertAll(copies);
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
    const auto* obj = slotAs<CopiedTempo>(slot, kCopiedTempo);
    if (!obj) return {};
    return copiesMovedTo<Tempo>(obj->tempos, pos, [](Tempo& t) { t.selected = false; });
}

std::vector<std::unique_ptr<Beat>> pasteCopiedBeats(const ClipboardSlot& slot, int32_t pos)
{
    const auto* obj = slotAs<CopiedBeat>(slot, kCopiedBeat);
    if (!obj) return {};
    return copiesMovedTo<Beat>(obj->beats, pos, [](Beat& b) { b.selected = false; });
}

std::vector<std::unique_ptr<SingSegment>> pasteCopiedSegments(const ClipboardSlot& slot, int32_t pos)
{
    const auto* obj = slotAs<CopiedSegment>(slot, kCopiedSegment);
    if (!obj) return {};
    return copiesMovedTo<SingSegment>(obj->segs, pos, [](SingSegment& s) { s.overlapped = false; });
}

std::vector<std::unique_ptr<Note>> pasteCopiedNotes(const ClipboardSlot& slot, int32_t pos)
{
    const auto* obj = slotAs<CopiedNote>(slot, kCopiedNote);
    if (!obj) return {};
    return copiesMovedTo<Note>(obj->notes, pos, [](Note& n) { n.overlapped = false; });
}

std::unique_ptr<Track> pasteCopiedSingTrack(const ClipboardSlot& slot)
{
    const auto* obj = slotAs<CopiedSingTrack>(slot, kCopiedSingTrack);
    return obj ? std::make_unique<Track>(obj->track) : nullptr;
}

}  // namespace HVCurrentModel
