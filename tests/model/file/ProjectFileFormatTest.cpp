#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>

#include "ProjectFixtures.h"
#include "model/file/ProjectFile.h"
#include "model/file/ProjectLists.h"
#include "platform/MessageBox.h"
#include "support/ByteBuilder.h"
#include "support/ScratchDir.h"

using namespace HVCurrentModel;
using hvtest::ByteBuilder;
using hvtest::curveBlock;

using hvtest::bodyStart;
using hvtest::cycleBlock;
using hvtest::kAllMarkers;
using hvtest::vibratoBlock;

TEST(ProjectFileFormat, SavedBytesMatchTheLayoutByteForByte)
{
    hvtest::ScratchDir dir("projfmt");
    const CString path = CString::fromUtf8(dir.file("golden.ot"));
    HalvorenModel model;
    auto* track = new Track(kSingingTrack);
    model.tracks.push_back(track);
    auto* seg = new SingSegment(0, 1920);
    seg->name = "s", seg->singer = "x";
    auto* note = new Note;
    note->width = 480, note->key = 60;
    seg->notes.insertSorted(note);
    insertSegmentSorted(*track->singSegs, seg);
    ASSERT_EQ(saveProjectFile(model, path), 0);

    ByteBuilder noteRecord;
    noteRecord.i32(0).i32(480).i32(60).i32(0).str("la").str("la").u8(0);
    noteRecord.block(vibratoBlock(0)).block(cycleBlock(Note().cycle.table.values()));
    noteRecord.u8(0).f32(1).u8(0).f32(1).f32(1).f32(1).i32(0).i32(0).i32(25).i32(20).i32(-1).str("").i32(-1);
    EXPECT_EQ(noteRecord.size(), 4239u);
    const ByteBuilder amplitude = curveBlock({{-1, 128}, {1921, 128}});
    EXPECT_EQ(ByteBuilder().block(amplitude).size(), 24u);
    ByteBuilder segs;
    segs.u32(1).i32(0).i32(1920).str("s").str("x").block(ByteBuilder().u32(1).raw(noteRecord.bytes));
    segs.block(amplitude).block(curveBlock({{-1, -1}, {1921, -1}}));
    for (int k = 0; k < 4; ++k) segs.block(amplitude);  // Power, Breath, Gender, Brightness
    segs.block(curveBlock({{-1, 0}, {1921, 0}}));
    ByteBuilder body = bodyStart(kAllMarkers, ByteBuilder().u32(0), 1);
    body.u32(0).str(track->name).u8(0).u8(0).i32(30).f32(0.0f).block(segs);
    const std::string saved = hvtest::readFileBytes(dir.file("golden.ot"));
    EXPECT_EQ(saved, hvtest::taggedFile(5, body.bytes));

    // The wave table written with the note, pinned by value. The note record
    // is 16 bytes of numbers, 6 + 6 of texts, 1 of flag and 60 of vibrato
    // block (4 + 24 + 24 + 8); then the cycle block: its size 4 + 4 * 1024 =
    // 4100, the count 1024, and entry i at 97 + 4 i. Expected values from the
    // wave's formula evaluated apart, with p * y in single precision.
    const size_t record = saved.find(ByteBuilder().i32(0).i32(480).i32(60).i32(0).str("la").str("la").bytes);
    ASSERT_NE(record, std::string::npos);
    EXPECT_EQ(saved.substr(record + 89, 8), std::string("\x04\x10\x00\x00\x00\x04\x00\x00", 8));
    const struct {
        int index;
        uint32_t bits;  // of the float
        const char* bytes;
    } entries[] = {
        {0, 0xb452ef07, "\x07\xef\x52\xb4"},   // -1.9644732e-07
        {49, 0xbe974948, "\x48\x49\x97\xbe"},  // -0.29548097
        {75, 0xbee3599c, "\x9c\x59\xe3\xbe"},  // -0.44404304
        {256, 0xbf7fd9ae, "\xae\xd9\x7f\xbf"}, // -0.99941528
        {512, 0x00000000, "\x00\x00\x00\x00"}, // +0
        {768, 0x3f7fd9ae, "\xae\xd9\x7f\x3f"}, // 0.99941528
    };
    const VibratoCycle cycle;
    for (const auto& e : entries) {
        EXPECT_EQ(std::bit_cast<uint32_t>(cycle.table[e.index]), e.bits) << "table[" << e.index << "]";
        EXPECT_EQ(saved.substr(record + 97 + 4 * e.index, 4), std::string(e.bytes, 4)) << "table[" << e.index << "]";
    }
}

// Bodies of older editors: each lacks some markers and the fields they guard.
TEST(ProjectFileFormat, MissingMarkersLeaveTheirFieldsAtDefaults)
{
    const std::vector<float> flat(1024, 0.5f);
    for (std::string markers : {"ext1ext2ext3ext4ext5ext6ext7", "ext1ext3ext4ext5ext6ext7",
                                "ext1ext2ext4ext5ext6ext7", "ext1ext2ext3ext4ext5ext6", "ext2", ""}) {
        SCOPED_TRACE(markers);
        auto has = [&](const std::string& m) { return markers.find(m) != std::string::npos; };
        auto m = hvtest::loadProjectBytes(hvtest::taggedFile(5, hvtest::markersBody(markers).bytes));
        ASSERT_TRUE(m);
        const bool flags[7] = {m->ext1, m->ext2, m->ext3, m->ext4, m->ext5, m->ext6, m->ext7};
        for (int i = 0; i < 7; ++i) EXPECT_EQ(flags[i], has("ext" + std::to_string(i + 1)));
        EXPECT_EQ(m->tempos.at(0)->tempo, 15000);
        const Track& t = *m->tracks.at(0);
        EXPECT_EQ(t.name, has("ext2") ? "named" : Track(kSingingTrack).name);
        EXPECT_TRUE(t.solo && t.volume == 50);
        const SingSegment& seg = *t.singSegs->segAt(0);
        const Note& n = *seg.notes[0];
        EXPECT_EQ(n.phoneticSymbol + n.lyric, "syly");
        EXPECT_TRUE(n.overlapped);  // as stored
        EXPECT_EQ(n.vibrato.vibAmp.nodes.front().value, 9);
        EXPECT_EQ(n.cycle.table, flat);
        EXPECT_EQ(n.timeFactor4, has("ext1") ? 5.0f : 1.0f);
        EXPECT_EQ(n.headChg, has("ext2") ? 4 : 20);
        EXPECT_EQ(n.timbreIndex, has("ext4") ? 9 : -1);
        EXPECT_EQ(n.crossSymbol, has("ext7") ? "cs" : "");
        EXPECT_EQ(n.crossTimbre, has("ext7") ? 8 : -1);
        EXPECT_EQ(seg.curve(kPowerCurve).nodes.front().value, 7);
        EXPECT_EQ(seg.curve(kBreathCurve).nodes.front().value, has("ext3") ? 7 : 128);
        EXPECT_EQ(seg.curve(kBrightnessCurve).nodes.back().value, has("ext6") ? 7 : 128);
        EXPECT_EQ(seg.curve(kCrossCurve).nodes.front().value, has("ext7") ? 7 : 0);
    }
}

TEST(ProjectFileFormat, VersionsUpToFiveUseTheCurrentReaderAndNewerAreRefused)
{
    const ByteBuilder body = bodyStart(kAllMarkers, ByteBuilder().u32(1).i32(480).i32(9000), 0);
    for (int32_t version : {0, 2, 3, 4, 5, -1}) {
        auto m = hvtest::loadProjectBytes(hvtest::taggedFile(version, body.bytes));
        ASSERT_TRUE(m) << version;
        EXPECT_EQ(m->version, 5);
        EXPECT_EQ(m->tempos.at(0)->pos, 480) << version;
    }
    ScriptedMessageBoxService boxes;
    ScopedMessageBoxService scope(&boxes);
    EXPECT_FALSE(hvtest::loadProjectBytes(hvtest::taggedFile(6, body.bytes)));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "It's high version project file, please update editor to use it");
    EXPECT_EQ(boxes.shown[0].caption, "(＞﹏＜)");
    EXPECT_EQ(boxes.shown[0].buttons, MbButtons::ok);

    auto cut = hvtest::loadProjectBytes("HALVOREN\x05");  // no whole version: an empty project
    ASSERT_TRUE(cut);
    EXPECT_TRUE(cut->tracks.empty());
    EXPECT_EQ(loadProjectFile(CString(u"/nonexistent/x.ot")), nullptr);
}

// Files of every generation are read to their end, or say where they
// stopped: at a block or record that is not whole, at bytes left unread, at
// a track of no kind a writer stores. Every form the layouts allow reads
// whole: older sets of markers, versions up to 5, generation-0 lists stored
// as blocks of no bytes, generation-1 tracks of kind 2 and instrumental
// tracks without segments. Segments of a generation-1 instrumental track
// read whole but are not kept, and are named. Damage inside a block whose
// bytes are all there - a list that holds fewer records than its count, or
// other - is counted once a block and the first named, apart from any stop.
TEST(ProjectFileFormat, AFileThatDoesNotReadToItsEndSaysWhereItStopped)
{
    auto expectConfined = [](const ConfinedDamage& read, const hvtest::ConfinedForm& form) {
        EXPECT_EQ(read.count, form.count) << read.describe();
        if (form.count == 0) return;
        EXPECT_EQ(read.offset, uint64_t(form.at));
        EXPECT_EQ(read.what, form.what);
    };
    for (const hvtest::ProjectForm& form : hvtest::projectForms()) {
        SCOPED_TRACE(form.name);
        ReadStop stop;
        ASSERT_TRUE(hvtest::loadProjectBytes(form.bytes, &stop));
        EXPECT_EQ(stop.stopped, form.stopAt >= 0) << stop.describe();
        EXPECT_EQ(stop.leftOut, form.leftOut);
        expectConfined(stop.shortLists, form.shortLists);
        expectConfined(stop.damagedBlocks, form.damaged);
        if (form.stopAt < 0) continue;
        EXPECT_EQ(stop.offset, uint64_t(form.stopAt));
        EXPECT_EQ(stop.what, form.stop);
    }
}

// Damage inside a block whose bytes are all there leaves what follows the
// block as written: each damaged body opens as the whole one beside it. A
// list whose count is larger than its records keeps those records (every
// count 2^31-1 over one record opens as counts of 1); a vibrato table of 512
// values leaves the note its computed wave, as a table of none does; bytes
// left past a list's records are not read.
TEST(ProjectFileFormat, DamageConfinedToABlockKeepsWhatFollowsIt)
{
    // The beats and the track of the body of every marker, after its tempos.
    const std::string afterTempos = hvtest::markersBody(kAllMarkers).bytes.substr(28 + 16);
    const ByteBuilder tempo = ByteBuilder().u32(1).i32(0).i32(12000);
    const struct {
        const char* name;
        std::string damaged, whole;
    } cases[] = {
        {"every count 2^31-1", hvtest::countedBody(0x7FFFFFFF).bytes, hvtest::countedBody(1).bytes},
        {"a vibrato table of 512 values",
         hvtest::markersBody(kAllMarkers, cycleBlock(std::vector<float>(512, 0.5f))).bytes,
         hvtest::markersBody(kAllMarkers, cycleBlock({})).bytes},
        {"tempo bytes left unread",
         ByteBuilder().raw(kAllMarkers).block(ByteBuilder(tempo).raw("xyz")).raw(afterTempos).bytes,
         ByteBuilder().raw(kAllMarkers).block(tempo).raw(afterTempos).bytes},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReadStop stop;
        const auto whole = hvtest::loadProjectBytes(hvtest::taggedFile(5, c.whole), &stop);
        ASSERT_TRUE(whole);
        ASSERT_TRUE(stop.readAsWritten());
        ASSERT_EQ(whole->tracks.size(), 1u);
        ASSERT_EQ(whole->tracks[0]->singSegs->size(), 1u);
        EXPECT_EQ(whole->tracks[0]->singSegs->segAt(0)->notes.size(), 1u);
        const auto damaged = hvtest::loadProjectBytes(hvtest::taggedFile(5, c.damaged), &stop);
        ASSERT_TRUE(damaged);
        EXPECT_FALSE(stop.readAsWritten());
        EXPECT_FALSE(stop.stopped);
        EXPECT_TRUE(hvtest::bodyOf(*damaged) == hvtest::bodyOf(*whole)) << "the damage opened another model";
    }
}

// The exact size of a body is known before it is built: a model fits a
// limit of exactly its size and not one byte less.
TEST(ProjectFileFormat, TheBodySizeIsKnownExactlyBeforeTheSave)
{
    const auto model = hvtest::makeRichModel();
    size_t notes = 0;
    for (const Track* t : model->tracks)
        for (size_t i = 0; t->singSegs && i < t->singSegs->size(); ++i) notes += t->singSegs->segAt(i)->notes.size();
    const uint64_t size = hvtest::bodyOf(*model).size();
    EXPECT_EQ(bodyBytes(*model), size);
    EXPECT_EQ(projectSaveProblem(*model, size), "");
    EXPECT_EQ(projectSaveProblem(*model, size - 1), "too large to save: " + std::to_string(notes) + " notes");
}

TEST(ProjectFileFormat, VerifyAcceptsOnlyTheAnnouncedLength)
{
    hvtest::ScratchDir dir("projver");
    const std::string file = hvtest::taggedFile(5, std::string(40, 'b'));
    const std::pair<std::string, bool> cases[] = {
        {file, true}, {file + "x", false}, {file.substr(0, file.size() - 1), false},
        {hvtest::taggedFile(5, ""), false}, {file.substr(12), true} /* untagged */, {"HALVOREN", false}};
    for (const auto& [bytes, valid] : cases) {
        hvtest::writeFileBytes(dir.file("v.ot"), bytes);
        EXPECT_EQ(verifyProjectFile(CString::fromUtf8(dir.file("v.ot"))), valid) << bytes.size();
    }
}
