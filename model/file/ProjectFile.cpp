#include "model/file/ProjectFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "model/file/MemoryBuffer.h"
#include "model/file/ProjectLists.h"
#include "model/legacy/ModelV0.h"
#include "model/legacy/ModelV1.h"
#include "platform/FileUtil.h"
#include "platform/LittleEndian.h"
#include "platform/MessageBox.h"
#include "platform/RegularFile.h"
#include "shell/services/LanguageMgr.h"

using HalvorenWin::CMemoryBuffer;
using HVCurrentModel::HalvorenModel;

namespace {

constexpr char kTag[8] = {'H', 'A', 'L', 'V', 'O', 'R', 'E', 'N'};

bool readTag(std::FILE* f)
{
    char bytes[8];
    return std::fread(bytes, 1, 8, f) == 8 && std::memcmp(bytes, kTag, 8) == 0;
}

bool writeProject(const HalvorenModel& model, std::FILE* f)
{
    char version[4];
    storeLittleEndian32(version, static_cast<uint32_t>(model.version));
    CMemoryBuffer body;
    HVCurrentModel::writeBody(model, body);
    return std::fwrite(kTag, 1, 8, f) == 8 && std::fwrite(version, 1, 4, f) == 4 && body.writeToFile(f);
}

// Where the body starts in the file: after the tag, the version and the
// length, or only the length in an untagged file.
constexpr uint64_t kTaggedBodyStart = 16;
constexpr uint64_t kUntaggedBodyStart = 4;

// The stop of a body read, placed in the file.
void reportStop(ReadStop read, uint64_t bodyStart, ReadStop* stop)
{
    if (!stop) return;
    if (read.stopped) read.offset += bodyStart;
    for (ConfinedDamage* damage : {&read.shortLists, &read.damagedBlocks})
        if (damage->count > 0) damage->offset += bodyStart;
    *stop = read;
}

template <class Legacy>
HalvorenModel* upgradeLegacy(std::unique_ptr<HalvorenModel> model, std::FILE* f, const ReadLimits& limits,
                             uint64_t bodyStart, ReadStop* stop)
{
    CMemoryBuffer body;
    body.readFromFile(f);
    Legacy legacy;
    reportStop(legacy.readBody(body, limits), bodyStart, stop);
    model->upgrade(legacy);
    return model.release();
}

// Removes a file or link at the path; a folder stays.
void unlinkTemporary(const CString& path) { ::unlink(path.toPathBytes().c_str()); }

}  // namespace

std::string projectSaveProblem(const HalvorenModel& model, uint64_t maxBodyBytes)
{
    if (HVCurrentModel::bodyBytes(model) <= maxBodyBytes) return std::string();
    uint64_t notes = 0;
    for (const HVCurrentModel::Track* t : model.tracks)
        for (size_t i = 0; t->kind == HVCurrentModel::kSingingTrack && t->singSegs && i < t->singSegs->size(); ++i)
            notes += t->singSegs->segAt(i)->notes.size();
    return "too large to save: " + std::to_string(notes) + " notes";
}

int32_t saveProjectFile(const HalvorenModel& model, const CString& path)
{
    // A body the file cannot hold is not built, nor anything written.
    if (!projectSaveProblem(model).empty()) {
        errno = EFBIG;
        return -1;
    }
    // A project reached through a symbolic link is replaced where the link
    // points, and the link stays.
    const CString target = resolveSymbolicLinks(path);
    const CString temporary = target + u".tmp";
    // Whatever stands at the temporary name (a file left by a crash, or a
    // link planted to have the project written elsewhere) is unlinked, never
    // written through, and the temporary file is created new: the open fails
    // when anything is there again (a folder, or a link planted since).
    unlinkTemporary(temporary);
    errno = 0;
    FilePtr f(openFile(temporary, "wbx"));
    if (!f) return -1;
    // The bytes reach the disk before the rename makes them the project: a
    // crash cannot leave an empty file in its place.
    bool saved = writeProject(model, f.get()) && flushFileToDisk(f.get());
    saved = std::fclose(f.release()) == 0 && saved;
    if (saved) {
        // A temporary file that does not read back as written has no error
        // of its own.
        saved = verifyProjectFile(temporary);
        errno = saved ? 0 : EIO;
    }
    // The replaced file keeps its permissions (a new one gets the default).
    saved = saved && (!isFileExist(target) || copyPermissions(target, temporary));
    saved = saved && renameFile(temporary, target);
    // A failed save leaves the target as it was and takes its partial file
    // away: on a full disk it would hold the space the next save needs.
    if (!saved) {
        const int error = errno != 0 ? errno : EIO;
        unlinkTemporary(temporary);
        errno = error;
    }
    return saved ? 0 : -1;
}

HalvorenModel* loadProjectFile(const CString& path, const ReadLimits& limits, ReadStop* stop)
{
    if (stop) *stop = ReadStop();
    FilePtr f(openFile(path, "rb"));
    if (!f) return nullptr;
    auto model = std::make_unique<HalvorenModel>();
    model->path = path;

    if (!readTag(f.get())) {
        std::rewind(f.get());
        return upgradeLegacy<HVModel_V0::HalvorenModel>(std::move(model), f.get(), limits, kUntaggedBodyStart, stop);
    }
    char versionBytes[4];
    // A file cut inside its version holds no body: an empty project.
    if (std::fread(versionBytes, 1, 4, f.get()) != 4) {
        if (stop) stop->at(sizeof kTag, "version cut short");
        return model.release();
    }
    const auto version = static_cast<int32_t>(littleEndian32(versionBytes));
    if (version == HVModel_V1::HalvorenModel::kVersion)
        return upgradeLegacy<HVModel_V1::HalvorenModel>(std::move(model), f.get(), limits, kTaggedBodyStart, stop);
    if (version > kCurrentModelVersion) {
        showMessageBox(translate("It's high version project file, please update editor to use it"),
                       CString(u"(＞﹏＜)"), MbButtons::ok);
        return nullptr;
    }
    CMemoryBuffer body;
    body.readFromFile(f.get());
    reportStop(HVCurrentModel::readBody(*model, body, limits), kTaggedBodyStart, stop);
    return model.release();
}

bool verifyProjectFile(const CString& path) { return projectFileProblem(path).empty(); }

std::string projectFileProblem(const CString& path)
{
    FilePtr f(openFile(path, "rb"));
    if (!f) return regularFileProblem(path);
    const std::string notAProject = "not a project file";
    const bool tagged = readTag(f.get());
    if (tagged) {
        char version[4];
        if (std::fread(version, 1, 4, f.get()) != 4) return notAProject;
    } else {
        std::rewind(f.get());
    }
    char lengthBytes[4];
    if (std::fread(lengthBytes, 1, 4, f.get()) != 4) return notAProject;
    const auto length = static_cast<int32_t>(littleEndian32(lengthBytes));
    if (length <= 0) return notAProject;
    const std::optional<uint64_t> held = bytesLeftInFile(f.get());
    if (!held) return notAProject;
    if (*held == static_cast<uint64_t>(length)) return std::string();
    // Without the tag the length word is all there is: any other file has
    // one too.
    if (!tagged) return notAProject;
    return "its header announces " + std::to_string(length) + " bytes and it holds " + std::to_string(*held);
}
