#pragma once
// The voice package targets' common run. One input holds both files of a
// package: a little-endian u32 length n, then n bytes of index ("HVI", or
// what is left when fewer), then the content file ("HVC"). The packager
// reads the index as a bank loads it, and every record the index lists is
// then asked for in each of its four kinds, as synthesis would; nothing is
// rendered.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "support/FuzzInput.h"
#include "voicebank/NoteName.h"

namespace hvfuzz {

// Writes the two files; gives the package's base path.
inline std::string writePackageFiles(const uint8_t* data, size_t size)
{
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    uint32_t indexBytes = 0;
    if (rest.size() >= 4) {
        indexBytes = uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 | uint32_t(data[3]) << 24;
        rest.remove_prefix(4);
    }
    const std::string_view index = rest.substr(0, indexBytes);
    const std::string_view content = rest.substr(index.size());
    writeScratchFile("bank/HVI", index);
    writeScratchFile("bank/HVC", content);
    return scratchFolder() + "bank/";
}

// Every listed variant of every unit: found by its own pitch, then loaded.
template <class Packager, class UnitIndex>
void loadEveryRecord(const Packager& package, const UnitIndex& units)
{
    for (const auto& [unit, entry] : units) {
        for (const auto& variant : entry.variants) {
            const std::string pitch = formatNoteName(variant.note);
            std::int32_t offset = 0, part = 0;
            if (package.findRecordKey(unit, pitch, offset, part).empty()) fail("a listed unit is not found");
            offset = variant.offset;
            part = variant.part;
            package.loadVoiceSrc(unit, pitch, offset, part);
            package.loadSrcParameter(unit, pitch, offset, part);
            package.loadContinuantSrc(unit, pitch, offset, part);
            package.loadSrcContinuantParameter(unit, pitch, offset, part);
        }
    }
}

// The same for the first two generations, whose packages hold one record
// per variant and load it either as a voice or as a continuant source.
template <class Packager>
void loadEveryHprRecord(const Packager& package)
{
    for (const auto& [unit, entry] : package.index().unitIndex) {
        for (const auto& variant : entry.variants) {
            const std::string pitch = formatNoteName(variant.note);
            std::int32_t offset = 0;
            if (package.findRecordKey(unit, pitch, offset).empty()) fail("a listed unit is not found");
            offset = variant.offset;
            package.loadVoiceSrc(offset, unit, pitch);
            package.loadContinuantSrc(offset, unit, pitch);
        }
    }
}

}  // namespace hvfuzz
