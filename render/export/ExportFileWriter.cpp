#include "render/export/ExportFileWriter.h"

#include <cerrno>

#include "platform/RegularFile.h"
#include "platform/StringUtil.h"
#include "render/export/WavFileWriter.h"

namespace {
constexpr int kChannels = 2;
}  // namespace

bool ExportFileWriter::fail(const char* otherwise)
{
    failure_ = errno != 0 ? systemErrorText(errno) : otherwise;
    abandon();
    return false;
}

bool ExportFileWriter::open(const CString& path, int64_t totalFrames)
{
    abandon();
    failure_.clear();
    errno = 0;
    const std::string ext = toLowerAscii(getFileExt(path).toUtf8());
    mp3_ = ext == "mp3";
    unsigned char header[kWavHeaderBytes];
    if (!mp3_ && ext != "wav") return fail("not a .wav or .mp3 file");
    if (!mp3_ && (totalFrames < 0 ||
                  !makeWavHeader(kChannels, static_cast<uint64_t>(totalFrames) * 2 * kChannels, header)))
        return fail("too long for a WAV file");
    target_ = resolveSymbolicLinks(path);
    temporary_ = target_ + kPartSuffix;
    // Made afresh and exclusively: whatever file stood at the name (a stale
    // one, a planted link) is not written through; a folder there stays.
    if (isDirectory(temporary_)) {
        temporary_ = CString();
        failure_ = systemErrorText(EISDIR);
        return false;
    }
    removeFile(temporary_);
    errno = 0;
    file_.reset(openFile(temporary_, "wbx"));
    if (!file_) return fail("the file cannot be made");
    const bool started = mp3_ ? encoder_.begin(file_.get(), kChannels)
                              : std::fwrite(header, 1, sizeof header, file_.get()) == sizeof header;
    return started || fail("the MP3 encoder cannot be set up");
}

bool ExportFileWriter::write(const int16_t* stereo, int frames)
{
    if (!file_ || frames < 0) return false;
    const auto count = static_cast<size_t>(frames);
    errno = 0;
    // Each piece reaches the file at once, so that a full disk or a size
    // limit is met as it happens.
    const bool ok = (mp3_ ? encoder_.encode(stereo, count)
                          : std::fwrite(stereo, sizeof(int16_t) * kChannels, count, file_.get()) == count) &&
                    std::fflush(file_.get()) == 0;
    return ok || fail("the file could not be written");
}

bool ExportFileWriter::commit()
{
    if (!file_) return false;
    errno = 0;
    bool ok = !mp3_ || encoder_.finish();
    ok = std::fclose(file_.release()) == 0 && ok;
    ok = ok && renameFile(temporary_, target_);
    if (!ok) return fail("the file could not be written");
    temporary_ = CString();
    return true;
}

void ExportFileWriter::abandon()
{
    if (temporary_.isEmpty()) return;
    file_.reset();
    removeFile(temporary_);
    temporary_ = CString();
}
