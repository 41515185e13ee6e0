#pragma once
// Field readers shared by the readers of every project generation.
#include <cstdint>

#include "model/file/MemoryStream.h"

namespace HalvorenWin {

// A flag byte; a byte that is not there leaves target unchanged.
inline void readBool(CMemoryStream& in, bool& target)
{
    uint8_t v = 0;
    if (in.readByte(v)) target = v != 0;
}

// The mixer settings of a track record, laid out alike in every generation:
// muted and solo bytes, volume, balance.
template <class TrackT>
void readMixerFields(CMemoryStream& in, TrackT& track)
{
    readBool(in, track.muted);
    readBool(in, track.solo);
    in.readInt(track.volume);
    in.readFloat(track.balance);
}

}  // namespace HalvorenWin
