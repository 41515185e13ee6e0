#include "render/export/ExportFileWriter.h"

#include "platform/StringUtil.h"
#include "render/export/WavFileWriter.h"

namespace {
constexpr int kChannels = 2;
}  // namespace

bool ExportFileWriter::open(const CString& path, int64_t totalFrames)
{
    abandon();
    const std::string ext = toLowerAscii(getFileExt(path).toUtf8());
    mp3_ = ext == "mp3";
    unsigned char header[kWavHeaderBytes];
    if (!mp3_ && (ext != "wav" || totalFrames < 0 ||
                  !makeWavHeader(kChannels, static_cast<uint64_t>(totalFrames) * 2 * kChannels, header)))
        return false;
    target_ = resolveSymbolicLinks(path);
    temporary_ = target_ + kPartSuffix;
    // Made afresh and exclusively: whatever file stood at the name (a stale
    // one, a planted link) is not written through; a folder there stays.
    if (isDirectory(temporary_)) return false;
    removeFile(temporary_);
    file_.reset(openFile(temporary_, "wbx"));
    if (!file_) return false;
    const bool started = mp3_ ? encoder_.begin(file_.get(), kChannels)
                              : std::fwrite(header, 1, sizeof header, file_.get()) == sizeof header;
    if (!started) abandon();
    return started;
}

bool ExportFileWriter::write(const int16_t* stereo, int frames)
{
    if (!file_ || frames < 0) return false;
    const auto count = static_cast<size_t>(frames);
    // Each piece reaches the file at once, so that a full disk or a size
    // limit is met as it happens.
    const bool ok = (mp3_ ? encoder_.encode(stereo, count)
                          : std::fwrite(stereo, sizeof(int16_t) * kChannels, count, file_.get()) == count) &&
                    std::fflush(file_.get()) == 0;
    if (!ok) abandon();
    return ok;
}

bool ExportFileWriter::commit()
{
    if (!file_) return false;
    bool ok = !mp3_ || encoder_.finish();
    ok = std::fclose(file_.release()) == 0 && ok;
    ok = ok && renameFile(temporary_, target_);
    if (!ok) removeFile(temporary_);
    temporary_ = CString();
    return ok;
}

void ExportFileWriter::abandon()
{
    if (temporary_.isEmpty()) return;
    file_.reset();
    removeFile(temporary_);
    temporary_ = CString();
}
