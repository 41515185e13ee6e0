#include "shell/OutputChecks.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "model/file/ProjectFile.h"
#include "platform/FileUtil.h"
#include "platform/RegularFile.h"

namespace {

// True when both paths name one file (links followed).
bool sameFile(const CString& a, const CString& b)
{
    struct stat sa {}, sb {};
    return ::stat(a.toPathBytes().c_str(), &sa) == 0 && ::stat(b.toPathBytes().c_str(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// "<lead><one>, at byte 60 (...)" for one block, "<lead>3 <many>, the first
// at byte 60 (...)" for three.
std::string counted(const ConfinedDamage& damage, const std::string& lead, const char* one, const char* many)
{
    if (damage.count == 1) return lead + one + ", at " + damage.describe();
    return lead + std::to_string(damage.count) + " " + many + ", the first at " + damage.describe();
}

}  // namespace

std::string readOnlyTo(const ReadStop& stop) { return "reads only to " + stop.describe(); }

std::string fewerRecords(const ReadStop& stop)
{
    return counted(stop.shortLists, "holds fewer records than ", "a count says", "counts say");
}

std::string damageWithin(const ReadStop& stop)
{
    return counted(stop.damagedBlocks, "holds damage confined to ", "a block", "blocks");
}

std::string saveOverProblem(const CString& path, const OpenedProject& opened)
{
    if (!pathExists(path)) return std::string();
    if (std::string problem = projectFileProblem(path); !problem.empty()) return problem;
    ReadStop stop;
    if (!opened.path.isEmpty() && sameFile(path, opened.path)) {
        stop = opened.stop;
    } else {
        // A project of a newer version reads as nothing (its reader has said
        // so): nothing of it would be in what is saved over it.
        const std::unique_ptr<HVCurrentModel::HalvorenModel> other(loadProjectFile(path, ReadLimits(), &stop));
        if (!other) return "this editor does not read it";
    }
    if (stop.stopped) return "the project " + readOnlyTo(stop);
    if (stop.shortLists.count > 0) return "the project " + fewerRecords(stop);
    if (stop.damagedBlocks.count > 0) return "the project " + damageWithin(stop);
    return stop.leftOut.empty() ? std::string() : "it holds " + stop.leftOut + ", which this editor cannot read";
}

std::string folderProblem(const CString& folder)
{
    const std::string bytes = folder.toPathBytes();
    struct stat st {};
    if (::stat(bytes.c_str(), &st) != 0) return systemErrorText(errno);
    if (!S_ISDIR(st.st_mode)) return systemErrorText(ENOTDIR);
    if (::access(bytes.c_str(), W_OK | X_OK) != 0) return systemErrorText(errno);
    return std::string();
}
