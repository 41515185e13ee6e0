#include "model/legacy/ModelV0.h"

#include "model/file/BodyRead.h"
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

// The next sub-block, its list parsed by readList. This generation may store
// an empty list as a block of no bytes, without its count: such a block
// reads as an empty list, where a count cut short in a block of one to three
// bytes is damage of that block.
template <class ReadList>
void readListBlock(CMemoryStream& in, const char* name, ReadList readList)
{
    CMemoryStream block = in.readSubBlock(name);
    if (block.remaining() > 0) readList(block);
}

// The nodes of a curve block, in file order; the default end nodes go even
// when the block holds none.
void readCurve(CMemoryStream& in, Curve& curve)
{
    HVCurrentModel::NodeContainer nodes;
    readListBlock(in, "curve", [&](CMemoryStream& block) { HVCurrentModel::readNodeList(block, nodes); });
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
        readListBlock(in, "note list", [&](CMemoryStream& block) { readNotes(block, seg->notes); });
        readCurve(in, seg->amplitude);
        readCurve(in, seg->pitch);
        segments.push_back(seg);
    });
    in.expectEnd();
}

}  // namespace

ReadStop HalvorenModel::readBody(CMemoryBuffer& body, const ReadLimits& limits)
{
    return HalvorenWin::readWholeBody(body, limits, [&](CMemoryStream& in) {
        uint32_t unused = 0;
        in.readUInt(unused);  // header word
        readListBlock(in, "tempo list", [&](CMemoryStream& block) { HVCurrentModel::readTempoList(block, tempos); });
        readListBlock(in, "beat list", [&](CMemoryStream& block) { HVCurrentModel::readBeatList(block, beats); });
        readListBlock(in, "segment list", [&](CMemoryStream& block) { readSegments(block, segments); });
    });
}

}  // namespace HVModel_V0
