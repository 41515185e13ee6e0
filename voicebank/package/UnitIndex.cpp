#include "voicebank/package/UnitIndex.h"

#include <cstdlib>

#include "platform/StringUtil.h"
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
                               const std::string& pitch, std::int32_t& offset, std::int32_t& part)
{
    const auto found = index.find(unit);
    if (found == index.end() || found->second.count <= 0)
        return std::string();
    const BasicUnitIndexEntry<Capacity>& entry = found->second;
    const int wanted = parseNoteName(pitch);
    int bestDistance = 9999;
    int best = -1;
    for (int i = 0; i < entry.count; ++i) {
        const int note = entry.notes[i];
        const int distance = std::abs(wanted - note);
        if (distance < bestDistance || (distance == bestDistance && note < wanted)) {
            bestDistance = distance;
            best = i;
        }
    }
    offset = entry.offsets[best];
    part = entry.parts[best];
    return formatNoteName(entry.notes[best]);
}

std::vector<TimbreEntry> buildTimbreTable(const std::string& list)
{
    std::vector<std::string> pieces;
    splitString(pieces, list, "/");
    std::vector<TimbreEntry> table;
    for (std::size_t i = 0; i + 3 <= pieces.size(); i += 3)
        table.push_back(TimbreEntry{pieces[i], pieces[i + 1], pieces[i + 2]});
    return table;
}

template std::string findNearestVariant<128>(const BasicUnitIndex<128>&, const std::string&, const std::string&,
                                             std::int32_t&, std::int32_t&);
template std::string findNearestVariant<32>(const UnitIndex&, const std::string&, const std::string&,
                                            std::int32_t&, std::int32_t&);

}  // namespace Halvoren
