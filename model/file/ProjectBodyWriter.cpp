// Writes the project body. Every field of every record is written, and all
// seven extension markers; the model's extension flags are not consulted.
#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

#include "model/file/ExtensionMarkers.h"
#include "platform/LittleEndian.h"
#include "model/file/ProjectLists.h"
#include "model/file/SubBlock.h"

namespace HVCurrentModel {

using HalvorenWin::writeSubBlock;

namespace {

// Only these tracks can be read back: a track of another kind would be
// written without the segment list the reader expects after its mixer fields.
bool isStoredTrack(const Track& track)
{
    return (track.kind == kSingingTrack && track.singSegs) || (track.kind == kInstrumentTrack && track.instSegs);
}

void writeCurveBlock(const ParamCurve& curve, CMemoryStream& out)
{
    writeSubBlock(out, [&] { writeNodeList(curve.nodes, out); });
}

void writeTrack(const Track& track, CMemoryStream& out)
{
    out.writeUInt(static_cast<uint32_t>(track.kind));
    out.writeString(track.name);
    out.writeByte(track.muted);
    out.writeByte(track.solo);
    out.writeInt(track.volume);
    out.writeFloat(track.balance);
    writeSubBlock(out, [&] {
        if (track.kind == kSingingTrack)
            writeSingSegments(*track.singSegs, out);
        else
            writeInstrumentSegments(*track.instSegs, out);
    });
}

// A string as writeString stores it: its count, then its bytes up to the
// first NUL.
uint64_t stringBytes(const std::string& text) { return 4 + std::strlen(text.c_str()); }

uint64_t curveBlockBytes(const ParamCurve& curve) { return 8 + 8 * uint64_t{curve.nodes.size()}; }

uint64_t noteBytes(const Note& n)
{
    const Vibrato& v = n.vibrato;
    const uint64_t vibrato = 4 + curveBlockBytes(v.vibAmp) + curveBlockBytes(v.vibFreq) + curveBlockBytes(v.vibCurve);
    const uint64_t cycle = 8 + 4 * uint64_t{n.cycle.table.size()};
    // Numbers 16, flag 1, element times 18, expression 16, timbres 8.
    return 16 + stringBytes(n.phoneticSymbol) + stringBytes(n.lyric) + 1 + vibrato + cycle + 18 + 16 + 8 +
           stringBytes(n.crossSymbol);
}

uint64_t segmentListBytes(const Track& track)
{
    uint64_t bytes = 4;
    for (size_t i = 0; track.kind == kInstrumentTrack && i < track.instSegs->size(); ++i)
        bytes += 8 + stringBytes(track.instSegs->segAt(i)->name) + stringBytes(track.instSegs->segAt(i)->audioPath);
    for (size_t i = 0; track.kind == kSingingTrack && i < track.singSegs->size(); ++i) {
        const SingSegment& seg = *track.singSegs->segAt(i);
        bytes += 8 + stringBytes(seg.name) + stringBytes(seg.singer) + 8;
        for (const Note* n : seg.notes) bytes += noteBytes(*n);
        for (CurveSlot slot : kSavedCurveSlots) bytes += curveBlockBytes(seg.curve(slot));
    }
    return bytes;
}

}  // namespace

uint64_t bodyBytes(const HalvorenModel& model)
{
    uint64_t bytes = 4 * 7 + 8 + 8 * uint64_t{model.tempos.size()} + 8 + 12 * uint64_t{model.beats.size()} + 4;
    for (const Track* t : model.tracks)
        if (isStoredTrack(*t)) bytes += 4 + stringBytes(t->name) + 10 + 4 + segmentListBytes(*t);
    return bytes;
}

void writeBody(const HalvorenModel& model, CMemoryBuffer& out)
{
    out.clear();
    out.data.reserve(bodyBytes(model));
    CMemoryStream s(out);
    for (const char* marker : kExtensionMarkers) s.writeTag(marker);
    writeSubBlock(s, [&] { writeTempoList(model.tempos, s); });
    writeSubBlock(s, [&] { writeBeatList(model.beats, s); });
    uint32_t stored = 0;
    for (const Track* t : model.tracks) stored += isStoredTrack(*t);
    s.writeUInt(stored);
    for (const Track* t : model.tracks)
        if (isStoredTrack(*t)) writeTrack(*t, s);
}

void writeTempoList(const std::vector<Tempo*>& tempos, CMemoryStream& out)
{
    out.writeUInt(static_cast<uint32_t>(tempos.size()));
    for (const Tempo* t : tempos) {
        out.writeInt(t->pos);
        out.writeInt(t->tempo);
    }
}

void writeBeatList(const std::vector<Beat*>& beats, CMemoryStream& out)
{
    out.writeUInt(static_cast<uint32_t>(beats.size()));
    for (const Beat* b : beats) {
        out.writeInt(b->pos);
        out.writeInt(b->numerator);
        out.writeInt(b->denominator);
    }
}

void writeSingSegments(const SingSegmentContainer& segs, CMemoryStream& out)
{
    out.writeUInt(static_cast<uint32_t>(segs.size()));
    for (size_t i = 0; i < segs.size(); ++i) {
        const SingSegment& seg = *segs.segAt(i);
        out.writeInt(seg.pos);
        out.writeInt(seg.width);
        out.writeString(seg.name);
        out.writeString(seg.singer);
        writeSubBlock(out, [&] { writeNotes(seg.notes, out); });
        for (CurveSlot slot : kSavedCurveSlots) writeCurveBlock(seg.curve(slot), out);
    }
}

void writeInstrumentSegments(const InstrumentSegmentContainer& segs, CMemoryStream& out)
{
    out.writeUInt(static_cast<uint32_t>(segs.size()));
    for (size_t i = 0; i < segs.size(); ++i) {
        const InstrumentSegment& seg = *segs.segAt(i);
        out.writeInt(seg.pos);
        out.writeInt(seg.width);
        out.writeString(seg.name);
        out.writeString(seg.audioPath);
    }
}

void writeNotes(const NoteContainer& notes, CMemoryStream& out)
{
    out.writeUInt(static_cast<uint32_t>(notes.size()));
    for (const Note* n : notes) {
        out.writeInt(n->pos);
        out.writeInt(n->width);
        out.writeInt(n->key);
        out.writeInt(n->vibPercent);
        out.writeString(n->phoneticSymbol);
        out.writeString(n->lyric);
        out.writeByte(n->overlapped);
        writeSubBlock(out, [&] { writeVibrato(n->vibrato, out); });
        writeSubBlock(out, [&] { writeFloatVector(n->cycle.table.values(), out); });
        out.writeByte(n->elemTimesSet);
        out.writeFloat(n->timeFactor1);
        out.writeByte(n->timesFlag);
        out.writeFloat(n->timeFactor2);
        out.writeFloat(n->timeFactor3);
        out.writeFloat(n->timeFactor4);
        out.writeInt(n->bendDep);
        out.writeInt(n->bendLen);
        out.writeInt(n->tailChg);
        out.writeInt(n->headChg);
        out.writeInt(n->timbreIndex);
        out.writeString(n->crossSymbol);
        out.writeInt(n->crossTimbre);
    }
}

void writeVibrato(const Vibrato& vibrato, CMemoryStream& out)
{
    writeCurveBlock(vibrato.vibAmp, out);
    writeCurveBlock(vibrato.vibFreq, out);
    writeCurveBlock(vibrato.vibCurve, out);
}

void writeFloatVector(const std::vector<float>& values, CMemoryStream& out)
{
    out.writeUInt(static_cast<uint32_t>(values.size()));
    if constexpr (std::endian::native == std::endian::little) {
        // Floats are stored in the host's own byte order here.
        out.writeBytes(values.data(), 4 * values.size());
        return;
    }
    constexpr size_t kChunk = 256;
    char bytes[4 * kChunk];
    for (size_t first = 0; first < values.size(); first += kChunk) {
        const size_t n = std::min(kChunk, values.size() - first);
        for (size_t k = 0; k < n; ++k) storeLittleEndian32(bytes + 4 * k, floatBits(values[first + k]));
        out.writeBytes(bytes, 4 * n);
    }
}

void writeNodeList(const NodeContainer& nodes, CMemoryStream& out)
{
    out.writeUInt(static_cast<uint32_t>(nodes.size()));
    for (const CurveNode& node : nodes) {
        out.writeInt(node.pos);
        out.writeInt(node.value);
    }
}

}  // namespace HVCurrentModel
