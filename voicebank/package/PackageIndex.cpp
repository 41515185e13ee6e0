#include "voicebank/package/PackageIndex.h"

#include <algorithm>
#include <optional>

#include "platform/CString.h"
#include "platform/FileUtil.h"
#include "platform/ReadBudget.h"
#include "voicebank/package/SayOnce.h"

namespace Halvoren {

namespace {

// The first `count` header values. Stops at the first value that is not
// there; the later ones stay 0.
bool readHeader(ByteCursor& c, IndexHeader& h, int count = 11)
{
    int left = count;
    auto i32 = [&](std::int32_t& v) { return left-- <= 0 || c.i32(v); };
    auto f32 = [&](float& v) { return left-- <= 0 || c.f32(v); };
    return i32(h.hopSize) && f32(h.sampleRate) && f32(h.param3) && f32(h.param4) && f32(h.param5) &&
           f32(h.maxHarmonicFreq) && i32(h.phaseSetting) && i32(h.param8) && f32(h.powerAmount) &&
           f32(h.powerCentre) && f32(h.powerWidth);
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

// Heap bytes of a map node beyond its key and value: the tree's links and
// the allocator's bookkeeping.
constexpr std::uint64_t kMapNodeBytes = 4 * sizeof(void*) + 16;

template <class Map>
std::uint64_t entryBytes(std::string_view name)
{
    return sizeof(typename Map::value_type) + kMapNodeBytes + name.size();
}

// The entry of the unit, made when absent and the budget allows it; null
// when it does not.
template <int Capacity>
BasicUnitIndexEntry<Capacity>* unitEntry(BasicUnitIndex<Capacity>& index, const std::string& unit,
                                         ReadBudget& budget)
{
    auto at = index.lower_bound(unit);
    if (at == index.end() || at->first != unit) {
        if (!budget.takeRecord(entryBytes<BasicUnitIndex<Capacity>>(unit)))
            return nullptr;
        at = index.emplace_hint(at, unit, BasicUnitIndexEntry<Capacity>());
    }
    return &at->second;
}

// Reads one index record into out; a record that does not fit its frame,
// or is of another kind, is skipped. False when what it would build passes
// the budget.
template <int Capacity>
bool readIndexRecord(ByteCursor& record, const IndexFormat& format, VariantSink<Capacity>& sink,
                     BasicPackageIndex<Capacity>& out, ReadBudget& budget)
{
    std::int32_t kind = 0;
    if (!format.plain && !record.i32(kind))
        return true;
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
            return true;
        if (!sink.entry || !sameName(name, sink.lastUnit, scrambled)) {
            nameInto(name, sink.lastUnit, scrambled);
            sink.entry = unitEntry(out.unitIndex, sink.lastUnit, budget);
            if (!sink.entry)
                return false;
        }
        // Room for twice the variants held: the list doubles as it grows.
        if (sink.entry->count() >= format.variantCapacity || !budget.takeRecord(2 * sizeof(UnitVariant)))
            return !budget.spent();
        nameInto(pitch, sink.pitch, scrambled);
        appendVariant(*sink.entry, sink.pitch, offset, part, format.variantCapacity);
    } else if (kind == 1 && !format.versioned) {
        std::int32_t unused = 0;
        if (readRecordView(record, name) && record.i32(offset) && (!out.hasExt2 || record.i32(unused))) {
            std::string restored = unscrambleName(std::string(name));
            if (out.nameIndex.count(restored) != 0)
                return true;
            if (!budget.takeRecord(entryBytes<decltype(out.nameIndex)>(restored)))
                return false;
            out.nameIndex.emplace(std::move(restored), offset);
        }
    }
    return true;
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

// The timbre table of a pitch-group list, when the budget allows what it
// builds: its entries and, at most, a copy of the names.
bool readTimbreTable(const std::string& groups, std::vector<TimbreEntry>& table, ReadBudget& budget)
{
    if (!budget.takeRecord(timbreEntryCount(groups) * sizeof(TimbreEntry) + groups.size()))
        return false;
    table = buildTimbreTable(groups);
    return true;
}

// Markers, header, strings and the optional blocks of generations 3 and 4.
template <int Capacity>
bool readMarkedHead(ByteCursor& c, const IndexFormat& format, BasicPackageIndex<Capacity>& out, ReadBudget& budget)
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
        if (!readHeaderString(c, out.hasExt4, groups) || !readThree(c, out.timbreTimes) ||
            !readTimbreTable(groups, out.timbreTable, budget))
            return false;
    }
    if (out.hasExt3 && !readThree(c, out.ext3Values))
        return false;
    out.hasExt1 = c.tag("ext1", 4);
    return true;
}

// The version pair, then every block of the sixth generation.
template <int Capacity>
bool readVersionedHead(ByteCursor& c, BasicPackageIndex<Capacity>& out, ReadBudget& budget)
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
    if (!readHeaderString(c, true, groups) || !readThree(c, out.timbreTimes) ||
        !readTimbreTable(groups, out.timbreTable, budget))
        return false;
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

std::string tooManyEntries(std::uint64_t size)
{
    return "holds more entries than an index of " + std::to_string(size) + " bytes can";
}

}  // namespace

template <int Capacity>
std::string readPackageIndexBytes(ByteCursor c, const IndexFormat& format, BasicPackageIndex<Capacity>& out)
{
    const std::uint64_t size = c.remaining();
    if (size == 0)
        return "empty";
    ReadLimits limits;
    limits.bytesPerFileByte = kIndexBuiltPerFileByte;
    limits.byteBase = kIndexBuildBase;
    ReadBudget budget(size, limits);
    const bool head = format.plain       ? readHeader(c, out.header, format.headerValues)
                      : format.versioned ? readVersionedHead(c, out, budget)
                                         : readMarkedHead(c, format, out, budget);
    if (!head)
        return budget.spent() ? tooManyEntries(size) : "ends inside its header (" + std::to_string(size) + " bytes)";
    VariantSink<Capacity> sink;
    while (!c.atEnd()) {
        const std::uint64_t at = c.position();
        std::int32_t length = 0;
        if (!c.i32(length))
            return "ends inside the length of the record at byte " + std::to_string(at);
        if (length < 1)
            continue;
        ByteCursor record;
        if (!c.sub(std::uint64_t(length), record))
            return "the record at byte " + std::to_string(at) + " claims " + std::to_string(length) +
                   " bytes, past the end at byte " + std::to_string(size);
        if (!readIndexRecord(record, format, sink, out, budget))
            return tooManyEntries(size);
    }
    return std::string();
}

template <int Capacity>
std::string readPackageIndex(const std::string& path, const IndexFormat& format, BasicPackageIndex<Capacity>& out,
                             std::ostream& log)
{
    const CString file = CString::fromPathBytes(path);
    const FilePtr opened(openFile(file, "rb"));
    const std::optional<std::uint64_t> size = opened ? bytesLeftInFile(opened.get()) : std::nullopt;
    std::string fault;
    std::string bytes;
    if (size && *size > kMaxIndexBytes)
        fault = "larger than " + std::to_string(kMaxIndexBytes) + " bytes";
    else if (!readWholeFile(file, bytes, kMaxIndexBytes))
        fault = "cannot be read";
    else
        fault = readPackageIndexBytes(ByteCursor(bytes.data(), bytes.size()), format, out);
    if (!fault.empty())
        sayOnce(log, path, "fail to read package index file " + path + ": " + fault);
    return fault;
}

template std::string readPackageIndex<32>(const std::string&, const IndexFormat&, PackageIndex&, std::ostream&);
template std::string readPackageIndex<128>(const std::string&, const IndexFormat&, PackageIndexV6&, std::ostream&);
template std::string readPackageIndexBytes<32>(ByteCursor, const IndexFormat&, PackageIndex&);
template std::string readPackageIndexBytes<128>(ByteCursor, const IndexFormat&, PackageIndexV6&);

}  // namespace Halvoren
