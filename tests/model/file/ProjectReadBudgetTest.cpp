#include <gtest/gtest.h>

#include <string>

#include "model/file/ProjectLists.h"
#include "support/ByteBuilder.h"

using hvtest::ByteBuilder;
using namespace HVCurrentModel;

namespace {

// The smallest note of a body without extension markers: four integers, the
// two words of the older layout, two empty texts, the overlap byte and two
// empty blocks (41 bytes).
ByteBuilder minimalNote(int32_t pos)
{
    ByteBuilder b;
    b.i32(pos).i32(10).i32(60).i32(0).u32(0).u32(0).str("").str("").u8(0);
    return b.block(ByteBuilder()).block(ByteBuilder());
}

// No markers, no tempos or beats, one singing track holding one segment of
// `notes` minimal notes.
CMemoryBuffer bodyWithNotes(int notes)
{
    ByteBuilder noteList;
    noteList.u32(static_cast<uint32_t>(notes));
    for (int i = 0; i < notes; ++i) noteList.raw(minimalNote(10 * i).bytes);
    const ByteBuilder emptyList = ByteBuilder().u32(0);
    ByteBuilder segs;
    segs.u32(1).i32(0).i32(10000).str("s").str("x").block(noteList);
    segs.block(emptyList).block(emptyList).block(emptyList);
    ByteBuilder body;
    body.block(emptyList).block(emptyList).u32(1).u32(kSingingTrack).u8(0).u8(0).i32(30).f32(0.0f).block(segs);
    CMemoryBuffer buffer;
    buffer.append(body.bytes.data(), body.size());
    return buffer;
}

// The notes read of `notes`; stopWhat becomes what the read stopped at, ""
// when it read to its end (the minimal notes' empty vibrato blocks are
// damage of those blocks alone).
size_t notesRead(const ReadLimits& limits, int notes, std::string* stopWhat = nullptr)
{
    CMemoryBuffer body = bodyWithNotes(notes);
    HalvorenModel model;
    const ReadStop stop = readBody(model, body, limits);
    if (stopWhat) *stopWhat = stop.stopped ? stop.what : "";
    EXPECT_EQ(model.tracks.size(), 1u);
    EXPECT_EQ(model.tracks.at(0)->singSegs->size(), 1u) << "the segment is whole";
    return model.tracks.at(0)->singSegs->segAt(0)->notes.size();
}

}  // namespace

TEST(ProjectReadBudget, ReadStopsWhereTheBudgetIsSpentKeepingWhatIsWhole)
{
    ReadLimits fixed;
    fixed.recordsPerFileByte = 0;
    // The budget ends every loop of the file: a stop however deep it is spent.
    const std::string spent = "note list builds more than a file of its size may";
    struct Case {
        uint64_t records;
        size_t notes;  // records - 1 track - 1 segment
        std::string stop;
    };
    const Case cases[] = {{5, 3, spent}, {2, 0, spent}, {12, 10, ""}, {100, 10, ""}};
    for (const Case& c : cases) {
        fixed.recordBase = c.records;
        std::string stop;
        EXPECT_EQ(notesRead(fixed, 10, &stop), c.notes) << c.records << " records";
        EXPECT_EQ(stop, c.stop) << c.records << " records";
    }
}

TEST(ProjectReadBudget, BlocksNestedTooDeepReadAsEmpty)
{
    // Body 0, segment list 1, note list 2, a note's vibrato block 3. A block
    // too deep spends the budget, so no block past it makes a record: it is
    // where the read stops, not damage of the block it lies in.
    struct Case {
        uint32_t depth;
        size_t notes;
        std::string stop;
    };
    const Case cases[] = {
        {1, 0, "note list nested too deep"},  // the note list is refused
        {2, 1, "vibrato nested too deep"},    // the first note's vibrato block spends the budget
        {4, 5, ""},                           // a vibrato's curves sit at depth 4
    };
    for (const Case& c : cases) {
        ReadLimits limits;
        limits.maxDepth = c.depth;
        std::string stop;
        EXPECT_EQ(notesRead(limits, 5, &stop), c.notes) << "depth " << c.depth;
        EXPECT_EQ(stop, c.stop) << "depth " << c.depth;
    }
}

TEST(ProjectReadBudget, DefaultBudgetReadsEveryNoteOfAFileThatFitsIt)
{
    // 2,000 minimal notes take 82,000 bytes: far inside 64 MiB plus 256
    // bytes per file byte, whatever a note builds.
    EXPECT_EQ(notesRead(ReadLimits(), 2000), 2000u);
}
