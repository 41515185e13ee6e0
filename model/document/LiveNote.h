#pragma once
// The note entered live while playback runs.
#include "model/current/Note.h"

// When the slot is empty: stores the segment position beside it and puts a
// new default note there at playPos - segPos with the key and width 3.
// Nothing when the slot already holds a note.
void createLiveNote(HVCurrentModel::Note*& slot, int& slotSegPos, int playPos, int segPos, int key);
