// Loading the accompaniment clip of an instrumental segment.
#include <sys/stat.h>

#include <bit>
#include <cstddef>
#include <cstring>
#include <optional>

#include "model/audio/AudioFileLoader.h"
#include "model/audio/CWavBuf.h"
#include "model/current/Segments.h"
#include "platform/FileUtil.h"

namespace {

using HalvorenEditor::CWavBuf;

static_assert(std::endian::native == std::endian::little, "clip samples are used as stored, little-endian");

ReadLimits clipLimits(uint64_t byteLimit)
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
    if (::stat(path.toUtf8().c_str(), &st) != 0) return std::nullopt;
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

ClipCache::ClipCache(uint64_t byteLimit) : budget(0, clipLimits(byteLimit)) {}

bool InstrumentSegment::loadAudio(const CString& projectPath, ClipCache* cache)
{
    const CString stored = CString::fromUtf8(audioPath);
    if (loadClip(stored, cache)) return true;
    // The clip may have moved together with the project: try the same file
    // name in the project's folder. Stored paths may be Windows paths.
    return !projectPath.isEmpty() && loadClip(folderOfPath(projectPath) + fileNameOfStoredPath(stored), cache);
}

bool InstrumentSegment::loadClip(const CString& path, ClipCache* cache)
{
    if (!cache) return loadClipFile(path);
    const auto id = fileIdentity(path);
    if (!id) return false;
    auto [entry, isNew] = cache->byFile.try_emplace(*id);
    if (isNew) {
        auto loaded = std::make_shared<InstrumentSegment>();
        if (loaded->loadClipFile(path) &&
            cache->budget.takeRecord(uint64_t(loaded->left.size() + loaded->right.size()) * sizeof(int16_t)))
            entry->second = std::move(loaded);
    }
    if (!entry->second) return false;
    takeClipOf(*entry->second);
    return true;
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

bool InstrumentSegment::loadClipFile(const CString& path)
{
    CWavBuf clip;
    if (!loadAudioFile(clip, path) || clip.channels < 1 || clip.channels > 2) return false;

    channels = clip.channels;
    bitsPerSample = clip.bytesPerSample * 8;
    sampleRate = clip.sampleRate;
    const size_t count = clip.sampleCount();
    frames = static_cast<int32_t>(count / uint32_t(clip.channels));
    // The channels stay in the decoded block: a stereo clip is split in
    // place, its left samples moved to the first half and its right ones
    // to the second.
    auto owner = std::make_shared<CWavBuf>(std::move(clip));
    auto* samples = reinterpret_cast<int16_t*>(owner->fifo.ptrBegin());
    const size_t n = size_t(frames);
    if (channels == 1) {
        left = ClipChannel(owner, samples, n);
        right.clear();
        return true;
    }
    std::vector<int16_t> rightSamples(n);
    for (size_t f = 0; f < n; ++f) rightSamples[f] = samples[2 * f + 1];
    for (size_t f = 0; f < n; ++f) samples[f] = samples[2 * f];
    std::memcpy(samples + n, rightSamples.data(), n * sizeof(int16_t));
    left = ClipChannel(owner, samples, n);
    right = ClipChannel(owner, samples + n, n);
    return true;
}

}  // namespace HVCurrentModel
