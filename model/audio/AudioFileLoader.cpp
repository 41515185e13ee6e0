#include "model/audio/AudioFileLoader.h"

#include <new>
#include <optional>
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
    return reader.tooLarge() ? ClipLoad::tooLarge : ClipLoad::undecodable;
}

ClipLoad readMp3(HalvorenEditor::CWavBuf& target, const CString& path, const ClipLimits& limits)
{
    bool tooLarge = false;
    if (decodeMp3File(path, &target, limits, tooLarge)) return ClipLoad::loaded;
    return tooLarge ? ClipLoad::tooLarge : ClipLoad::undecodable;
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

// The size of the file (0 when it cannot be told); nothing when it cannot
// be opened.
std::optional<uint64_t> fileBytes(const CString& path)
{
    FilePtr f(openFile(path, "rb"));
    if (!f) return std::nullopt;
    return bytesLeftInFile(f.get()).value_or(0);
}

}  // namespace

bool isClipFileName(const CString& path)
{
    const CString ext = getFileExt(path);
    return ext == CString(u"wav") || ext == CString(u"mp3");
}

bool loadAudioFile(HalvorenEditor::CWavBuf& target, const CString& path)
{
    return loadAudioClip(target, path) == ClipLoad::loaded;
}

ClipLoad loadAudioClip(HalvorenEditor::CWavBuf& target, const CString& path, uint64_t clipBytes, bool channelsApart)
{
    const CString ext = getFileExt(path);
    const std::optional<uint64_t> bytes = fileBytes(path);
    const ClipLimits limits = ClipLimits::forFile(bytes.value_or(0), clipBytes);
    ClipLoad result = ClipLoad::undecodable;
    try {
        if (ext == CString(u"wav"))
            result = readWav(target, path, limits);
        else if (ext == CString(u"mp3"))
            result = readMp3(target, path, limits);
        else
            return bytes ? ClipLoad::undecodable : ClipLoad::unreadable;
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
    // The readers fail alike on a file they could not open: only the open
    // tells that it is not there to be read.
    if (result != ClipLoad::loaded && !bytes) result = ClipLoad::unreadable;
    return result;
}
