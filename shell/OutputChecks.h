#pragma once
// The places the command line writes to, checked before its first action.
#include <string>

#include "model/file/ReadStop.h"
#include "platform/CString.h"

// The project the command line opened, as far as a save over it needs.
struct OpenedProject {
    CString path;  // empty when a score was opened
    ReadStop stop; // where it stopped reading as written
};

// "reads only to byte 24 (tempo list block cut short)".
std::string readOnlyTo(const ReadStop& stop);

// For a project with short lists: "holds fewer records than a count says,
// at byte 60 (tempo list holds 1 of its 2 records)", or, for 3 of them,
// "holds fewer records than 3 counts say, the first at byte 60 (...)".
std::string fewerRecords(const ReadStop& stop);

// For a project with other damage confined to blocks: "holds damage confined
// to a block, at byte 226 (vibrato table holds 512 values)", or, for 3 of
// them, "holds damage confined to 3 blocks, the first at byte 226 (...)".
std::string damageWithin(const ReadStop& stop);

// Why --save must not write over the file at path, empty when it may: a
// file no generation's check accepts, a project no generation reads (of a
// newer version), a project that does not read to its end, one whose lists
// hold fewer records than their counts or whose blocks hold other damage, or
// one that holds what the model cannot keep (the one opened as it was read,
// any other read now).
std::string saveOverProblem(const CString& path, const OpenedProject& opened);

// Why files cannot be made in the folder, empty when they can: the system's
// reason when it is missing, not a folder or not writable.
std::string folderProblem(const CString& folder);
