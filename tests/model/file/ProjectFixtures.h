#pragma once
// Test-side helpers for project files: the saved form of a model (to compare
// models once the writer's bytes are pinned), a model that sets every saved
// field, and raw file I/O.
#include <memory>
#include <string>

#include "model/current/HalvorenModel.h"
#include "model/file/ReadStop.h"
#include "support/model_document/ProjectForms.h"

namespace hvtest {

std::string bodyOf(const HVCurrentModel::HalvorenModel& model);

// Two tempos, two beats, a singing track with two segments whose notes and
// curves differ from every default, and an empty instrumental track.
std::unique_ptr<HVCurrentModel::HalvorenModel> makeRichModel();

std::string readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::string& bytes);

// Loads a project file holding bytes; stop, when given, says where it
// stopped reading as written.
std::unique_ptr<HVCurrentModel::HalvorenModel> loadProjectBytes(const std::string& bytes, ReadStop* stop = nullptr);

}  // namespace hvtest
