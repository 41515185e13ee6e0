#pragma once
// The checks before a project is sung (playback and export): overlapping
// notes, overlapping segments and singers that are not installed. Each
// non-empty list is shown in a message box, one line per entry.
class CSSSynthesizerDoc;

// True when the project can be sung.
bool checkBeforeSinging(const CSSSynthesizerDoc& doc);
