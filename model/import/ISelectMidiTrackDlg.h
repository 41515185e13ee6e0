#pragma once
// The MIDI track choice as the import sees it: the tracks offered, a modal
// run, and the MIDI track numbers chosen.
#include <vector>

#include "platform/CString.h"

class ISelectMidiTrackDlg {
public:
    virtual ~ISelectMidiTrackDlg() = default;
    // Offers one row: the track's name, its MIDI track number and note count.
    virtual void addTrack(const CString& name, int index, int noteCount) = 0;
    // True when the user confirmed the choice.
    virtual bool doModal() = 0;
    // The checked MIDI track numbers, in list order.
    virtual std::vector<int> getSelTracks() const = 0;
};
