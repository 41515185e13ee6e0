#pragma once
// The track list of the tagged generations, laid out alike in each: a u32
// count, then inline records that start with a u32 kind. A record of a kind
// other than singing (0) and instrumental (1) ends after its kind.
#include <cstdint>
#include <string>

#include "model/file/RecordLoop.h"

namespace HalvorenWin {

// What a record of another kind is to the reader of a generation: generation
// 1 files may hold one, read as its kind alone; no writer of the current
// format stores one, so there it is where the body stops reading as written.
enum class OtherTrackKinds { skipped, stop };

// Reads the count and the records, calling readTrack(kind) after the kind of
// each record of kind 0 or 1 to read the rest of it; each record counts
// builtBytes against the budget.
template <class ReadTrack>
void readTrackList(CMemoryStream& in, OtherTrackKinds others, uint64_t builtBytes, ReadTrack readTrack)
{
    uint32_t count = 0;
    in.readUInt(count);
    in.what = "track list";
    readRecords(in, count, builtBytes, [&] {
        const size_t at = in.pos;
        uint32_t kind = 0;
        in.readUInt(kind);
        if (kind == 0 || kind == 1)
            readTrack(static_cast<int32_t>(kind));
        else if (others == OtherTrackKinds::stop && in.recordsStop())
            in.stopAt(at, "holds a track of kind " + std::to_string(kind));
    });
}

}  // namespace HalvorenWin
