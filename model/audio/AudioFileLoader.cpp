#include "model/audio/AudioFileLoader.h"

#include <new>
#include <stdexcept>

#include "model/audio/Mp3Decoder.h"
#include "model/audio/WavFileReader.h"
#include "platform/FileUtil.h"

namespace {

bool readWav(HalvorenEditor::CWavBuf& target, const CString& path)
{
    WavFileReader reader;
    const bool ok = reader.read(path);
    target = reader.buffer();
    return ok;
}

void toPlayerFormat(HalvorenEditor::CWavBuf& target)
{
    target.convertSampleWidth();
    if (target.channels == 1)
        target.resample();
    else
        target.resampleAndRemix();
}

}  // namespace

// The size of the file; 0 when it cannot be read.
uint64_t fileBytes(const CString& path)
{
    FilePtr f(openFile(path, "rb"));
    return f ? bytesLeftInFile(f.get()).value_or(0) : 0;
}

bool loadAudioFile(HalvorenEditor::CWavBuf& target, const CString& path)
{
    const CString ext = getFileExt(path);
    try {
        bool ok;
        if (ext == CString(u"wav"))
            ok = readWav(target, path);
        else if (ext == CString(u"mp3"))
            ok = decodeMp3File(path, &target);
        else
            return false;
        // A clip that would grow beyond its bound is refused before it grows.
        const uint64_t limit = fileBytes(path) * HalvorenEditor::CWavBuf::kMaxBytesPerFileByte;
        if (ok && target.playerFormatBytes() > limit) ok = false;
        if (ok) toPlayerFormat(target);
        if (!ok) target.fifo.clear();
        return ok;
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    target.fifo.clear();
    return false;
}
