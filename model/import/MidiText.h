#pragma once
// The texts of a standard MIDI file (track names, lyrics) carry no encoding.
// The choice is made once for the whole file over the texts the import
// reads, its track names and lyrics: they are UTF-8 when every one of them is
// valid UTF-8, otherwise all of them are GB18030. One text alone cannot
// tell: a GBK character's two bytes may also be valid UTF-8 (一 is D2 BB,
// which reads as "һ"). Other text events (copyright, markers, plain text)
// are not read and take no part.
#include <string>
#include <string_view>

#include "model/import/midi/MIDITrack.h"

class MidiTextDecoder {
public:
    // Looks at every track name and lyric event of every track.
    explicit MidiTextDecoder(const hvmidi::MIDIMultiTrack& tracks);

    // The bytes of one of the file's texts as UTF-8; bytes GB18030 cannot
    // decode become U+FFFD.
    std::string toUtf8(std::string_view bytes) const;

private:
    bool utf8_ = true;
};
