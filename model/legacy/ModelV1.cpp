#include "model/legacy/ModelV1.h"

#include "model/file/BodyRead.h"
#include "model/file/MemoryStream.h"
#include "model/file/ProjectLists.h"
#include "model/file/RecordLoop.h"
#include "model/file/TrackList.h"
#include "model/legacy/LegacyNotes.h"

namespace HVModel_V1 {

using HalvorenWin::CMemoryBuffer;
using HalvorenWin::CMemoryStream;
using HalvorenWin::readRecords;

SingSegment::SingSegment(int32_t pos, int32_t width)
    : BaseSegment(pos, width),
      amplitude{{-1, 128}, {HVCurrentModel::curveEndPos(width), 128}},
      pitch{{-1, -1}, {HVCurrentModel::curveEndPos(width), -1}}
{
}

Track::Track(int32_t kind) : kind(kind)
{
    if (kind == 0) singSegs = new SingSegmentContainer;
    if (kind == 1) instSegs = new InstrumentSegmentContainer;
}

Track::~Track()
{
    delete singSegs;
    delete instSegs;
}

HalvorenModel::HalvorenModel() : ObjWithVersion(kVersion)
{
    tracks.push_back(new Track(0));
    tracks.push_back(new Track(1));
}

HalvorenModel::~HalvorenModel()
{
    clearTracks();
    for (Tempo* t : tempos) delete t;
    for (Beat* b : beats) delete b;
}

void HalvorenModel::clearTracks()
{
    for (Track* t : tracks) delete t;
    tracks.clear();
}

bool HalvorenModel::upgrade(const ObjWithVersion& older)
{
    return upgradeThroughChain(ObjWithVersion::version, older);
}

namespace {

void readNotes(CMemoryStream& in, NoteContainer& notes)
{
    HalvorenWin::readLegacyNotes(in, notes, HVCurrentModel::kNoteRecordBytes, [](CMemoryStream& texts, Note& note) {
        texts.readString(note.phoneticSymbol);
        texts.readString(note.lyric);
    });
}

void readSingSegments(CMemoryStream& in, SingSegmentContainer& segs)
{
    uint32_t count = 0;
    in.readUInt(count);
    readRecords(in, count, sizeof(SingSegment), [&] {
        int32_t pos = 0, width = 0;
        in.readInt(pos);
        in.readInt(width);
        auto* seg = new SingSegment(pos, width);
        in.readString(seg->name);
        in.readString(seg->singer);
        CMemoryStream notes = in.readSubBlock("note list");
        CMemoryStream amplitude = in.readSubBlock("curve");
        CMemoryStream pitch = in.readSubBlock("curve");
        readNotes(notes, seg->notes);
        HVCurrentModel::readNodeList(amplitude, seg->amplitude.nodes);
        HVCurrentModel::readNodeList(pitch, seg->pitch.nodes);
        segs.push_back(seg);
    });
    in.expectEnd();
    segs.sortAndMarkOverlaps();
}

// Whether an instrumental track's segments block holds segments: anything
// but no bytes or a count of 0.
bool holdsSegments(const CMemoryStream& block)
{
    if (block.remaining() != 4) return block.remaining() != 0;
    CMemoryStream probe = block;
    uint32_t count = 0;
    probe.readUInt(count);
    return count != 0;
}

}  // namespace

ReadStop HalvorenModel::readBody(CMemoryBuffer& body, const ReadLimits& limits)
{
    return HalvorenWin::readWholeBody(body, limits, [&](CMemoryStream& in) {
        CMemoryStream tempoBlock = in.readSubBlock("tempo list");
        CMemoryStream beatBlock = in.readSubBlock("beat list");
        HVCurrentModel::readTempoList(tempoBlock, tempos);
        HVCurrentModel::readBeatList(beatBlock, beats);

        clearTracks();
        HalvorenWin::readTrackList(in, HalvorenWin::OtherTrackKinds::skipped, sizeof(Track), [&](int32_t kind) {
            auto* track = new Track(kind);
            HalvorenWin::readMixerFields(in, *track);
            CMemoryStream segments = in.readSubBlock("segment list");
            tracks.push_back(track);
            // The segments of an instrumental track cannot be read back: the
            // track keeps its mixer settings and starts empty, and segments
            // it held are named as left out.
            if (track->singSegs)
                readSingSegments(segments, *track->singSegs);
            else if (in.stop && holdsSegments(segments))
                in.stop->leave("the segments of instrumental track " + std::to_string(tracks.size()));
        });
    });
}

}  // namespace HVModel_V1
