#include "model/import/MidiText.h"

#include "platform/TextConvert.h"

namespace {

// Meta type 3 is a track name, 5 a lyric.
bool isReadText(const hvmidi::MIDITimedBigMessage& m)
{
    return m.isMeta() && (m.getMetaType() == 0x03 || m.getMetaType() == 0x05);
}

}  // namespace

MidiTextDecoder::MidiTextDecoder(const hvmidi::MIDIMultiTrack& tracks)
{
    for (int t = 0; t < tracks.getNumTracks() && utf8_; ++t) {
        const hvmidi::MIDITrack* track = tracks.getTrack(t);
        for (int i = 0; track && i < track->getNumEvents() && utf8_; ++i) {
            const hvmidi::MIDITimedBigMessage& m = track->getEvent(i);
            if (isReadText(m)) utf8_ = isValidUtf8(track->getMetaData(m));
        }
    }
}

std::string MidiTextDecoder::toUtf8(std::string_view bytes) const
{
    return utf8_ ? std::string(bytes) : gb18030ToUtf8(bytes);
}
