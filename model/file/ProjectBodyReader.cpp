// Reads the project body. Every read is bounds-checked: a field that is not
// wholly there keeps its default, a missing count counts as 0, and counts
// never make a loop outlast the bytes of its block.
#include <memory>

#include "model/file/ExtensionMarkers.h"
#include "model/file/ProjectLists.h"
#include "model/file/RecordLoop.h"

namespace HVCurrentModel {

using HalvorenWin::readRecords;

namespace {

void readBool(CMemoryStream& in, bool& target)
{
    uint8_t v = 0;
    if (in.readByte(v)) target = v != 0;
}

void readCurveBlock(CMemoryStream& in, ParamCurve& curve)
{
    CMemoryBuffer block;
    in.readBlock(block);
    readNodeList(block, curve.nodes);
}

Track* readTrack(CMemoryStream& in, const HalvorenModel& model, int32_t kind)
{
    auto track = std::make_unique<Track>(kind);
    if (model.ext2) in.readString(track->name);
    readBool(in, track->muted);
    readBool(in, track->solo);
    in.readInt(track->volume);
    in.readFloat(track->balance);
    CMemoryBuffer segments;
    in.readBlock(segments);
    if (kind == kSingingTrack)
        readSingSegments(segments, model, *track->singSegs);
    else
        readInstrumentSegments(segments, model, *track->instSegs);
    return track.release();
}

}  // namespace

void readBody(HalvorenModel& model, CMemoryBuffer& body)
{
    CMemoryStream in(body);
    bool* const flags[7] = {&model.ext1, &model.ext2, &model.ext3, &model.ext4,
                            &model.ext5, &model.ext6, &model.ext7};
    for (int i = 0; i < 7; ++i) *flags[i] = in.readTag(kExtensionMarkers[i]);

    CMemoryBuffer tempoBlock, beatBlock;
    in.readBlock(tempoBlock);
    readTempoList(tempoBlock, model.tempos);
    in.readBlock(beatBlock);
    readBeatList(beatBlock, model.beats);

    model.clearTracks();
    uint32_t count = 0;
    in.readUInt(count);
    readRecords(in, count, [&] {
        uint32_t kind = 0;
        if (!in.readUInt(kind)) return;
        // A track of another kind stores nothing after its kind.
        if (kind == kSingingTrack || kind == kInstrumentTrack)
            model.tracks.push_back(readTrack(in, model, static_cast<int32_t>(kind)));
    });
}

void readTempoList(CMemoryBuffer& block, std::vector<Tempo*>& tempos)
{
    CMemoryStream in(block);
    uint32_t count = 0;
    in.readUInt(count);
    readRecords(in, count, [&] {
        auto* t = new Tempo;
        in.readInt(t->pos);
        in.readInt(t->tempo);
        tempos.push_back(t);
    });
}

void readBeatList(CMemoryBuffer& block, std::vector<Beat*>& beats)
{
    CMemoryStream in(block);
    uint32_t count = 0;
    in.readUInt(count);
    readRecords(in, count, [&] {
        auto* b = new Beat;
        in.readInt(b->pos);
        in.readInt(b->numerator);
        in.readInt(b->denominator);
        beats.push_back(b);
    });
}

void readSingSegments(CMemoryBuffer& block, const HalvorenModel& model, SingSegmentContainer& segs)
{
    CMemoryStream in(block);
    uint32_t count = 0;
    in.readUInt(count);
    readRecords(in, count, [&] {
        int32_t pos = 0, width = 0;
        in.readInt(pos);
        in.readInt(width);
        auto seg = std::make_unique<SingSegment>(pos, width);
        in.readString(seg->name);
        in.readString(seg->singer);
        CMemoryBuffer notes;
        in.readBlock(notes);
        readNotes(notes, model, seg->notes);
        readCurveBlock(in, seg->curve(kAmplitudeCurve));
        readCurveBlock(in, seg->curve(kPitchCurve));
        readCurveBlock(in, seg->curve(kPowerCurve));
        if (model.ext3) readCurveBlock(in, seg->curve(kBreathCurve));
        if (model.ext5) readCurveBlock(in, seg->curve(kGenderCurve));
        if (model.ext6) readCurveBlock(in, seg->curve(kBrightnessCurve));
        if (model.ext7) readCurveBlock(in, seg->curve(kCrossCurve));
        insertSegmentSorted(segs, seg.release());
    });
}

void readInstrumentSegments(CMemoryBuffer& block, const HalvorenModel& model, InstrumentSegmentContainer& segs)
{
    CMemoryStream in(block);
    uint32_t count = 0;
    in.readUInt(count);
    readRecords(in, count, [&] {
        auto seg = std::make_unique<InstrumentSegment>();
        in.readInt(seg->pos);
        in.readInt(seg->width);
        in.readString(seg->name);
        in.readString(seg->audioPath);
        // A clip whose file cannot be found is left out of the project.
        if (seg->loadAudio(model.path)) insertSegmentSorted(segs, seg.release());
    });
}

void readNotes(CMemoryBuffer& block, const HalvorenModel& model, NoteContainer& notes)
{
    CMemoryStream in(block);
    uint32_t count = 0;
    in.readUInt(count);
    readRecords(in, count, [&] {
        auto note = std::make_unique<Note>();
        in.readInt(note->pos);
        in.readInt(note->width);
        in.readInt(note->key);
        in.readInt(note->vibPercent);
        if (!model.ext2) {  // two words of an older layout
            uint32_t unused;
            in.readUInt(unused);
            in.readUInt(unused);
        }
        in.readString(note->phoneticSymbol);
        in.readString(note->lyric);
        readBool(in, note->overlapped);
        CMemoryBuffer vibrato, cycle;
        in.readBlock(vibrato);
        readVibrato(vibrato, note->vibrato);
        in.readBlock(cycle);
        readVibratoCycle(cycle, note->cycle);
        if (model.ext1) {
            readBool(in, note->elemTimesSet);
            in.readFloat(note->timeFactor1);
            in.readByte(note->timesFlag);
            in.readFloat(note->timeFactor2);
            in.readFloat(note->timeFactor3);
            in.readFloat(note->timeFactor4);
        }
        if (model.ext2) {
            in.readInt(note->bendDep);
            in.readInt(note->bendLen);
            in.readInt(note->tailChg);
            in.readInt(note->headChg);
        }
        if (model.ext4) in.readInt(note->timbreIndex);
        if (model.ext7) {
            in.readString(note->crossSymbol);
            in.readInt(note->crossTimbre);
        }
        notes.push_back(note.release());
    });
}

void readVibrato(CMemoryBuffer& block, Vibrato& vibrato)
{
    CMemoryStream in(block);
    readCurveBlock(in, vibrato.vibAmp);
    readCurveBlock(in, vibrato.vibFreq);
    readCurveBlock(in, vibrato.vibCurve);
}

void readVibratoCycle(CMemoryBuffer& block, VibratoCycle& cycle)
{
    CMemoryStream in(block);
    uint32_t count = 0;
    in.readUInt(count);
    // The vibrato renderer indexes a whole table; a short or oversized one
    // would be read past its end, so only a complete table replaces the wave.
    if (count != VibratoCycle::kTableSize || in.remaining() < 4u * VibratoCycle::kTableSize) return;
    cycle.table.resize(VibratoCycle::kTableSize);
    for (float& v : cycle.table) in.readFloat(v);
}

void readNodeList(CMemoryBuffer& block, NodeContainer& nodes)
{
    nodes.clear();
    CMemoryStream in(block);
    uint32_t count = 0;
    in.readUInt(count);
    readRecords(in, count, [&] {
        CurveNode node;
        in.readInt(node.pos);
        in.readInt(node.value);
        nodes.pushBack(node);
    });
}

}  // namespace HVCurrentModel
