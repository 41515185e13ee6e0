#pragma once
// What one score import may build in total, whatever the file's size. A note
// takes close to a kilobyte, so a few bytes of a file can build a hundred
// times their size: a fixed total (room for about a million notes) keeps a
// hostile score from exhausting memory, and a score that needs more is
// refused like a damaged one.
#include <cstdint>

#include "model/current/Note.h"
#include "platform/ReadBudget.h"

// What one imported note builds: the note, its strings and the few end nodes
// of its vibrato curves. Its vibrato wave table is the computed one, shared
// by every note that keeps it, so it costs nothing more.
inline constexpr uint64_t kNoteBuildBytes = sizeof(HVCurrentModel::Note) + 384;

inline ReadBudget makeImportBudget()
{
    ReadLimits limits;
    limits.recordsPerFileByte = 0;
    limits.recordBase = uint64_t{1} << 22;
    limits.bytesPerFileByte = 0;
    limits.byteBase = uint64_t{1} << 30;
    return ReadBudget(0, limits);
}
