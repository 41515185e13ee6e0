#include "model/legacy/ModelV0.h"

#include "model/file/MemoryStream.h"
#include "model/file/ProjectLists.h"
#include "model/file/RecordLoop.h"

namespace HVModel_V0 {

using HalvorenWin::CMemoryBuffer;
using HalvorenWin::CMemoryStream;
using HalvorenWin::readRecords;

Segment::Segment(int32_t pos, int32_t width)
    : PosWidthBlock(pos, width),
      amplitude{{-1, 128}, {width + 1, 128}},
      pitch{{-1, -1}, {width + 1, -1}}
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

void readCurve(CMemoryStream& in, Curve& curve)
{
    curve.clear();
    uint32_t count = 0;
    in.readUInt(count);
    readRecords(in, count, [&] {
        CurveNode node;
        in.readInt(node.pos);
        in.readInt(node.value);
        curve.push_back(node);
    });
}

void readNotes(CMemoryStream& in, NoteContainer& notes)
{
    uint32_t count = 0;
    in.readUInt(count);
    readRecords(in, count, [&] {
        auto* note = new Note;
        in.readInt(note->pos);
        in.readInt(note->width);
        in.readInt(note->key);
        in.readInt(note->extraInt1);
        in.readInt(note->extraInt2);
        in.readFloat(note->extraReal1);
        in.readFloat(note->extraReal2);
        readUtf16Field(in, note->phoneticSymbol);
        readUtf16Field(in, note->lyric);
        uint8_t overlapped = 0;
        if (in.readByte(overlapped)) note->overlapped = overlapped != 0;
        notes.push_back(note);
    });
}

void readSegments(CMemoryStream& in, SegmentContainer& segments)
{
    uint32_t count = 0;
    in.readUInt(count);
    readRecords(in, count, [&] {
        int32_t pos = 0, width = 0;
        in.readInt(pos);
        in.readInt(width);
        auto* seg = new Segment(pos, width);
        readUtf16Field(in, seg->name);
        readUtf16Field(in, seg->singer);
        CMemoryStream notes = in.readSubBlock();
        CMemoryStream amplitude = in.readSubBlock();
        CMemoryStream pitch = in.readSubBlock();
        readNotes(notes, seg->notes);
        readCurve(amplitude, seg->amplitude);
        readCurve(pitch, seg->pitch);
        segments.push_back(seg);
    });
}

}  // namespace

void HalvorenModel::readBody(CMemoryBuffer& body)
{
    CMemoryStream in(body);
    if (in.remaining() >= 4) in.pos += 4;  // header word, not used
    CMemoryStream tempoBlock = in.readSubBlock();
    CMemoryStream beatBlock = in.readSubBlock();
    CMemoryStream segmentBlock = in.readSubBlock();
    HVCurrentModel::readTempoList(tempoBlock, tempos);
    HVCurrentModel::readBeatList(beatBlock, beats);
    readSegments(segmentBlock, segments);
}

}  // namespace HVModel_V0
