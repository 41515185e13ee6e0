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
struct VariantSink {
    std::string lastUnit;
    UnitIndexEntry* entry = nullptr;
    std::string pitch;
};

void readIndexRecord(ByteCursor& record, const IndexFormat& format, VariantSink& sink, PackageIndex& out)
{
    std::int32_t kind = 0;
    if (!record.i32(kind))
        return;
    std::string_view name;
    std::string_view pitch;
    std::int32_t offset = 0;
    std::int32_t part = 0;
    if (kind == 0) {
        if (!readRecordView(record, name) || !readRecordView(record, pitch) || !record.i32(offset) ||
            (out.hasExt2 && !record.i32(part)))
            return;
        if (!sink.entry || !restoresTo(name, sink.lastUnit)) {
            restoreInto(name, sink.lastUnit);
            sink.entry = &out.unitIndex[sink.lastUnit];
        }
        restoreInto(pitch, sink.pitch);
        appendVariant(*sink.entry, sink.pitch, offset, part, format.variantCapacity);
    } else if (kind == 1) {
        std::int32_t unused = 0;
        if (readRecordView(record, name) && record.i32(offset) && (!out.hasExt2 || record.i32(unused)))
            out.nameIndex.emplace(unscrambleName(std::string(name)), offset);
    }
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

bool readPackageIndexBytes(ByteCursor c, const IndexFormat& format, PackageIndex& out)
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
        std::int32_t times[3] = {};
        if (!readHeaderString(c, out.hasExt4, groups) || !c.i32(times[0]) || !c.i32(times[1]) || !c.i32(times[2]))
            return false;
        out.timbreTable = buildTimbreTable(groups);
        std::copy(times, times + 3, out.timbreTimes);
    }
    if (out.hasExt3) {
        float values[3] = {};
        if (!c.f32(values[0]) || !c.f32(values[1]) || !c.f32(values[2]))
            return false;
        std::copy(values, values + 3, out.ext3Values);
    }
    out.hasExt1 = c.tag("ext1", 4);
    VariantSink sink;
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

bool readPackageIndex(const std::string& path, const IndexFormat& format, PackageIndex& out, std::ostream& log)
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

}  // namespace Halvoren
