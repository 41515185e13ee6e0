#pragma once
// The project file: the tag "HALVOREN", the version, the body length and the
// body. Older files (untagged, or of version 1) are read and upgraded.
#include <cstdint>
#include <string>

#include "model/current/HalvorenModel.h"
#include "model/file/ReadStop.h"
#include "platform/CString.h"
#include "platform/ReadBudget.h"

// Writes the model to path through path + ".tmp": the temporary file is
// written, flushed to the disk, verified and then moved over path, so a save
// that fails at any step leaves the previous file untouched. A path that is a
// symbolic link has the file it points to replaced (through that file's
// ".tmp"); a replaced file keeps its permissions. Returns 0 on success, -1
// when the temporary file cannot be created, written, verified or moved;
// errno then tells why (EIO for a file that did not read back as written,
// EFBIG for a model too large to save, refused before anything is written).
int32_t saveProjectFile(const HVCurrentModel::HalvorenModel& model, const CString& path);

// The largest body a project file holds: readers take its length word as a
// signed number that must be positive.
inline constexpr uint64_t kMaxProjectBodyBytes = 0x7FFFFFFF;

// Why the model cannot be saved, empty when it can: "too large to save: N
// notes" when its body would pass maxBodyBytes. Counted from the model
// without building the body.
std::string projectSaveProblem(const HVCurrentModel::HalvorenModel& model,
                               uint64_t maxBodyBytes = kMaxProjectBodyBytes);

// Reads a project file of any generation into a new model whose path is
// set. Null when the file cannot be opened or is of a newer version than
// this editor (the user is told so). The body builds no more than limits
// allow for its size; a body that would is read up to that point, as a
// body cut short is. With stop, says where the file stopped reading as
// written and where the first of its blocks holds fewer records than its
// count or other damage (byte offsets in the file), or nothing when it read
// to its end as written.
HVCurrentModel::HalvorenModel* loadProjectFile(const CString& path, const ReadLimits& limits = ReadLimits(),
                                               ReadStop* stop = nullptr);

// True when the file opens, its body length is positive and the file ends
// exactly where the header says the body ends.
bool verifyProjectFile(const CString& path);

// Why verifyProjectFile refuses the file, empty when it accepts it: the
// system's reason when it cannot be opened (regularFileProblem), "its
// header announces N bytes and it holds M" for a tagged file whose body is
// cut or grown, and "not a project file" for anything else it refuses.
std::string projectFileProblem(const CString& path);
