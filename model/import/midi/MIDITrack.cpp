#include "model/import/midi/MIDITrack.h"

namespace hvmidi {

void MIDITrack::putMetaEvent(MIDITimedBigMessage m, std::string_view data)
{
    // The file reader caps a file's size far below 4 GiB, so offsets fit.
    m.dataOffset = static_cast<uint32_t>(metaPool_.size());
    m.dataLength = static_cast<uint32_t>(data.size());
    metaPool_.append(data);
    events_.push_back(m);
}

void MIDIMultiTrack::clear()
{
    tracks_.clear();
    division_ = 0;
}

void MIDIMultiTrack::setDivision(uint16_t division)
{
    division_ = division;
}

MIDITrack* MIDIMultiTrack::addTrack()
{
    if (tracks_.size() >= kMaxTracks) return nullptr;
    return &tracks_.emplace_back();
}

const MIDITrack* MIDIMultiTrack::getTrack(int i) const
{
    if (i < 0 || i >= getNumTracks()) return nullptr;
    return &tracks_[static_cast<size_t>(i)];
}

}  // namespace hvmidi
