#include "model/legacy/ModelV0.h"

#include "model/file/MemoryStream.h"
#include "model/file/ProjectLists.h"
#include "model/file/RecordLoop.h"
#include "model/legacy/LegacyNotes.h"

namespace HVModel_V0 {

using HalvorenWin::CMemoryBuffer;
using HalvorenWin::CMemoryStream;
using HalvorenWin::readRecords;

Segment::Segment(int32_t pos, int32_t width)
    : PosWidthBlock(pos, width),
      amplitude{{-1, 128}, {HVCurrentModel::curveEndPos(width), 128}},
      pitch{{-1, -1}, {HVCurrentModel::curveEndPos(width), -1}}
{
}

HalvorenModel::~HalvorenModel()
{
    for (Tempo* t : tempos) delete t;
    for (Beat* b : beats) delete b;
}

namespace {

// A fixed field of UTF-16LE units, taken only when the whole field is there.
template <size_t N>
void readUtf16Field(CMemoryStream& in, char16_t (&field)[N])
{
    unsigned char bytes[2 * N];
    if (!in.readBytes(bytes, sizeof bytes)) return;
    for (size_t i = 0; i < N; ++i) field[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
}

// The nodes of a curve block, in file order.
void readCurve(CMemoryStream& in, Curve& curve)
{
    HVCurrentModel::NodeContainer nodes;
    HVCurrentModel::readNodeList(in, nodes);
    curve = nodes.toVector();
}

void readNotes(CMemoryStream& in, NoteContainer& notes)
{
    HalvorenWin::readLegacyNotes(in, notes, HVCurrentModel::kNoteRecordBytes, [](CMemoryStream& texts, Note& note) {
        readUtf16Field(texts, note.phoneticSymbol);
        readUtf16Field(texts, note.lyric);
    });
}

void readSegments(CMemoryStream& in, SegmentContainer& segments)
{
    uint32_t count = 0;
    in.readUInt(count);
    readRecords(in, count, sizeof(Segment), [&] {
        int32_t pos = 0, width = 0;
        in.readInt(pos);
        in.readInt(width);
        auto* seg = new Segment(pos, width);
        readUtf16Field(in, seg->name);
        readUtf16Field(in, seg->singer);
        CMemoryStream notes = in.readSubBlock("note list");
        CMemoryStream amplitude = in.readSubBlock("curve");
        CMemoryStream pitch = in.readSubBlock("curve");
        readNotes(notes, seg->notes);
        readCurve(amplitude, seg->amplitude);
        readCurve(pitch, seg->pitch);
        segments.push_back(seg);
    });
    in.expectEnd();
}

}  // namespace

ReadStop HalvorenModel::readBody(CMemoryBuffer& body, const ReadLimits& limits)
{
    ReadBudget budget(body.size(), limits);
    ReadStop stop;
    CMemoryStream in(body);
    in.budget = &budget;
    in.stop = &stop;
    uint32_t unused = 0;
    in.readUInt(unused);  // header word
    CMemoryStream tempoBlock = in.readSubBlock("tempo list");
    CMemoryStream beatBlock = in.readSubBlock("beat list");
    CMemoryStream segmentBlock = in.readSubBlock("segment list");
    HVCurrentModel::readTempoList(tempoBlock, tempos);
    HVCurrentModel::readBeatList(beatBlock, beats);
    readSegments(segmentBlock, segments);
    in.expectEnd();
    return stop;
}

}  // namespace HVModel_V0
