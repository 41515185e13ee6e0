#include "voicebank/package/PackageIndex.h"

#include <algorithm>

#include "platform/CString.h"
#include "platform/FileUtil.h"

namespace Halvoren {

namespace {

bool readHeader(ByteCursor& c, IndexHeader& h)
{
    // Stops at the first value that is not there; the later ones stay 0.
    return c.i32(h.hopSize) && c.f32(h.sampleRate) && c.f32(h.param3) && c.f32(h.param4) && c.f32(h.param5) &&
           c.f32(h.maxHarmonicFreq) && c.i32(h.phaseSetting) && c.i32(h.param8) && c.f32(h.powerAmount) &&
           c.f32(h.powerCentre) && c.f32(h.powerWidth);
}

// A length (one signed byte, or an int32 when wide), then that many bytes cut
// at the first NUL; a negative length is "" with no bytes.
bool readHeaderString(ByteCursor& c, bool wide, std::string& out)
{
    std::int32_t length = 0;
    if (wide) {
        if (!c.i32(length))
            return false;
    } else {
        std::uint8_t b = 0;
        if (!c.u8(b))
            return false;
        length = static_cast<std::int8_t>(b);
    }
    out.clear();
    return length <= 0 || c.text(std::uint64_t(length), out);
}

// Byte i of a stored name, restored as unscrambleName restores it.
char restoredByte(std::string_view stored, std::size_t i)
{
    return static_cast<char>(static_cast<unsigned char>(stored[i]) - (100 + i % 5));
}

bool restoresTo(std::string_view stored, const std::string& plain)
{
    if (stored.size() != plain.size())
        return false;
    for (std::size_t i = 0; i < stored.size(); ++i)
        if (restoredByte(stored, i) != plain[i])
            return false;
    return true;
}

void restoreInto(std::string_view stored, std::string& plain)
{
    plain.resize(stored.size());
    for (std::size_t i = 0; i < stored.size(); ++i)
        plain[i] = restoredByte(stored, i);
}

// The record loop's reusable state: the entry the last variant went to (a
// unit's variants usually follow one another, so most records need no
// lookup in the map) and a buffer for the pitch name.
template <int Capacity>
struct VariantSink {
    std::string lastUnit;
    BasicUnitIndexEntry<Capacity>* entry = nullptr;
    std::string pitch;
};

bool sameName(std::string_view stored, const std::string& name, bool scrambled)
{
    return scrambled ? restoresTo(stored, name) : stored == name;
}

void nameInto(std::string_view stored, std::string& name, bool scrambled)
{
    if (scrambled)
        restoreInto(stored, name);
    else
        name.assign(stored);
}

template <int Capacity>
void readIndexRecord(ByteCursor& record, const IndexFormat& format, VariantSink<Capacity>& sink,
                     BasicPackageIndex<Capacity>& out)
{
    std::int32_t kind = 0;
    if (!record.i32(kind))
        return;
    std::string_view name;
    std::string_view pitch;
    std::int32_t offset = 0;
    std::int32_t part = 0;
    // Names are stored scrambled up to format 6.0, plain from 6.1 on.
    const bool scrambled = !format.versioned || !formatAbove(out.formatMajor, out.formatMinor, 0);
    if (kind == 0) {
        const bool hasPart = out.hasExt2 || format.versioned;
        if (!readRecordView(record, name) || !readRecordView(record, pitch) || !record.i32(offset) ||
            (hasPart && !record.i32(part)))
            return;
        if (!sink.entry || !sameName(name, sink.lastUnit, scrambled)) {
            nameInto(name, sink.lastUnit, scrambled);
            sink.entry = &out.unitIndex[sink.lastUnit];
        }
        nameInto(pitch, sink.pitch, scrambled);
        appendVariant(*sink.entry, sink.pitch, offset, part, format.variantCapacity);
    } else if (kind == 1 && !format.versioned) {
        std::int32_t unused = 0;
        if (readRecordView(record, name) && record.i32(offset) && (!out.hasExt2 || record.i32(unused)))
            out.nameIndex.emplace(unscrambleName(std::string(name)), offset);
    }
}

bool readThree(ByteCursor& c, std::int32_t (&out)[3])
{
    std::int32_t v[3] = {};
    if (!c.i32(v[0]) || !c.i32(v[1]) || !c.i32(v[2]))
        return false;
    std::copy(v, v + 3, out);
    return true;
}

bool readThree(ByteCursor& c, float (&out)[3])
{
    float v[3] = {};
    if (!c.f32(v[0]) || !c.f32(v[1]) || !c.f32(v[2]))
        return false;
    std::copy(v, v + 3, out);
    return true;
}

// Markers, header, strings and the optional blocks of generations 3 and 4.
template <int Capacity>
bool readMarkedHead(ByteCursor& c, const IndexFormat& format, BasicPackageIndex<Capacity>& out)
{
    // Each marker is tested where the previous one ended; one out of order
    // is read as the start of the header.
    out.hasExt2 = c.tag("ext2", 4);
    out.hasExt3 = format.ext3 && c.tag("ext3", 4);
    out.hasExt4 = format.ext4 && c.tag("ext4", 4);
    if (!readHeader(c, out.header))
        return false;
    for (std::string& s : out.strings)
        if (!readHeaderString(c, out.hasExt4, s))
            return false;
    if (out.hasExt2) {
        std::string groups;
        if (!readHeaderString(c, out.hasExt4, groups) || !readThree(c, out.timbreTimes))
            return false;
        out.timbreTable = buildTimbreTable(groups);
    }
    if (out.hasExt3 && !readThree(c, out.ext3Values))
        return false;
    out.hasExt1 = c.tag("ext1", 4);
    return true;
}

// The version pair, then every block of the sixth generation.
template <int Capacity>
bool readVersionedHead(ByteCursor& c, BasicPackageIndex<Capacity>& out)
{
    if (!c.i32(out.formatMajor) || !c.i32(out.formatMinor))
        return false;
    std::int32_t unused = 0;
    if (formatAbove(out.formatMajor, out.formatMinor, 1) && !c.i32(unused))
        return false;
    if (!readHeader(c, out.header))
        return false;
    for (std::string& s : out.strings)
        if (!readHeaderString(c, true, s))
            return false;
    std::string groups;
    if (!readHeaderString(c, true, groups) || !readThree(c, out.timbreTimes))
        return false;
    out.timbreTable = buildTimbreTable(groups);
    out.hasExt1 = true;
    if (!readThree(c, out.tailFloats) || !c.i32(out.tailInt1))
        return false;
    std::int32_t count = 0;
    if (!c.i32(count))
        return false;
    if (count > 0) {
        if (std::uint64_t(count) > c.remaining() / 4)
            return false;
        out.tailFloatList.resize(std::size_t(count));
        for (float& f : out.tailFloatList)
            c.f32(f);
    }
    return c.i32(out.tailInt2);
}

}  // namespace

bool readRecordString(ByteCursor& record, std::string& out)
{
    std::string_view view;
    if (!readRecordView(record, view))
        return false;
    out.assign(view);
    return true;
}

template <int Capacity>
bool readPackageIndexBytes(ByteCursor c, const IndexFormat& format, BasicPackageIndex<Capacity>& out)
{
    if (!(format.versioned ? readVersionedHead(c, out) : readMarkedHead(c, format, out)))
        return false;
    VariantSink<Capacity> sink;
    while (!c.atEnd()) {
        std::int32_t length = 0;
        if (!c.i32(length))
            return false;
        if (length < 1)
            continue;
        ByteCursor record;
        if (!c.sub(std::uint64_t(length), record))
            return false;
        readIndexRecord(record, format, sink, out);
    }
    return true;
}

template <int Capacity>
bool readPackageIndex(const std::string& path, const IndexFormat& format, BasicPackageIndex<Capacity>& out,
                      std::ostream& log)
{
    // The whole file in memory, at most kMaxWholeFileBytes: every unit entry
    // needs a record of at least 21 bytes, so what the index builds stays
    // within a small multiple of that.
    std::string bytes;
    const bool read = readWholeFile(CString::fromUtf8(path), bytes);
    if (!read || !readPackageIndexBytes(ByteCursor(bytes.data(), bytes.size()), format, out)) {
        log << "fail to read package index file" << path << std::endl;
        return false;
    }
    return true;
}

template bool readPackageIndex<32>(const std::string&, const IndexFormat&, PackageIndex&, std::ostream&);
template bool readPackageIndex<128>(const std::string&, const IndexFormat&, PackageIndexV6&, std::ostream&);
template bool readPackageIndexBytes<32>(ByteCursor, const IndexFormat&, PackageIndex&);
template bool readPackageIndexBytes<128>(ByteCursor, const IndexFormat&, PackageIndexV6&);

}  // namespace Halvoren
