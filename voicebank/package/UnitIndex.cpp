#include "voicebank/package/UnitIndex.h"

#include <algorithm>
#include <cstdlib>

#include "voicebank/NoteName.h"

namespace Halvoren {

std::string unscrambleName(std::string stored)
{
    for (std::size_t i = 0; i < stored.size(); ++i)
        stored[i] = static_cast<char>(static_cast<unsigned char>(stored[i]) - (100 + i % 5));
    return stored;
}

std::int8_t noteNumber(const std::string& pitch)
{
    return static_cast<std::int8_t>(parseNoteName(pitch));
}

template <int Capacity>
std::string findNearestVariant(const BasicUnitIndex<Capacity>& index, const std::string& unit,
                               const std::string& pitch, std::int32_t& offset, std::int32_t& part,
                               NearestTie tie)
{
    const auto found = index.find(unit);
    if (found == index.end() || found->second.variants.empty())
        return std::string();
    const std::vector<UnitVariant>& variants = found->second.variants;
    const int wanted = parseNoteName(pitch);
    int bestDistance = 9999;
    std::size_t best = 0;
    for (std::size_t i = 0; i < variants.size(); ++i) {
        const int note = variants[i].note;
        const int distance = std::abs(wanted - note);
        if (distance < bestDistance || (tie == NearestTie::Below && distance == bestDistance && note < wanted)) {
            bestDistance = distance;
            best = i;
        }
    }
    offset = variants[best].offset;
    part = variants[best].part;
    return formatNoteName(variants[best].note);
}

std::vector<TimbreEntry> buildTimbreTable(const std::string& list)
{
    // The pieces are taken as they are cut, never all held at once: a list
    // of separators alone would otherwise build a string for each byte.
    std::vector<TimbreEntry> table;
    table.reserve(timbreEntryCount(list));
    std::string names[3];
    int have = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t cut = list.find('/', start);
        names[have++].assign(list, start, cut == std::string::npos ? std::string::npos : cut - start);
        if (have == 3) {
            table.push_back(TimbreEntry{std::move(names[0]), std::move(names[1]), std::move(names[2])});
            have = 0;
        }
        if (cut == std::string::npos)
            return table;
        start = cut + 1;
    }
}

std::size_t timbreEntryCount(const std::string& list)
{
    return (static_cast<std::size_t>(std::count(list.begin(), list.end(), '/')) + 1) / 3;
}

template std::string findNearestVariant<128>(const BasicUnitIndex<128>&, const std::string&, const std::string&,
                                             std::int32_t&, std::int32_t&, NearestTie);
template std::string findNearestVariant<32>(const UnitIndex&, const std::string&, const std::string&,
                                            std::int32_t&, std::int32_t&, NearestTie);

}  // namespace Halvoren
