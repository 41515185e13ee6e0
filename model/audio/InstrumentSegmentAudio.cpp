// Loading the accompaniment clip of an instrumental segment.
#include <cstddef>

#include "model/audio/AudioFileLoader.h"
#include "model/audio/CWavBuf.h"
#include "model/current/Segments.h"
#include "platform/FileUtil.h"

namespace {

using HalvorenEditor::CWavBuf;

// The 16-bit little-endian samples of a mono buffer.
std::vector<int16_t> samplesOf(const CWavBuf& mono)
{
    const size_t n = mono.fifo.numSamples() / 2;
    const unsigned char* p = mono.fifo.ptrBegin();
    std::vector<int16_t> out(n);
    for (size_t k = 0; k < n; ++k) out[k] = static_cast<int16_t>(p[2 * k] | (p[2 * k + 1] << 8));
    return out;
}

}  // namespace

namespace HVCurrentModel {

const std::vector<int16_t>& ClipChannel::samples() const
{
    static const std::vector<int16_t> none;
    return samples_ ? *samples_ : none;
}

bool InstrumentSegment::loadAudio(const CString& projectPath, ClipCache* cache)
{
    if (!cache) return loadAudioFromFile(projectPath);
    auto [entry, isNew] = cache->try_emplace(audioPath);
    if (isNew && loadAudioFromFile(projectPath)) entry->second = std::make_shared<const InstrumentSegment>(*this);
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

bool InstrumentSegment::loadAudioFromFile(const CString& projectPath)
{
    CWavBuf clip;
    bool ok = loadAudioFile(clip, CString::fromUtf8(audioPath));
    if (!ok && !projectPath.isEmpty()) {
        // The clip may have moved together with the project: try the same
        // file name in the project's folder. Stored paths may be Windows paths.
        const CString name = fileNameOfStoredPath(CString::fromUtf8(audioPath));
        ok = loadAudioFile(clip, folderOfPath(projectPath) + name);
    }
    if (!ok || clip.channels < 1 || clip.channels > 2) return false;

    channels = clip.channels;
    bitsPerSample = clip.bytesPerSample * 8;
    sampleRate = clip.sampleRate;
    frames = static_cast<int32_t>(clip.sampleCount() / uint32_t(clip.channels));
    if (clip.channels == 1) {
        left = samplesOf(clip);
        right.clear();
    } else {
        CWavBuf channel;
        channel.assign(clip);
        left = samplesOf(channel);
        channel.appendFrom(clip);
        right = samplesOf(channel);
    }
    return true;
}

}  // namespace HVCurrentModel
