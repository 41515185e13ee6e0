#pragma once
// The index file ("HVI") of the third- and fourth-generation voice packages:
// optional markers, the bank-wide header, header strings, the optional
// timbre and "ext3" blocks, the "ext1" marker, then one framed record per
// unit variant (kind 0) or name-only entry (kind 1).
#include <algorithm>
#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ByteCursor.h"
#include "voicebank/package/IndexHeader.h"
#include "voicebank/package/UnitIndex.h"

namespace Halvoren {

// What one generation's index may hold beyond the third generation's.
struct IndexFormat {
    bool ext3 = false;  // "ext3" may follow "ext2": three floats after the timbre block
    bool ext4 = false;  // "ext4" may follow: every header string has an int32 length
    int variantCapacity = UnitIndexEntry::kCapacity;  // variants kept per unit
};

inline constexpr IndexFormat kIndexFormatV3{};
inline constexpr IndexFormat kIndexFormatV4{.ext3 = true, .ext4 = true};

struct PackageIndex {
    bool hasExt2 = false;  // the timbre block and a part number per variant
    bool hasExt3 = false;
    bool hasExt4 = false;
    bool hasExt1 = false;  // voice records carry a phase table after their material
    IndexHeader header;
    std::string strings[3];  // the third is the bank language ("CHN")
    std::vector<TimbreEntry> timbreTable = buildTimbreTable(kDefaultPitchGroups);
    std::int32_t timbreTimes[3] = {kDefaultTimbreTimes[0], kDefaultTimbreTimes[1], kDefaultTimbreTimes[2]};
    float ext3Values[3] = {0.5f, 1.2f, -20.0f};
    UnitIndex unitIndex;
    std::map<std::string, std::int32_t> nameIndex;  // unit -> content offset; the first entry stays
};

// Reads the index at path into out (which starts as constructed). A file
// that cannot be read (or holds more than kMaxWholeFileBytes), or whose bytes stop inside a field or a record,
// writes "fail to read package index file" and the path to log once; what
// was read whole is kept, the rest keeps its defaults. Records whose fields
// do not fit their frame, of other kinds, or beyond a unit's capacity are
// skipped; a record of length 0 or less indexes nothing. True when the file
// was read whole.
bool readPackageIndex(const std::string& path, const IndexFormat& format, PackageIndex& out, std::ostream& log);

// The same over bytes in memory (the file's content).
bool readPackageIndexBytes(ByteCursor bytes, const IndexFormat& format, PackageIndex& out);

// A string of an index record: an int32 length N and N bytes cut at the
// first NUL; a negative N is "" with no bytes. False, taking nothing more,
// when the bytes are not all there.
bool readRecordString(ByteCursor& record, std::string& out);
// The same as a view of the record's bytes (inline: an index reads two per
// record).
inline bool readRecordView(ByteCursor& record, std::string_view& out)
{
    std::int32_t length = 0;
    if (!record.i32(length))
        return false;
    out = std::string_view();
    if (length <= 0)
        return true;
    const char* first = record.here();
    if (!record.skip(std::uint64_t(length)))
        return false;
    out = std::string_view(first, std::size_t(std::find(first, first + length, '\0') - first));
    return true;
}

}  // namespace Halvoren
