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
#include <utility>
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

// How a variant's record is laid out, where it is not one record after
// another with an entry pointing at each.
struct VariantLayout {
    std::string unit;            // the variant's unit (its first variant)
    std::string nestedIn;        // its record lies in the unread tail of this earlier unit's record
    std::string pointsInto;      // it has no record: its entry points into this unit's record
    std::int32_t shift = 0;      // bytes added to the offset its entry gives
    std::optional<std::int32_t> lengthWord;  // stored in place of its record's length
};

inline VariantLayout nestedIn(const std::string& unit, const std::string& host)
{
    VariantLayout l;
    l.unit = unit;
    l.nestedIn = host;
    return l;
}
// An entry with no record of its own, bytes into host's record (from its
// length word).
inline VariantLayout pointingInto(const std::string& unit, const std::string& host, std::int32_t bytes)
{
    VariantLayout l;
    l.unit = unit;
    l.pointsInto = host;
    l.shift = bytes;
    return l;
}
inline VariantLayout movedBy(const std::string& unit, std::int32_t bytes)
{
    VariantLayout l;
    l.unit = unit;
    l.shift = bytes;
    return l;
}
inline VariantLayout withLengthWord(const std::string& unit, std::int32_t length)
{
    VariantLayout l;
    l.unit = unit;
    l.lengthWord = length;
    return l;
}

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
    std::vector<VariantLayout> layouts;
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

// The layout given for unit, or null.
inline const VariantLayout* layoutOf(const BankDescription& bank, const std::string& unit)
{
    for (const VariantLayout& l : bank.layouts)
        if (l.unit == unit)
            return &l;
    return nullptr;
}

// A record with its length word (or the one its layout stores instead).
inline std::string framedRecord(const std::string& body, const VariantLayout* layout)
{
    const auto length = layout && layout->lengthWord ? *layout->lengthWord : static_cast<std::int32_t>(body.size());
    return ByteBuilder().i32(length).raw(body).bytes;
}

// Writes the framed records of the variants into their parts, one after
// another, except where a layout nests one in the unread tail of another
// (the host's length word covers it) or has an entry point into another's
// record; gives the offset each variant's entry holds.
inline std::vector<std::int32_t> layOut(const BankDescription& bank, std::map<std::int32_t, std::string>& parts)
{
    const std::size_t n = bank.variants.size();
    std::vector<std::int32_t> offsets(n, 0);
    std::map<std::string, std::string> tails;  // host unit -> the records nested in its tail
    std::vector<std::int32_t> inTail(n, -1);
    for (std::size_t i = 0; i < n; ++i) {
        const VariantLayout* l = layoutOf(bank, bank.variants[i].unit);
        if (l && !l->nestedIn.empty()) {
            std::string& tail = tails[l->nestedIn];
            inTail[i] = static_cast<std::int32_t>(tail.size());
            tail += framedRecord(bank.variants[i].record, l);
        }
    }
    // Where the body of each unit's first record starts, and its size.
    std::map<std::string, std::pair<std::int32_t, std::int32_t>> bodies;
    for (std::size_t i = 0; i < n; ++i) {
        const Variant& v = bank.variants[i];
        const VariantLayout* l = layoutOf(bank, v.unit);
        if (l && (!l->nestedIn.empty() || !l->pointsInto.empty()))
            continue;
        std::string& part = parts[v.part];
        offsets[i] = static_cast<std::int32_t>(part.size());
        const auto body = std::make_pair(offsets[i] + 4, static_cast<std::int32_t>(v.record.size()));
        const bool first = bodies.emplace(v.unit, body).second;
        part += framedRecord(first ? v.record + tails[v.unit] : v.record, l);
    }
    for (std::size_t i = 0; i < n; ++i) {
        const VariantLayout* l = layoutOf(bank, bank.variants[i].unit);
        if (!l)
            continue;
        if (!l->nestedIn.empty()) {
            const auto& host = bodies.at(l->nestedIn);
            offsets[i] = host.first + host.second + inTail[i];
        } else if (!l->pointsInto.empty()) {
            offsets[i] = bodies.at(l->pointsInto).first - 4;
        }
        offsets[i] += l->shift;
    }
    return offsets;
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
    const std::vector<std::int32_t> offsets = detail::layOut(bank, files.parts);
    for (std::size_t i = 0; i < bank.variants.size(); ++i) {
        const Variant& v = bank.variants[i];
        ByteBuilder record;
        record.i32(0).str(scrambleName(v.unit)).str(scrambleName(v.pitch)).i32(offsets[i]);
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
