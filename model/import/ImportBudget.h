#pragma once
// What one score import may build, counted before anything is built. A note
// takes close to half a kilobyte, so a few bytes of a file can build many
// times their size: an import builds at most kImportBytesPerFileByte bytes
// per byte of its file (beyond a small base for the smallest files), and
// never more than kImportByteLimit (room for over two million notes). A
// score that needs more is refused like a damaged one.
#include <algorithm>
#include <cstdint>

#include "model/current/Note.h"
#include "platform/ReadBudget.h"

// What one imported note builds: the note, the list nodes (two links and
// the node) of the two end nodes of its flat vibrato depth and rate curves,
// and its place in its segment. Nothing else is made before the note is
// edited or rendered: its wave table is the computed one, shared by every
// note that keeps it, its curves make their lookup aids at their first
// lookup, and its strings stand in the note unless they are long, when they
// take a few times the bytes the file spends on them.
inline constexpr uint64_t kNoteBuildBytes =
    sizeof(HVCurrentModel::Note) + 4 * (sizeof(HVCurrentModel::CurveNode) + 2 * sizeof(void*)) +
    sizeof(HVCurrentModel::Note*);

inline constexpr uint64_t kImportBytesPerFileByte = 100;
inline constexpr uint64_t kImportByteBase = uint64_t{1} << 20;
inline constexpr uint64_t kImportByteLimit = uint64_t{1} << 30;

// A score refused for its size. Too large to import: what it would build
// (its notes, the bytes they take) and what the import of a file of its
// size may build. Too large to read: only the file's size and the largest
// its reader takes (bytesAllowed).
struct ImportSize {
    uint64_t fileBytes = 0;
    uint64_t notes = 0;
    uint64_t bytesNeeded = 0;
    uint64_t bytesAllowed = 0;
};

// Why a score import built nothing, when it was for the score's size: a
// file larger than its reader takes (fileTooLarge, not read), or a readable
// score that would build more than its import may (tooLarge). Every score
// import reports a refusal for size this way.
struct ImportRefusal {
    enum class Kind { none, fileTooLarge, tooLarge };
    Kind kind = Kind::none;
    ImportSize size;
};

inline ReadBudget makeImportBudget(uint64_t fileBytes)
{
    ReadLimits limits;
    limits.recordsPerFileByte = 0;
    limits.recordBase = uint64_t{1} << 22;
    limits.bytesPerFileByte = 0;
    // Files are far below the size at which the product could overflow.
    limits.byteBase = std::min(kImportByteLimit, kImportByteBase + kImportBytesPerFileByte * fileBytes);
    return ReadBudget(0, limits);
}
