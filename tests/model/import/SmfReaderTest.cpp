// The standard MIDI file reader: chunk walk, events with absolute ticks,
// running status, sysex and meta events, the track limit, and files cut at
// every byte.
#include <gtest/gtest.h>

#include "model/import/midi/MIDIFileRead.h"
#include "support/midi/SmfWriter.h"

using namespace hvmidi;
using hvtest::SmfTrack;
using hvtest::SmfWriter;

namespace {

bool readBytes(const std::string& bytes, MIDIMultiTrack& tracks)
{
    const MIDIFileReadStreamFile stream = MIDIFileReadStreamFile::fromBytes(bytes);
    MIDIFileReadMultiTrack sink(&tracks);
    return MIDIFileRead(stream, sink).parse();
}

// (tick, status, byte1, byte2) of every event of a track.
std::vector<std::tuple<int, int, int, int>> eventsOf(const MIDITrack& track)
{
    std::vector<std::tuple<int, int, int, int>> out;
    for (int i = 0; i < track.getNumEvents(); ++i) {
        const MIDITimedBigMessage& e = track.getEvent(i);
        out.emplace_back(e.time, e.status, e.byte1, e.byte2);
    }
    return out;
}

}  // namespace

TEST(SmfReaderTest, RunningStatusCarriesOverAHundredNoteOns)
{
    SmfTrack track;
    track.runningStatus(true);
    for (uint32_t i = 0; i < 100; ++i) track.noteOn(i * 10, 40 + static_cast<int>(i % 20), 1 + static_cast<int>(i));
    SmfWriter smf(1, 480);
    smf.track(track);
    // One status byte for all: 100 deltas + 200 data bytes + 1 status byte.
    EXPECT_EQ(track.chunk().size(), 8u + 100 + 200 + 1);
    MIDIMultiTrack tracks;
    ASSERT_TRUE(readBytes(smf.bytes(), tracks));
    const MIDITrack& t = *tracks.getTrack(0);
    ASSERT_EQ(t.getNumEvents(), 100);
    for (int i = 0; i < 100; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(eventsOf(t)[static_cast<size_t>(i)], std::make_tuple(i * 10, 0x90, 40 + i % 20, 1 + i));
    }
}

TEST(SmfReaderTest, SysexAndUnknownChunksAreSkipped)
{
    SmfWriter smf(0, 96);
    smf.chunk("XFIH", "vendor data");
    smf.track(SmfTrack()
                  .noteOn(0, 60)
                  .sysex(10, "\x7E\x7F\x09\x01\xF7")
                  .raw(std::string("\x00\xF7\x02\x01\x02", 5))  // an escaped sysex piece
                  .noteOff(20, 60)
                  .lyric(20, "la"));
    MIDIMultiTrack tracks;
    ASSERT_TRUE(readBytes(smf.bytes(), tracks));
    EXPECT_EQ(tracks.getClocksPerBeat(), 96);
    ASSERT_EQ(tracks.getNumTracks(), 1);
    const MIDITrack& t = *tracks.getTrack(0);
    // The note-off comes 10 ticks after the sysex and 0 after the escape.
    using E = std::tuple<int, int, int, int>;
    EXPECT_EQ(eventsOf(t), (std::vector<E>{{0, 0x90, 60, 100}, {20, 0x80, 60, 0}, {20, 0xFF, 0x05, 0}}));
    EXPECT_EQ(t.getMetaData(t.getEvent(2)), "la");
}

TEST(SmfReaderTest, AtMostSixtyFourTracksAreRead)
{
    SmfWriter smf(1, 480);
    for (int i = 0; i < 65; ++i) smf.track(SmfTrack().note(0, 480, i));
    MIDIMultiTrack tracks;
    ASSERT_TRUE(readBytes(smf.bytes(), tracks));
    EXPECT_EQ(tracks.getNumTracks(), 64);
    EXPECT_EQ(tracks.getTrack(63)->getEvent(0).getNote(), 63);
    EXPECT_EQ(tracks.getTrack(64), nullptr);
}

TEST(SmfReaderTest, MalformedFilesFail)
{
    const std::string header = SmfWriter(1, 480).bytes();
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"no MThd", "RIFF" + header.substr(4) + SmfTrack().note(0, 1, 60).chunk()},
        {"header shorter than 6", std::string("MThd\0\0\0\x05\0\0\0\0\x01", 13) + SmfTrack().chunk()},
        {"no MTrk", header},
        {"data byte without running status", header + SmfTrack().raw(std::string("\x00\x3C\x64", 3)).chunk()},
        {"data byte after a meta event",
         header + SmfTrack().noteOn(0, 60).lyric(0, "x").raw(std::string("\x00\x3C\x00", 3)).chunk()},
        {"five-byte delta", header + SmfTrack().raw(std::string("\x80\x80\x80\x80\x00\x90\x3C\x64", 8)).chunk()},
        {"five-byte meta length",
         header + SmfTrack().raw(std::string("\x00\xFF\x05\x80\x80\x80\x80\x01x", 9)).chunk()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MIDIMultiTrack tracks;
        EXPECT_FALSE(readBytes(c.bytes, tracks));
    }
}

TEST(SmfReaderTest, HeaderExtraBytesAndLongTicksAreRead)
{
    // A header of 8 bytes: the 2 extra bytes are skipped.
    const std::string header = std::string("MThd\0\0\0\x08\0\x01\0\x01\x01\xE0\xAA\xBB", 16);
    // Nine deltas of 0x0FFFFFFF (the largest four-byte number, FF FF FF 7F)
    // add up past the int32 range: 8 of them make 0x7FFFFFF8, the ninth
    // stops at 0x7FFFFFFF.
    SmfTrack track;
    track.raw("\xFF\xFF\xFF\x7F\x90\x3C\x64");
    for (int i = 1; i < 9; ++i) track.raw("\xFF\xFF\xFF\x7F\x3C\x64");
    MIDIMultiTrack tracks;
    ASSERT_TRUE(readBytes(header + track.chunk(), tracks));
    const MIDITrack& t = *tracks.getTrack(0);
    ASSERT_EQ(t.getNumEvents(), 9);
    EXPECT_EQ(t.getEvent(0).time, 0x0FFFFFFF);
    EXPECT_EQ(t.getEvent(7).time, 0x7FFFFFF8);
    EXPECT_EQ(t.getEvent(8).time, 0x7FFFFFFF);
}

TEST(SmfReaderTest, AFileCutAtAnyByteKeepsItsWholeEvents)
{
    SmfTrack track;
    track.runningStatus(true)
        .name(0, "lead")
        .lyric(0, "la")
        .noteOn(0, 60)
        .noteOn(0, 64)
        .tempo(100, 500000)
        .noteOff(480, 60, true)
        .noteOff(480, 64, true)
        .sysex(500, "\x01\x02\xF7")
        .control(600, 123)
        .endOfTrack(600);
    SmfWriter smf(1, 480);
    smf.track(track);
    const std::string full = smf.bytes();
    MIDIMultiTrack whole;
    ASSERT_TRUE(readBytes(full, whole));
    const auto all = eventsOf(*whole.getTrack(0));
    ASSERT_EQ(all.size(), 8u);
    // 14 header bytes and 8 of the track chunk's header must be there.
    for (size_t cut = 0; cut < full.size(); ++cut) {
        SCOPED_TRACE(cut);
        MIDIMultiTrack tracks;
        const bool ok = readBytes(full.substr(0, cut), tracks);
        EXPECT_EQ(ok, cut >= 22);
        if (!ok) continue;
        const auto events = eventsOf(*tracks.getTrack(0));
        ASSERT_LE(events.size(), all.size());
        EXPECT_TRUE(std::equal(events.begin(), events.end(), all.begin()));
    }
}

TEST(SmfReaderTest, ATrackDeclaredPastTheFileKeepsItsEvents)
{
    SmfWriter smf(1, 480);
    smf.track(SmfTrack().note(0, 480, 60)).track(SmfTrack().note(0, 480, 62).declaredLength(1000));
    MIDIMultiTrack tracks;
    ASSERT_TRUE(readBytes(smf.bytes(), tracks));
    ASSERT_EQ(tracks.getNumTracks(), 2);
    using E = std::tuple<int, int, int, int>;
    EXPECT_EQ(eventsOf(*tracks.getTrack(1)), (std::vector<E>{{0, 0x90, 62, 100}, {480, 0x80, 62, 0}}));
}
