#pragma once
// Project files of every generation laid out by hand from their layouts:
// the forms a reader must read whole, and damaged ones with the byte where
// each stops reading as written or where the damage confined to a block
// lies. The reader tests and the program tests share them.
#include <cstdint>
#include <string>
#include <vector>

#include "support/ByteBuilder.h"

namespace hvtest {

inline const char kAllMarkers[] = "ext1ext2ext3ext4ext5ext6ext7";

// "HALVOREN", version and body length in front of body.
inline std::string taggedFile(int32_t version, const std::string& body)
{
    ByteBuilder b;
    b.raw("HALVOREN").i32(version).block(ByteBuilder{body});
    return b.bytes;
}

inline ByteBuilder cycleBlock(const std::vector<float>& table)
{
    ByteBuilder b;
    b.u32(static_cast<uint32_t>(table.size()));
    for (float v : table) b.f32(v);
    return b;
}

inline ByteBuilder vibratoBlock(int32_t depth)
{
    ByteBuilder b;
    b.block(curveBlock({{-1, depth}, {100001, depth}})).block(curveBlock({{-1, 0}, {100001, 0}}));
    return b.block(curveBlock({}));
}

// Marker, tempo and beat blocks and the track count of a current body.
inline ByteBuilder bodyStart(const std::string& markers, const ByteBuilder& tempos, uint32_t tracks)
{
    ByteBuilder b;
    return b.raw(markers).block(tempos).block(ByteBuilder().u32(0)).u32(tracks);
}

// A current body of an editor that wrote only the given markers: tempo 15000,
// one singing track ("named" under ext2; solo, volume 50) holding one segment
// whose curves are all 7 and one note whose every field differs from its
// default, each field present as its marker says (the two older words after
// vibPercent without ext2). The note's vibrato table block is `cycle`.
inline ByteBuilder markersBody(const std::string& markers,
                               const ByteBuilder& cycle = cycleBlock(std::vector<float>(1024, 0.5f)))
{
    auto has = [&](const std::string& m) { return markers.find(m) != std::string::npos; };
    ByteBuilder note;
    note.i32(10).i32(100).i32(50).i32(30);
    if (!has("ext2")) note.u32(111).u32(222);
    note.str("sy").str("ly").u8(1).block(vibratoBlock(9)).block(cycle);
    if (has("ext1")) note.u8(1).f32(2).u8(5).f32(3).f32(4).f32(5);
    if (has("ext2")) note.i32(1).i32(2).i32(3).i32(4);
    if (has("ext4")) note.i32(9);
    if (has("ext7")) note.str("cs").i32(8);
    ByteBuilder segs;
    segs.u32(1).i32(0).i32(960).str("n").str("s").block(ByteBuilder().u32(1).raw(note.bytes));
    for (const char* m : {"", "", "", "ext3", "ext5", "ext6", "ext7"})
        if (!*m || has(m)) segs.block(curveBlock({{0, 7}, {961, 7}}));
    ByteBuilder body = bodyStart(markers, ByteBuilder().u32(1).i32(0).i32(15000), 1).u32(0);
    if (has("ext2")) body.str("named");
    return body.u8(0).u8(1).i32(50).f32(0.5f).block(segs);
}

// A current body (every marker) with one record in each list - tempos,
// beats, tracks, segments, notes, the three curves of the note's vibrato and
// the seven of the segment - every list counting `count` records.
inline ByteBuilder countedBody(uint32_t count)
{
    auto list = [&](const ByteBuilder& record) { return ByteBuilder().u32(count).raw(record.bytes); };
    const ByteBuilder node = ByteBuilder().i32(0).i32(7);
    ByteBuilder vibrato;
    for (int i = 0; i < 3; ++i) vibrato.block(list(node));
    ByteBuilder note;
    note.i32(10).i32(100).i32(50).i32(30).str("sy").str("ly").u8(0).block(vibrato);
    note.block(cycleBlock(std::vector<float>(1024, 0.5f)));
    note.u8(1).f32(2).u8(5).f32(3).f32(4).f32(5).i32(1).i32(2).i32(3).i32(4).i32(9).str("cs").i32(8);
    ByteBuilder seg;
    seg.i32(0).i32(960).str("n").str("s").block(list(note));
    for (int i = 0; i < 7; ++i) seg.block(list(node));
    ByteBuilder track;
    track.u32(0).str("named").u8(0).u8(1).i32(50).f32(0.5f).block(list(seg));
    ByteBuilder body;
    body.raw(kAllMarkers).block(list(ByteBuilder().i32(0).i32(15000))).block(list(ByteBuilder().i32(0).i32(3).i32(4)));
    return body.raw(list(track).bytes);
}

inline ByteBuilder v0Note(int32_t pos, int32_t width, int32_t key, std::u16string_view symbol)
{
    ByteBuilder b;
    b.i32(pos).i32(width).i32(key).i32(1).i32(2).f32(0.5f).f32(0.6f).utf16(symbol, 8).utf16(u"歌", 8).u8(0);
    return b;
}

// Generation 0: three tempos (13000 at 1920, 12000 at 0, 14000 at 1920), the
// beat 3/4 and two segments in reverse order. The later one ("歌A", singer
// "Bob", at 4000) stores its empty note list and amplitude curve as blocks
// of no bytes and its empty pitch curve with a count; the earlier one's name
// fills its field with no terminating zero, its two notes overlap and its
// pitch values are 7, 14, 1, -1, 21 and 400000000.
inline std::string legacyV0File()
{
    ByteBuilder seg0;
    seg0.i32(4000).i32(1000).utf16(u"歌A", 260).utf16(u"Bob", 260);
    seg0.block(ByteBuilder()).block(ByteBuilder()).block(ByteBuilder().u32(0));
    ByteBuilder seg1;
    seg1.i32(0).i32(3840).utf16(std::u16string(260, u'n'), 260).utf16(u"", 260);
    seg1.block(ByteBuilder().u32(2).raw(v0Note(0, 500, 50, u"ga").bytes).raw(v0Note(480, 480, 52, u"ge").bytes));
    seg1.block(curveBlock({{0, 100}, {3841, 90}}));
    seg1.block(curveBlock({{0, 7}, {100, 14}, {200, 1}, {300, -1}, {400, 21}, {500, 400000000}}));
    ByteBuilder body;
    body.u32(0xDEAD);  // header word
    body.block(ByteBuilder().u32(3).i32(1920).i32(13000).i32(0).i32(12000).i32(1920).i32(14000));
    body.block(ByteBuilder().u32(1).i32(-3).i32(3).i32(4));
    body.block(ByteBuilder().u32(2).raw(seg0.bytes).raw(seg1.bytes));
    return ByteBuilder().block(body).bytes;
}

// Generation 1: tempo 11000, no beats and four track records: singing
// (muted, volume 80; one segment "v1" at 960 with two overlapping notes
// "沙"), one of kind 2 (its kind alone), instrumental (solo, balance -0.5;
// a segments block the reader does not parse) and singing (volume 10).
inline std::string legacyV1File()
{
    ByteBuilder notes;
    notes.u32(2);
    for (int k = 0; k < 2; ++k) notes.i32(100 * k).i32(150).i32(40).i32(0).i32(0).f32(0).f32(0).str("sa").str("沙").u8(0);
    ByteBuilder segs;
    segs.u32(1).i32(960).i32(1920).str("v1").str("S").block(notes);
    segs.block(curveBlock({{-1, 90}, {1921, 90}})).block(curveBlock({{0, 300}}));
    ByteBuilder body;
    body.block(ByteBuilder().u32(1).i32(0).i32(11000)).block(ByteBuilder().u32(0)).u32(4);
    body.u32(0).u8(1).u8(0).i32(80).f32(0.5f).block(segs);
    body.u32(2);
    body.u32(1).u8(0).u8(1).i32(20).f32(-0.5f).block(ByteBuilder().raw("unparsed"));
    body.u32(0).u8(0).u8(0).i32(10).f32(0).block(ByteBuilder().u32(0));
    return taggedFile(1, body.bytes);
}

// Damage of one kind, each confined to its block and read past as written:
// how many blocks hold it, the byte of the first and what it is there.
struct ConfinedForm {
    uint32_t count = 0;
    int64_t at = -1;
    std::string what = "";
};

struct ProjectForm {
    std::string name;
    std::string bytes;
    int64_t stopAt;    // the byte of the file where it stops reading as written; -1 when it reads whole
    std::string stop = "";  // what it was reading there
    std::string leftOut = "";  // what it holds that the model cannot keep
    // Lists that hold fewer records than their counts (the byte after the
    // first one's last record), and blocks with other damage.
    ConfinedForm shortLists = {};
    ConfinedForm damaged = {};
};

inline std::vector<ProjectForm> projectForms()
{
    const ByteBuilder whole = bodyStart(kAllMarkers, ByteBuilder().u32(1).i32(0).i32(12000), 0);
    ByteBuilder legacy;  // generation 0: a header word, tempo, beat and segment blocks
    legacy.u32(0).block(ByteBuilder().u32(0)).block(ByteBuilder().u32(0)).block(ByteBuilder().u32(0));
    ByteBuilder noCounts;  // generation 0 with its three lists as blocks of no bytes
    noCounts.u32(0).block({}).block({}).block({});
    // A segment whose amplitude block holds two bytes of a count.
    ByteBuilder cutCount;
    cutCount.u32(1).i32(0).i32(1920).utf16(u"s", 260).utf16(u"x", 260).block(ByteBuilder().u32(0));
    cutCount.block(ByteBuilder().u16(0)).block(ByteBuilder().u32(0));
    ByteBuilder generation1;  // tempo and beat blocks, one singing track without segments
    generation1.block(ByteBuilder().u32(0)).block(ByteBuilder().u32(0)).u32(1).u32(0);
    generation1.u8(0).u8(0).i32(30).f32(0).block(ByteBuilder().u32(0));
    ByteBuilder kindLast;  // a singing track, then one of kind 2 ending the body
    kindLast.block(ByteBuilder().u32(0)).block(ByteBuilder().u32(0)).u32(2).u32(0);
    kindLast.u8(0).u8(0).i32(30).f32(0).block(ByteBuilder().u32(0)).u32(2);
    // Instrumental tracks after a singing one: a segments block of no bytes,
    // then one holding a count of 0.
    ByteBuilder instrumentals;
    instrumentals.block(ByteBuilder().u32(0)).block(ByteBuilder().u32(0)).u32(3);
    instrumentals.u32(0).u8(0).u8(0).i32(30).f32(0).block(ByteBuilder().u32(0));
    instrumentals.u32(1).u8(1).u8(0).i32(40).f32(0).block({});
    instrumentals.u32(1).u8(0).u8(1).i32(50).f32(0.25f).block(ByteBuilder().u32(0));
    ByteBuilder overTracks;  // generation 1: one singing track of a count of 5
    overTracks.block(ByteBuilder().u32(0)).block(ByteBuilder().u32(0)).u32(5).u32(0);
    overTracks.u8(0).u8(0).i32(30).f32(0).block(ByteBuilder().u32(0));
    const ByteBuilder tempoOfTwo = ByteBuilder().u32(2).i32(0).i32(12000);  // one record of a count of 2
    const ByteBuilder tempoShort = bodyStart(kAllMarkers, tempoOfTwo, 0);
    const ByteBuilder tempoLeft = ByteBuilder().u32(1).i32(0).i32(12000).raw("xyz");  // 3 bytes past the record
    const ByteBuilder emptyLeft = ByteBuilder().u32(0).raw("ab");  // an empty list, 2 bytes past its count
    const ByteBuilder table512 = cycleBlock(std::vector<float>(512, 0.5f));
    // A track holding the segment list `segs`; its records start at byte 83
    // of the body: 28 of markers, 16 of tempos, 8 of beats, 4 of the track
    // count, the kind, the name of 9 and the mixer's 10, the block's length.
    auto segmentsBody = [](const ByteBuilder& segs) {
        ByteBuilder b = bodyStart(kAllMarkers, ByteBuilder().u32(1).i32(0).i32(12000), 1);
        return b.u32(0).str("named").u8(0).u8(1).i32(50).f32(0.5f).block(segs).bytes;
    };
    // A segment of 22 bytes before its note list: count, position, width
    // and the two texts.
    const ByteBuilder segmentHead = ByteBuilder().u32(1).i32(0).i32(960).str("n").str("s");
    const uint32_t lie = 0x7FFFFFFF;
    return {
        {"current", taggedFile(5, whole.bytes), -1, ""},
        {"version 0", taggedFile(0, whole.bytes), -1, ""},
        {"version 2", taggedFile(2, whole.bytes), -1, ""},
        {"version -1", taggedFile(-1, whole.bytes), -1, ""},
        {"every marker", taggedFile(5, markersBody(kAllMarkers).bytes), -1, ""},
        {"no ext2", taggedFile(5, markersBody("ext1ext3ext4ext5ext6ext7").bytes), -1, ""},
        {"no ext3", taggedFile(5, markersBody("ext1ext2ext4ext5ext6ext7").bytes), -1, ""},
        {"no ext7", taggedFile(5, markersBody("ext1ext2ext3ext4ext5ext6").bytes), -1, ""},
        {"ext2 alone", taggedFile(5, markersBody("ext2").bytes), -1, ""},
        {"no marker", taggedFile(5, markersBody("").bytes), -1, ""},
        {"generation 0", legacyV0File(), -1, ""},
        {"generation 0, lists of no bytes", ByteBuilder().block(noCounts).bytes, -1, ""},
        {"generation 1", legacyV1File(), -1, "", "the segments of instrumental track 2"},
        {"generation 1, kind 2 last", taggedFile(1, kindLast.bytes), -1, ""},
        {"generation 1, instrumental tracks without segments", taggedFile(1, instrumentals.bytes), -1, ""},
        {"every list of one record", taggedFile(5, countedBody(1).bytes), -1, ""},
        // 16 of header, 28 of markers, the tempo block's count and record.
        {"bytes after the tracks", taggedFile(5, whole.bytes + "xyz"), 16 + 28 + 16 + 8 + 4,
         "track list has 3 bytes left unread"},
        // 16 of header, 28 of markers, the tempo block's length, count and
        // record; the tempo list is the first of 15 in the counted body.
        {.name = "a tempo short", .bytes = taggedFile(5, tempoShort.bytes), .stopAt = -1,
         .shortLists = {1, 16 + 28 + 16, "tempo list holds 1 of its 2 records"}},
        {.name = "every count 2^31-1 over one record", .bytes = taggedFile(5, countedBody(lie).bytes), .stopAt = -1,
         .shortLists = {15, 16 + 28 + 16, "tempo list holds 1 of its 2147483647 records"}},
        // The length word, the header word, the tempo block's length, count
        // and record.
        {.name = "generation 0, a tempo short",
         .bytes = ByteBuilder()
                      .block(ByteBuilder()
                                 .u32(0)
                                 .block(ByteBuilder().u32(3).i32(0).i32(12000))
                                 .block(ByteBuilder().u32(0))
                                 .block(ByteBuilder().u32(0)))
                      .bytes,
         .stopAt = -1, .shortLists = {1, 4 + 4 + 16, "tempo list holds 1 of its 3 records"}},
        // The track list ends the body of 42 bytes.
        {.name = "generation 1, tracks short", .bytes = taggedFile(1, overTracks.bytes), .stopAt = -1,
         .shortLists = {1, 16 + 42, "track list holds 1 of its 5 records"}},
        // What stops the read is named, the short list before it counted.
        {.name = "a tempo short, bytes after the tracks", .bytes = taggedFile(5, tempoShort.bytes + "xyz"),
         .stopAt = 16 + 28 + 16 + 8 + 4, .stop = "track list has 3 bytes left unread",
         .shortLists = {1, 16 + 28 + 16, "tempo list holds 1 of its 2 records"}},
        {"tempo block cut", taggedFile(5, ByteBuilder().raw(kAllMarkers).u32(1000).u32(0).bytes), 16 + 28,
         "tempo list block cut short"},
        // The track of kind 7 is the first of a count of 2, the last bytes;
        // the list that ends short past it is not counted.
        {.name = "kind 7", .bytes = taggedFile(5, bodyStart(kAllMarkers, ByteBuilder().u32(0), 2).u32(7).bytes),
         .stopAt = 16 + 28 + 8 + 8 + 4, .stop = "track list holds a track of kind 7"},
        // After the length word, a body of 28 bytes; of 42 in generation 1.
        {"generation 0, bytes after the lists", ByteBuilder().block(ByteBuilder().raw(legacy.bytes).u16(0)).bytes,
         4 + 28, "body has 2 bytes left unread"},
        // The length word, the header word, two lists of 8 bytes, the
        // segment block's length and count, position, width, the two texts
        // and the note block: the amplitude block's content.
        // The pitch block after it reads as written.
        {.name = "generation 0, a count cut short",
         .bytes = ByteBuilder().block(ByteBuilder().raw(legacy.bytes.substr(0, 20)).block(cutCount)).bytes,
         .stopAt = -1, .damaged = {1, 4 + 4 + 8 + 8 + 4 + 4 + 8 + 1040 + 8 + 4, "curve cut short"}},
        {"generation 1, bytes after the tracks", taggedFile(1, generation1.bytes + ByteBuilder().u32(9).bytes),
         16 + 42, "track list has 4 bytes left unread"},
        // Damage inside a block whose bytes are all there: what follows the
        // block reads as written. The tempo list's extra bytes lie past its
        // record, at 16 + 28 + 16.
        {.name = "tempo bytes left unread",
         .bytes = taggedFile(5, bodyStart(kAllMarkers, tempoLeft, 0).bytes),
         .stopAt = -1, .damaged = {1, 16 + 28 + 16, "tempo list has 3 bytes left unread"}},
        {.name = "tempo and beat bytes left unread",
         .bytes = taggedFile(5, ByteBuilder().raw(kAllMarkers).block(tempoLeft).block(emptyLeft).u32(0).bytes),
         .stopAt = -1, .damaged = {2, 16 + 28 + 16, "tempo list has 3 bytes left unread"}},
        // A record cut after its position: the two bytes it leaves are the
        // same damage, counted once.
        {.name = "a tempo cut short",
         .bytes = taggedFile(5, bodyStart(kAllMarkers, ByteBuilder().u32(1).i32(0).u16(0), 0).bytes),
         .stopAt = -1, .damaged = {1, 16 + 28 + 4 + 4 + 4, "tempo list cut short"}},
        // Both kinds at once: the beat list's extra bytes past its count.
        {.name = "a tempo short, beat bytes left unread",
         .bytes = taggedFile(5, ByteBuilder().raw(kAllMarkers).block(tempoOfTwo).block(emptyLeft).u32(0).bytes),
         .stopAt = -1, .shortLists = {1, 16 + 28 + 16, "tempo list holds 1 of its 2 records"},
         .damaged = {1, 16 + 28 + 16 + 8, "beat list has 2 bytes left unread"}},
        // What stops the read is named, the damaged block before it counted.
        {.name = "tempo bytes left unread, bytes after the tracks",
         .bytes = taggedFile(5, bodyStart(kAllMarkers, tempoLeft, 0).bytes + "xyz"),
         .stopAt = 16 + 28 + 19 + 8 + 4, .stop = "track list has 3 bytes left unread",
         .damaged = {1, 16 + 28 + 16, "tempo list has 3 bytes left unread"}},
        // The note's table lies past its segment's head, the note list's
        // length and count, the note's 29 bytes before its vibrato block
        // of 60, and the table's length and count.
        {.name = "a vibrato table of 512 values",
         .bytes = taggedFile(5, markersBody(kAllMarkers, table512).bytes),
         .stopAt = -1, .damaged = {1, 16 + 83 + 22 + 8 + 29 + 60 + 8, "vibrato table holds 512 values"}},
        // A note list of a count of 1000 over 4 bytes; the curve blocks the
        // segment list reads past it, out of step, are not counted.
        {.name = "a note list block cut short",
         .bytes = taggedFile(5, segmentsBody(ByteBuilder().raw(segmentHead.bytes).u32(1000).u32(0))),
         .stopAt = -1, .damaged = {1, 16 + 83 + 22, "note list block cut short"}},
        // A name of a negative length after the count, position and width;
        // the note list past it, short of its count, is not counted.
        {.name = "a segment name of a negative length",
         .bytes = taggedFile(5, segmentsBody(ByteBuilder().u32(1).i32(0).i32(960).u32(0xFFFFFFFF).str("s").block(
                                    ByteBuilder().u32(5)))),
         .stopAt = -1, .damaged = {1, 16 + 83 + 4 + 8 + 4, "segment list holds a text of 4294967295 bytes"}},
        // The singing track's segment list holds two bytes past its count.
        {.name = "generation 1, segment bytes left unread",
         .bytes = taggedFile(1, generation1.bytes.substr(0, 34) + ByteBuilder().block(emptyLeft).bytes),
         .stopAt = -1, .damaged = {1, 16 + 42, "segment list has 2 bytes left unread"}},
    };
}

}  // namespace hvtest
