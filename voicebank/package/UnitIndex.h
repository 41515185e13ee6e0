#pragma once
// What a package index knows of its units: the pitch variants of each unit
// with where their records lie, the name-only entries, and the timbre table
// built from a "/"-separated list of pitch names.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Halvoren {

// One pitch variant of a unit.
struct UnitVariant {
    std::int32_t offset = 0;  // byte offset of its record in its content part
    std::int32_t part = 0;    // content part (0 = the file without suffix)
    std::int8_t note = 0;     // semitone number, C2 = 0
};

// The pitch variants of one unit, in the order of their index records; at
// most Capacity, later ones are dropped. Room is taken only for the variants
// there are: most units of a bank have a few, an index of distinct names one
// each.
template <int Capacity>
struct BasicUnitIndexEntry {
    static constexpr int kCapacity = Capacity;
    std::vector<UnitVariant> variants;
    std::int32_t count() const { return static_cast<std::int32_t>(variants.size()); }
};

using UnitIndexEntry = BasicUnitIndexEntry<32>;

template <int Capacity>
using BasicUnitIndex = std::map<std::string, BasicUnitIndexEntry<Capacity>>;
using UnitIndex = BasicUnitIndex<32>;

// One timbre: three pitch names in file order (low, middle, high).
struct TimbreEntry {
    std::string low;
    std::string middle;
    std::string high;
};

// Restores a stored name: byte i loses 100 + i % 5, modulo 256; the length
// stays.
std::string unscrambleName(std::string stored);

// parseNoteName(pitch) as an int8: every name of one letter, accidental and
// octave digit lies in -13..96.
std::int8_t noteNumber(const std::string& pitch);

// Appends a variant (note noteNumber(pitch)) to entry; false, dropping it,
// when the entry holds limit variants (at most Capacity).
template <int Capacity>
bool appendVariant(BasicUnitIndexEntry<Capacity>& entry, const std::string& pitch, std::int32_t offset,
                   std::int32_t part, int limit = Capacity)
{
    if (entry.count() >= limit || entry.count() >= Capacity)
        return false;
    entry.variants.push_back(UnitVariant{offset, part, noteNumber(pitch)});
    return true;
}

// The same into the unit's entry, made when absent.
template <int Capacity>
bool addVariant(BasicUnitIndex<Capacity>& index, const std::string& unit, const std::string& pitch,
                std::int32_t offset, std::int32_t part, int limit = Capacity)
{
    return appendVariant(index[unit], pitch, offset, part, limit);
}

// Which variant wins among those at the same distance from the wanted pitch.
enum class NearestTie {
    Below,    // the variant below the wanted pitch: the last of equal notes below, the first above
    Earlier,  // the earliest in index order
};

// The variant nearest the wanted pitch: a smaller distance wins, ties as
// given. Gives the canonical (sharp) pitch name with that variant's offset
// and part, or "" with the outputs untouched when the unit is absent or has
// no variant.
template <int Capacity>
std::string findNearestVariant(const BasicUnitIndex<Capacity>& index, const std::string& unit,
                               const std::string& pitch, std::int32_t& offset, std::int32_t& part,
                               NearestTie tie = NearestTie::Below);

// Cuts list + "/" at every "/" and takes the pieces three at a time; one or
// two pieces left over are dropped. "" gives no entry.
std::vector<TimbreEntry> buildTimbreTable(const std::string& list);
// The number of entries buildTimbreTable(list) gives.
std::size_t timbreEntryCount(const std::string& list);

// The list used when an index holds none, and the formant-warp thousandths
// that go with it.
inline constexpr const char* kDefaultPitchGroups = "G3/B3/B3/C4/E4/E4/F4/A4/A4/Bb4/C5/C5";
inline constexpr std::int32_t kDefaultTimbreTimes[3] = {1000, 850, 1250};

}  // namespace Halvoren
