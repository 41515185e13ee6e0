#pragma once
// The texts of a standard MIDI file (track names, lyrics) carry no encoding.
// The choice is made once for the whole file: its texts are UTF-8 when every
// text event of the file is valid UTF-8, otherwise all of them are GB18030.
// One text alone cannot tell: a GBK character's two bytes may also be valid
// UTF-8 (一 is D2 BB, which reads as "һ").
#include <string>
#include <string_view>

#include "model/import/midi/MIDITrack.h"

class MidiTextDecoder {
public:
    // Looks at every text meta event (types 1 to 15) of every track.
    explicit MidiTextDecoder(const hvmidi::MIDIMultiTrack& tracks);

    // The bytes of one of the file's texts as UTF-8; bytes GB18030 cannot
    // decode become U+FFFD.
    std::string toUtf8(std::string_view bytes) const;
    bool isUtf8() const { return utf8_; }

private:
    bool utf8_ = true;
};
