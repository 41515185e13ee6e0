// Reads the project body. Every read is bounds-checked: a field that is not
// wholly there keeps its default, a missing count counts as 0, and counts
// never make a loop outlast the bytes of its block. Each list parses its
// block to the end; where one does not, the body's ReadStop says so.
#include <memory>
#include <string>
#include <vector>

#include "model/file/BodyRead.h"
#include "model/file/ExtensionMarkers.h"
#include "model/file/FieldReaders.h"
#include "model/file/ProjectLists.h"
#include "model/file/RecordLoop.h"
#include "model/file/TrackList.h"
#include "platform/LittleEndian.h"

namespace HVCurrentModel {

using HalvorenWin::readBool;
using HalvorenWin::readRecords;

namespace {

// The stored form of the computed wave, which nearly every note holds.
const std::string& computedWaveBytes()
{
    static const std::string bytes = [] {
        std::string out(4u * VibratoCycle::kTableSize, '\0');
        const CycleTable wave;
        for (size_t i = 0; i < wave.size(); ++i) storeLittleEndian32(&out[4 * i], floatBits(wave[i]));
        return out;
    }();
    return bytes;
}

void readCurveBlock(CMemoryStream& in, ParamCurve& curve)
{
    CMemoryStream block = in.readSubBlock("curve");
    readNodeList(block, curve.nodes);
}

Track* readTrack(CMemoryStream& in, const HalvorenModel& model, int32_t kind, ClipCache& clips)
{
    auto track = std::make_unique<Track>(kind);
    if (model.ext2) in.readString(track->name);
    HalvorenWin::readMixerFields(in, *track);
    CMemoryStream segments = in.readSubBlock("segment list");
    if (kind == kSingingTrack)
        readSingSegments(segments, model, *track->singSegs);
    else
        readInstrumentSegments(segments, model, *track->instSegs, &clips);
    return track.release();
}

}  // namespace

ReadStop readBody(HalvorenModel& model, CMemoryBuffer& body, const ReadLimits& limits)
{
    return HalvorenWin::readWholeBody(body, limits, [&](CMemoryStream& in) {
        bool* const flags[7] = {&model.ext1, &model.ext2, &model.ext3, &model.ext4,
                                &model.ext5, &model.ext6, &model.ext7};
        for (int i = 0; i < 7; ++i) *flags[i] = in.readTag(kExtensionMarkers[i]);

        CMemoryStream tempoBlock = in.readSubBlock("tempo list");
        readTempoList(tempoBlock, model.tempos);
        CMemoryStream beatBlock = in.readSubBlock("beat list");
        readBeatList(beatBlock, model.beats);

        model.clearTracks();
        ClipCache clips;  // each clip file of the project is loaded once
        HalvorenWin::readTrackList(in, HalvorenWin::OtherTrackKinds::stop, sizeof(Track), [&](int32_t kind) {
            model.tracks.push_back(readTrack(in, model, kind, clips));
        });
    });
}

void readTempoList(CMemoryStream& in, std::vector<Tempo*>& tempos)
{
    uint32_t count = 0;
    in.readUInt(count);
    readRecords(in, count, sizeof(Tempo), [&] {
        auto* t = new Tempo;
        in.readInt(t->pos);
        in.readInt(t->tempo);
        tempos.push_back(t);
    });
    in.expectEnd();
}

void readBeatList(CMemoryStream& in, std::vector<Beat*>& beats)
{
    uint32_t count = 0;
    in.readUInt(count);
    readRecords(in, count, sizeof(Beat), [&] {
        auto* b = new Beat;
        in.readInt(b->pos);
        in.readInt(b->numerator);
        in.readInt(b->denominator);
        beats.push_back(b);
    });
    in.expectEnd();
}

void readSingSegments(CMemoryStream& in, const HalvorenModel& model, SingSegmentContainer& segs)
{
    uint32_t count = 0;
    in.readUInt(count);
    readRecords(in, count, sizeof(SingSegment), [&] {
        int32_t pos = 0, width = 0;
        in.readInt(pos);
        in.readInt(width);
        auto seg = std::make_unique<SingSegment>(pos, width);
        in.readString(seg->name);
        in.readString(seg->singer);
        CMemoryStream notes = in.readSubBlock("note list");
        readNotes(notes, model, seg->notes);
        readCurveBlock(in, seg->curve(kAmplitudeCurve));
        readCurveBlock(in, seg->curve(kPitchCurve));
        readCurveBlock(in, seg->curve(kPowerCurve));
        if (model.ext3) readCurveBlock(in, seg->curve(kBreathCurve));
        if (model.ext5) readCurveBlock(in, seg->curve(kGenderCurve));
        if (model.ext6) readCurveBlock(in, seg->curve(kBrightnessCurve));
        if (model.ext7) readCurveBlock(in, seg->curve(kCrossCurve));
        segs.push_back(seg.release());
    });
    in.expectEnd();
    // Placed as inserting them one by one would, in one sort and one sweep.
    segs.sortAndMarkOverlaps();
}

void readInstrumentSegments(CMemoryStream& in, const HalvorenModel& model, InstrumentSegmentContainer& segs,
                            ClipCache* clips)
{
    uint32_t count = 0;
    in.readUInt(count);
    readRecords(in, count, sizeof(InstrumentSegment), [&] {
        auto seg = std::make_unique<InstrumentSegment>();
        in.readInt(seg->pos);
        in.readInt(seg->width);
        in.readString(seg->name);
        in.readString(seg->audioPath);
        // A segment whose clip cannot be loaded stays, without sound, so
        // that saving the project keeps it.
        seg->loadAudio(model.path, clips);
        segs.push_back(seg.release());
    });
    in.expectEnd();
    segs.sortAndMarkOverlaps();
}

void readNotes(CMemoryStream& in, const HalvorenModel& model, NoteContainer& notes)
{
    uint32_t count = 0;
    in.readUInt(count);
    // Every note starts as a copy of one default note: copying the computed
    // vibrato wave is far cheaper than computing it again for each note.
    const Note defaults;
    readRecords(in, count, kNoteRecordBytes, [&] {
        auto note = std::make_unique<Note>(defaults);
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
        CMemoryStream vibrato = in.readSubBlock("vibrato");
        readVibrato(vibrato, note->vibrato);
        CMemoryStream cycle = in.readSubBlock("vibrato table");
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
    in.expectEnd();
}

void readVibrato(CMemoryStream& in, Vibrato& vibrato)
{
    readCurveBlock(in, vibrato.vibAmp);
    readCurveBlock(in, vibrato.vibFreq);
    readCurveBlock(in, vibrato.vibCurve);
    in.expectEnd();
}

void readVibratoCycle(CMemoryStream& in, VibratoCycle& cycle)
{
    uint32_t count = 0;
    in.readUInt(count);
    // The vibrato renderer indexes a whole table; a short or oversized one
    // would be read past its end, so only a complete table replaces the wave.
    // No writer stores another: its values are left unread.
    if (count != VibratoCycle::kTableSize) {
        if (count != 0 && in.recordsStop()) in.stopHere("holds " + std::to_string(count) + " values");
        in.expectEnd();
        return;
    }
    if (in.remaining() < 4u * VibratoCycle::kTableSize) {
        in.stopHere("cut short");
        return;
    }
    const char* bytes = in.buffer->data.data() + in.pos;
    if (computedWaveBytes().compare(0, std::string::npos, bytes, 4u * VibratoCycle::kTableSize) == 0) {
        cycle.table = CycleTable();  // shared, not decoded
    } else {
        std::vector<float> values(VibratoCycle::kTableSize);
        for (float& v : values) {
            v = floatFromBits(littleEndian32(bytes));
            bytes += 4;
        }
        cycle.table.assign(std::move(values));
    }
    in.pos += 4u * VibratoCycle::kTableSize;
    in.expectEnd();
}

void readNodeList(CMemoryStream& in, NodeContainer& nodes)
{
    nodes.clear();
    uint32_t count = 0;
    in.readUInt(count);
    readRecords(in, count, sizeof(CurveNode), [&] {
        CurveNode node;
        in.readInt(node.pos);
        in.readInt(node.value);
        nodes.pushBack(node);
    });
    in.expectEnd();
}

}  // namespace HVCurrentModel
