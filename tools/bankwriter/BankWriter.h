#pragma once
// Bytes of the third- and fourth-generation voice packages from a bank
// description: the index ("HVI") with each optional marker on or off, and
// the content parts ("HVC", "HVC_1", ...) holding the framed records, whose
// offsets are computed here. Written from the file layouts alone, never
// from the readers under test.
#include <array>
#include <bit>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tools/bankwriter/ByteBuilder.h"
#include "tools/bankwriter/GhrModelWriter.h"
#include "tools/bankwriter/NameScramble.h"

namespace bankwriter {

inline std::int32_t floatBits(float v) { return std::bit_cast<std::int32_t>(v); }

// The eleven bank-wide values, in file order.
struct BankHeader {
    std::int32_t hopSize = 256;
    float sampleRate = 44100.0f;
    float param3 = 0.0f;
    float param4 = 0.0f;
    float param5 = 0.0f;
    float maxHarmonicFreq = 16000.0f;
    std::int32_t phaseSetting = 20;
    std::int32_t param8 = 0;
    float powerAmount = 3.0f;
    float powerCentre = 3000.0f;
    float powerWidth = 1000.0f;
};

// One pitch variant of a unit (a kind-0 index record) and the body of its
// content record.
struct Variant {
    std::string unit;
    std::string pitch;
    std::int32_t part = 0;
    std::string record;
};

// A name-only entry (a kind-1 index record).
struct NameEntry {
    std::string name;
    std::int32_t offset = 0;
};

struct BankDescription {
    bool ext2 = false;
    bool ext3 = false;
    bool ext4 = false;  // header strings with int32 lengths
    bool ext1 = false;
    BankHeader header;
    std::array<std::string, 3> strings = {"", "", "CHN"};
    std::string groupList = "C4/C4/C4";            // written under "ext2"
    std::array<std::int32_t, 3> times = {1000, 850, 1250};  // written under "ext2"
    std::array<float, 3> ext3Values = {0.5f, 1.2f, -20.0f};  // written under "ext3"
    std::vector<Variant> variants;
    std::vector<NameEntry> names;
};

struct PackageFiles {
    std::string index;
    std::map<std::int32_t, std::string> parts;  // part number -> content file bytes
};

// The sixteen values of a third-generation voice in memory order (beginPos,
// endPos, param3..param13, ratio1..ratio3; floats as their bits), stored
// with param6 last; then the material and, when given, the phase table.
inline std::string v3VoiceRecord(const std::array<std::int32_t, 16>& values, const std::string& material,
                                 const std::optional<PhaseTable>& ext1 = std::nullopt)
{
    ByteBuilder b;
    for (int i = 0; i < 16; ++i)
        if (i != 5)
            b.i32(values[i]);
    b.i32(values[5]).raw(material);
    if (ext1)
        b.raw(phaseTableBytes(*ext1));
    return b.bytes;
}

inline std::string v3ContinuantRecord(std::int32_t param1, std::int32_t param2, std::int32_t hop,
                                      const std::string& material)
{
    ByteBuilder b;
    b.i32(param1).i32(param2).i32(hop).raw(material);
    return b.bytes;
}

inline std::string v4VoiceRecord(const std::array<std::int32_t, 9>& values, const std::string& material,
                                 const std::optional<PhaseTable>& ext1 = std::nullopt)
{
    ByteBuilder b;
    for (std::int32_t v : values)
        b.i32(v);
    b.raw(material);
    if (ext1)
        b.raw(phaseTableBytes(*ext1));
    return b.bytes;
}

// v4ContParam1..4 given in field order, stored in the order 1, 2, 4, 3.
inline std::string v4ContinuantRecord(const std::array<std::int32_t, 4>& fields, const std::string& material)
{
    ByteBuilder b;
    b.i32(fields[0]).i32(fields[1]).i32(fields[3]).i32(fields[2]).raw(material);
    return b.bytes;
}

namespace detail {

inline void headerString(ByteBuilder& b, bool wide, const std::string& s)
{
    if (wide)
        b.str(s);
    else
        b.h8(s);
}

}  // namespace detail

inline PackageFiles writePackage(const BankDescription& bank)
{
    PackageFiles files;
    files.parts[0];  // "HVC" exists even when every record lies in another part
    ByteBuilder index;
    if (bank.ext2)
        index.raw("ext2");
    if (bank.ext3)
        index.raw("ext3");
    if (bank.ext4)
        index.raw("ext4");
    const BankHeader& h = bank.header;
    index.i32(h.hopSize).f32(h.sampleRate).f32(h.param3).f32(h.param4).f32(h.param5).f32(h.maxHarmonicFreq);
    index.i32(h.phaseSetting).i32(h.param8).f32(h.powerAmount).f32(h.powerCentre).f32(h.powerWidth);
    for (const std::string& s : bank.strings)
        detail::headerString(index, bank.ext4, s);
    if (bank.ext2) {
        detail::headerString(index, bank.ext4, bank.groupList);
        for (std::int32_t t : bank.times)
            index.i32(t);
    }
    if (bank.ext3)
        for (float v : bank.ext3Values)
            index.f32(v);
    if (bank.ext1)
        index.raw("ext1");
    for (const Variant& v : bank.variants) {
        std::string& part = files.parts[v.part];
        const auto offset = static_cast<std::int32_t>(part.size());
        part += ByteBuilder().str(v.record).bytes;
        ByteBuilder record;
        record.i32(0).str(scrambleName(v.unit)).str(scrambleName(v.pitch)).i32(offset);
        if (bank.ext2)
            record.i32(v.part);
        index.block(record);
    }
    for (const NameEntry& n : bank.names) {
        ByteBuilder record;
        record.i32(1).str(scrambleName(n.name)).i32(n.offset);
        if (bank.ext2)
            record.i32(0);
        index.block(record);
    }
    files.index = index.bytes;
    return files;
}

}  // namespace bankwriter
