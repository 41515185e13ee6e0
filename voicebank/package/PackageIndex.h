#pragma once
// The index file ("HVI") of the voice packages from the third generation on.
// Third and fourth generation: optional markers, the bank-wide header,
// header strings, the optional timbre and "ext3" blocks, the "ext1" marker.
// Sixth generation: a format version pair, then the header, header strings,
// timbre block and tail block, all always present. Then one framed record
// per unit variant (kind 0) or name-only entry (kind 1, not in the sixth
// generation).
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
    // The sixth generation's layout: the version pair (and one more int32
    // from format 6.2 on) instead of markers, every block present, int32
    // header string lengths, the tail block, names plain from format 6.1 on,
    // a part number in every variant record, no name-only entries.
    bool versioned = false;
    int variantCapacity = UnitIndexEntry::kCapacity;  // variants kept per unit
    // The first two generations' plain index: the first headerValues header
    // values, then records of name, pitch and offset only (no markers, no
    // header strings, no record kind).
    bool plain = false;
    int headerValues = 11;
    // On an equal distance the earlier variant stays (see findNearestVariant).
    NearestTie tie = NearestTie::Below;
};

inline constexpr IndexFormat kIndexFormatV1{
    .variantCapacity = 8, .plain = true, .headerValues = 2, .tie = NearestTie::Earlier};
inline constexpr IndexFormat kIndexFormatV2{
    .variantCapacity = 8, .plain = true, .headerValues = 11, .tie = NearestTie::Earlier};
inline constexpr IndexFormat kIndexFormatV3{};
inline constexpr IndexFormat kIndexFormatV4{.ext3 = true, .ext4 = true};
inline constexpr IndexFormat kIndexFormatV6{.versioned = true, .variantCapacity = 128};

// True when the format major.minor lies above 6.minor (any minor of a
// later major).
inline bool formatAbove(std::int32_t major, std::int32_t minor, std::int32_t than)
{
    return major > 6 || (major == 6 && minor > than);
}

template <int Capacity>
struct BasicPackageIndex {
    bool hasExt2 = false;  // the timbre block and a part number per variant
    bool hasExt3 = false;
    bool hasExt4 = false;
    bool hasExt1 = false;  // voice records carry a phase table after their material
    IndexHeader header;
    std::string strings[3];  // the third is the bank language ("CHN")
    std::vector<TimbreEntry> timbreTable = buildTimbreTable(kDefaultPitchGroups);
    std::int32_t timbreTimes[3] = {kDefaultTimbreTimes[0], kDefaultTimbreTimes[1], kDefaultTimbreTimes[2]};
    float ext3Values[3] = {0.5f, 1.2f, -20.0f};
    BasicUnitIndex<Capacity> unitIndex;
    std::map<std::string, std::int32_t> nameIndex;  // unit -> content offset; the first entry stays
    // Sixth generation only.
    std::int32_t formatMajor = 0;
    std::int32_t formatMinor = 0;
    float tailFloats[3] = {};
    std::int32_t tailInt1 = 0;
    std::vector<float> tailFloatList;
    std::int32_t tailInt2 = 0;
};

using PackageIndex = BasicPackageIndex<UnitIndexEntry::kCapacity>;
using PackageIndexV6 = BasicPackageIndex<128>;

// What an index may build. Every unit entry, variant, name-only entry and
// timbre entry is counted against a read budget of kIndexBuiltPerFileByte
// bytes per byte of the file (a genuine index builds about five: a variant
// record of some 25 bytes makes one map entry of about 130), beyond a base
// for small files. One bank's index may build kIndexBuildBudget bytes in
// all, so the largest index read is kMaxIndexBytes: room for 2,000,000
// variants, a bank of 15,000 units at 128 pitches.
inline constexpr std::uint64_t kIndexBuiltPerFileByte = 12;
inline constexpr std::uint64_t kIndexBuildBase = std::uint64_t{1} << 20;
inline constexpr std::uint64_t kIndexBuildBudget = std::uint64_t{768} << 20;
inline constexpr std::uint64_t kMaxIndexBytes = kIndexBuildBudget / kIndexBuiltPerFileByte;

// Reads the index at path into out (which starts as constructed) and
// returns what is wrong with it, "" when it was read whole. A file larger
// than kMaxIndexBytes ("larger than 67108864 bytes"), one that cannot be
// read, is empty, whose bytes stop inside a field or a record, or whose
// entries pass the read budget is damaged: "fail to read package index
// file ", the path, ": " and what is wrong go to log (once a run for the
// file); what was read whole is kept, the rest keeps its defaults. Records
// whose fields do not fit their frame, of other kinds, or beyond a unit's
// capacity are skipped; a record of length 0 or less indexes nothing. A tail-block count of 0 or less gives
// an empty list; one whose floats the file does not hold damages the index.
template <int Capacity>
std::string readPackageIndex(const std::string& path, const IndexFormat& format, BasicPackageIndex<Capacity>& out,
                             std::ostream& log);

// The same over bytes in memory (the file's content), without the log.
template <int Capacity>
std::string readPackageIndexBytes(ByteCursor bytes, const IndexFormat& format, BasicPackageIndex<Capacity>& out);

// A string of an index record, as a view of the record's bytes: an int32
// length N and N bytes cut at the first NUL; a negative N is "" with no
// bytes. False, taking nothing more, when the bytes are not all there
// (inline: an index reads two per record).
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
