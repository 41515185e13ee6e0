#pragma once
// The project targets' common run: the file is opened the way the editor
// opens it (or a score imported into a new project), then saved to memory
// and read back, as a save and a later open would. The second save must give the bytes of the first: a project that
// changes on its way through a save has lost or corrupted data.
#include <memory>
#include <string>
#include <string_view>

#include "model/file/ProjectFile.h"
#include "model/file/ProjectLists.h"
#include "support/FuzzInput.h"

namespace hvfuzz {

// Saves the model to memory, reads that body into a new model and saves
// again: the saved body must read to its end and both saves must be equal.
inline void saveAndReopen(const HVCurrentModel::HalvorenModel& model)
{
    HalvorenWin::CMemoryBuffer saved;
    HVCurrentModel::writeBody(model, saved);
    HVCurrentModel::HalvorenModel reopened;
    reopened.path = model.path;
    HalvorenWin::CMemoryBuffer body = saved;
    if (!HVCurrentModel::readBody(reopened, body).readAsWritten()) fail("a saved project does not read as written");
    HalvorenWin::CMemoryBuffer savedAgain;
    HVCurrentModel::writeBody(reopened, savedAgain);
    if (savedAgain.data != saved.data) fail("a saved project reads back differently");
}

inline void openSaveAndReopen(std::string_view fileBytes)
{
    const std::string path = writeScratchFile("input.hvp", fileBytes);
    std::unique_ptr<HVCurrentModel::HalvorenModel> model(loadProjectFile(CString::fromUtf8(path)));
    if (model) saveAndReopen(*model);
}

}  // namespace hvfuzz
