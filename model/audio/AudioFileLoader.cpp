#include "model/audio/AudioFileLoader.h"

#include <new>
#include <stdexcept>

#include "model/audio/ClipLimits.h"
#include "model/audio/Mp3Decoder.h"
#include "model/audio/WavFileReader.h"
#include "platform/FileUtil.h"

namespace {

ClipLoad readWav(HalvorenEditor::CWavBuf& target, const CString& path, const ClipLimits& limits)
{
    WavFileReader reader;
    const bool ok = reader.read(path, ReadLimits(), limits);
    target = reader.takeBuffer();
    if (ok) return ClipLoad::loaded;
    return reader.tooLarge() ? ClipLoad::tooLarge : ClipLoad::unreadable;
}

ClipLoad readMp3(HalvorenEditor::CWavBuf& target, const CString& path, const ClipLimits& limits)
{
    bool tooLarge = false;
    if (decodeMp3File(path, &target, limits, tooLarge)) return ClipLoad::loaded;
    return tooLarge ? ClipLoad::tooLarge : ClipLoad::unreadable;
}

void toPlayerFormat(HalvorenEditor::CWavBuf& target, bool channelsApart)
{
    target.convertSampleWidth();
    if (target.channels == 1)
        target.resample();
    else if (channelsApart)
        target.resampleApart();
    else
        target.resampleAndRemix();
}

// The size of the file; 0 when it cannot be read.
uint64_t fileBytes(const CString& path)
{
    FilePtr f(openFile(path, "rb"));
    return f ? bytesLeftInFile(f.get()).value_or(0) : 0;
}

}  // namespace

bool loadAudioFile(HalvorenEditor::CWavBuf& target, const CString& path)
{
    return loadAudioClip(target, path) == ClipLoad::loaded;
}

ClipLoad loadAudioClip(HalvorenEditor::CWavBuf& target, const CString& path, uint64_t clipBytes, bool channelsApart)
{
    const CString ext = getFileExt(path);
    const ClipLimits limits = ClipLimits::forFile(fileBytes(path), clipBytes);
    ClipLoad result = ClipLoad::unreadable;
    try {
        if (ext == CString(u"wav"))
            result = readWav(target, path, limits);
        else if (ext == CString(u"mp3"))
            result = readMp3(target, path, limits);
        else
            return ClipLoad::unreadable;
        // The readers check the limits as they read; what they hand over is
        // checked once more before it grows.
        if (result == ClipLoad::loaded &&
            !limits.allow(target.fifo.numSamples(), target.bytesPerSample, target.channels, target.sampleRate))
            result = ClipLoad::tooLarge;
        if (result == ClipLoad::loaded) toPlayerFormat(target, channelsApart);
    } catch (const std::bad_alloc&) {
        result = ClipLoad::tooLarge;
    } catch (const std::length_error&) {
        result = ClipLoad::tooLarge;
    }
    if (result != ClipLoad::loaded) target.fifo.clear();
    return result;
}
