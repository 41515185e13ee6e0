#include "render/export/ExportMix.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>

#include "platform/FileUtil.h"
#include "platform/MessageBox.h"
#include "platform/StringUtil.h"
#include "render/audio/MixBuffer.h"
#include "render/export/Mp3FileWriter.h"
#include "render/export/WavFileWriter.h"
#include "render/synth/ISynth.h"
#include "shell/services/LanguageMgr.h"

namespace {

int32_t addSaturated(int32_t a, int32_t b) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{a} + b, INT32_MIN, INT32_MAX));
}

std::string lowerExt(const CString& path) { return toLowerAscii(getFileExt(path).toUtf8()); }

}  // namespace

int clampFrames(int64_t frames) { return static_cast<int>(std::clamp<int64_t>(frames, INT_MIN, INT_MAX)); }

ExportMix::ExportMix(int totalFrames)
    : totalFrames_(std::max(totalFrames, 0)), sum_(static_cast<size_t>(totalFrames_) * 2, 0) {}

void ExportMix::add(const int16_t* left, const int16_t* right, int count, int64_t startFrame, float gain, float pan) {
    if (left == nullptr || count <= 0) return;
    if (right == nullptr) right = left;
    float gL = 0.0f;
    float gR = 0.0f;
    channelGains(gain, pan, gL, gR);
    const int64_t first = std::max<int64_t>(0, -startFrame);
    const int64_t last = std::min<int64_t>(count, int64_t{totalFrames_} - startFrame);
    for (int64_t i = first; i < last; ++i) {
        const auto f = static_cast<size_t>(startFrame + i);
        sum_[2 * f] = addSaturated(sum_[2 * f], static_cast<int32_t>(left[i] * gL));
        sum_[2 * f + 1] = addSaturated(sum_[2 * f + 1], static_cast<int32_t>(right[i] * gR));
    }
}

void ExportMix::addSynth(ISynth* synth, int64_t startFrame, float gain, float pan) {
    int count = 0;
    const short* out = synth->getOutput(&count);
    add(out, nullptr, count, startFrame, gain, pan);
    synth->stop();
}

std::vector<int16_t> ExportMix::samples() const {
    std::vector<int16_t> out(sum_.size());
    for (size_t i = 0; i < sum_.size(); ++i) out[i] = static_cast<int16_t>(std::clamp(sum_[i], -32768, 32767));
    return out;
}

bool isExportExtension(const CString& path) {
    const std::string ext = lowerExt(path);
    return ext == "wav" || ext == "mp3";
}

bool writeExportFile(const CString& path, const std::vector<int16_t>& stereo) {
    const std::string ext = lowerExt(path);
    const bool wav = ext == "wav";
    if (!wav && ext != "mp3") return false;
    const CString part = path + u".part";
    const size_t bytes = stereo.size() * sizeof(int16_t);
    const int rc = wav ? writeWavFile(part, 2, bytes, stereo.data()) : writeMp3File(part, bytes, 2, stereo.data());
    if (rc == 0 && renameFile(part, path)) return true;
    removeFile(part);
    return false;
}

bool mixAndWrite(const CString& path, int totalFrames, const std::function<void(ExportMix&)>& fill) {
    bool written = false;
    if (totalFrames <= kMaxExportFrames) {
        try {
            ExportMix mix(totalFrames);
            fill(mix);
            written = writeExportFile(path, mix.samples());
        } catch (const std::bad_alloc&) {
            written = false;  // hours of output on a small machine
        }
    }
    if (!written) showExportFailure(path);
    return written;
}

void showExportFailure(const CString& path) {
    showMessageBox(path + u"\nWave " + translate("file output failed") + u"...", CString(u"-_-!"), MbButtons::ok,
                   MbIcon::warning);
}
