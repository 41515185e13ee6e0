// Loading the accompaniment clip of an instrumental segment.
#include <sys/stat.h>

#include <bit>
#include <cstddef>
#include <limits>
#include <optional>

#include "model/audio/AudioFileLoader.h"
#include "model/audio/CWavBuf.h"
#include "model/current/Segments.h"
#include "platform/FileUtil.h"

namespace {

using HalvorenEditor::CWavBuf;

static_assert(std::endian::native == std::endian::little, "clip samples are used as stored, little-endian");

ReadLimits budgetLimits(uint64_t byteLimit)
{
    ReadLimits limits;
    limits.recordsPerFileByte = 0;
    limits.bytesPerFileByte = 0;
    limits.byteBase = byteLimit;
    return limits;
}

// The device and inode of the file a path names (links followed).
std::optional<std::pair<uint64_t, uint64_t>> fileIdentity(const CString& path)
{
    struct stat st {};
    if (::stat(path.toPathBytes().c_str(), &st) != 0) return std::nullopt;
    return std::make_pair(uint64_t(st.st_dev), uint64_t(st.st_ino));
}

}  // namespace

namespace HVCurrentModel {

ClipChannel::ClipChannel(std::vector<int16_t> samples)
{
    auto owner = std::make_shared<const std::vector<int16_t>>(std::move(samples));
    data_ = owner->data();
    size_ = owner->size();
    owner_ = std::move(owner);
}

ClipCache::ClipCache(uint64_t byteLimit) : budget(0, budgetLimits(byteLimit)) {}

bool InstrumentSegment::loadAudio(const CString& projectPath, ClipCache* cache)
{
    const CString stored = CString::fromPathBytes(audioPath);
    clipLoad = loadClip(stored, cache);
    clipFile.clear();
    // The clip may have moved together with the project: try the same file
    // name in the project's folder. Stored paths may be Windows paths.
    if (clipLoad != ClipLoad::loaded && !projectPath.isEmpty()) {
        const CString besidePath = folderOfPath(projectPath) + fileNameOfStoredPath(stored);
        const ClipLoad beside = loadClip(besidePath, cache);
        // A file found but refused says more than one not found.
        if (beside == ClipLoad::loaded || clipLoad == ClipLoad::unreadable) {
            clipLoad = beside;
            clipFile = besidePath.toPathBytes();
        }
    }
    return clipLoad == ClipLoad::loaded;
}

ClipLoad InstrumentSegment::loadClip(const CString& path, ClipCache* cache)
{
    if (!cache) return loadClipFile(path, std::numeric_limits<uint64_t>::max());
    const auto id = fileIdentity(path);
    if (!id) return ClipLoad::unreadable;
    auto [entry, isNew] = cache->byFile.try_emplace(*id);
    ClipCache::Entry& cached = entry->second;
    if (isNew) {
        auto loaded = std::make_shared<InstrumentSegment>();
        cached.result = loaded->loadClipFile(path, cache->bytesLeft());
        // The load kept within the bytes left; only the count of clips can
        // still pass the budget.
        const uint64_t bytes = uint64_t(loaded->left.size() + loaded->right.size()) * sizeof(int16_t);
        if (cached.result == ClipLoad::loaded && !cache->budget.takeRecord(bytes)) cached.result = ClipLoad::tooLarge;
        if (cached.result == ClipLoad::loaded) cached.clip = std::move(loaded);
    }
    if (cached.clip) takeClipOf(*cached.clip);
    return cached.result;
}

void InstrumentSegment::takeClipOf(const InstrumentSegment& loaded)
{
    sampleRate = loaded.sampleRate;
    frames = loaded.frames;
    bitsPerSample = loaded.bitsPerSample;
    channels = loaded.channels;
    left = loaded.left;
    right = loaded.right;
}

ClipLoad InstrumentSegment::loadClipFile(const CString& path, uint64_t clipBytes)
{
    CWavBuf clip;
    // A stereo clip comes with its channels apart: the left samples, then
    // the right ones, so both channels stay in the decoded block.
    const ClipLoad result = loadAudioClip(clip, path, clipBytes, true);
    if (result != ClipLoad::loaded) return result;
    if (clip.channels < 1 || clip.channels > 2) return ClipLoad::undecodable;

    channels = clip.channels;
    bitsPerSample = clip.bytesPerSample * 8;
    sampleRate = clip.sampleRate;
    frames = static_cast<int32_t>(clip.sampleCount() / uint32_t(clip.channels));
    auto owner = std::make_shared<CWavBuf>(std::move(clip));
    const auto* samples = reinterpret_cast<const int16_t*>(owner->fifo.ptrBegin());
    const size_t n = size_t(frames);
    left = ClipChannel(owner, samples, n);
    if (channels == 2)
        right = ClipChannel(owner, samples + n, n);
    else
        right.clear();
    return ClipLoad::loaded;
}

}  // namespace HVCurrentModel
