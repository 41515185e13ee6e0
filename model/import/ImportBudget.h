#pragma once
// What one score import may build in total, whatever the file's size. A note
// carries its own vibrato table of several kilobytes, so a few bytes of a
// file can build a thousand times their size: a fixed total (room for about
// two hundred thousand notes) keeps a hostile score from exhausting memory,
// and a score that needs more is refused like a damaged one.
#include <cstdint>

#include "model/current/Note.h"
#include "platform/ReadBudget.h"

inline constexpr uint64_t kNoteBuildBytes =
    sizeof(HVCurrentModel::Note) + HVCurrentModel::VibratoCycle::kTableSize * sizeof(float);

inline ReadBudget makeImportBudget()
{
    ReadLimits limits;
    limits.recordsPerFileByte = 0;
    limits.recordBase = uint64_t{1} << 22;
    limits.bytesPerFileByte = 0;
    limits.byteBase = uint64_t{1} << 30;
    return ReadBudget(0, limits);
}
