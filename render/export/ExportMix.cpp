#include "render/export/ExportMix.h"

#include <algorithm>
#include <climits>

#include "platform/FileUtil.h"
#include "platform/MessageBox.h"
#include "platform/StringUtil.h"
#include "render/audio/MixBuffer.h"
#include "render/export/OpeningFade.h"
#include "render/synth/ISynth.h"
#include "shell/services/LanguageMgr.h"

namespace {

int32_t addSaturated(int32_t a, int32_t b) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{a} + b, INT32_MIN, INT32_MAX));
}

}  // namespace

int clampFrames(int64_t frames) { return static_cast<int>(std::clamp<int64_t>(frames, INT_MIN, INT_MAX)); }

bool ExportMix::delivered(int64_t end) const {
    for (const MixSource& s : sources_) {
        if (s.synth == nullptr || s.startFrame >= end) continue;
        int count = 0;
        s.synth->getOutput(&count);
        const int64_t need = std::min<int64_t>(end - s.startFrame, count);
        if (s.synth->samplesDone() < need) return false;
    }
    return true;
}

void ExportMix::mixBlock(int64_t from, int frames) {
    sum_.assign(static_cast<size_t>(frames) * 2, 0);
    for (size_t n = 0; n < sources_.size(); ++n) {
        const MixSource& s = sources_[n];
        int count = s.frames;
        const int16_t* left = s.left;
        const int16_t* right = s.right;
        if (s.synth != nullptr) {
            left = s.synth->getOutput(&count);
            right = left;
        } else if (right == nullptr) {
            right = left;
        }
        if (left == nullptr || count <= 0) continue;
        float gL = 0.0f;
        float gR = 0.0f;
        channelGains(s.gain, s.pan, gL, gR);
        const int64_t first = std::max<int64_t>(0, from - s.startFrame);
        const int64_t last = std::min<int64_t>(count, from + frames - s.startFrame);
        bool sounds = false;
        for (int64_t i = first; i < last; ++i) {
            const auto f = static_cast<size_t>(s.startFrame + i - from);
            const auto l = static_cast<int32_t>(left[i] * gL);
            const auto r = static_cast<int32_t>(right[i] * gR);
            sounds = sounds || l != 0 || r != 0;
            sum_[2 * f] = addSaturated(sum_[2 * f], l);
            sum_[2 * f + 1] = addSaturated(sum_[2 * f + 1], r);
        }
        if (first < last) {
            WrittenVoice& voice = writtenVoices_[n];
            voice = sounds ? WrittenVoice::sound : std::max(voice, WrittenVoice::silence);
        }
    }
    block_.resize(sum_.size());
    for (size_t i = 0; i < sum_.size(); ++i) {
        block_[i] = static_cast<int16_t>(std::clamp(sum_[i], -32768, 32767));
        clipped_ += block_[i] != sum_[i];
    }
    if (from == 0) fadeInOpening(block_);
}

void ExportMix::complete() {
    done_ = true;
    // The check is told of a failed output too: what it sang is still judged.
    const bool keep = !keep_ || keep_(*this);
    if (!failed_ && !keep) {
        dropped_ = true;
        file_.abandon();
    } else if (!failed_ && !file_.commit()) {
        failed_ = true;
    }
    for (const MixSource& s : sources_)
        if (s.synth != nullptr) s.synth->stop();
}

bool ExportMix::advance(int maxBlocks, bool synthesisDone) {
    if (done_) return true;
    if (!opened_) {
        opened_ = true;
        failed_ = totalFrames_ > kMaxExportFrames || !file_.open(path_, totalFrames_);
    }
    for (int n = 0; !failed_ && written_ < totalFrames_ && n < maxBlocks; ++n) {
        const int frames = static_cast<int>(std::min<int64_t>(kBlockFrames, totalFrames_ - written_));
        if (!synthesisDone && !delivered(written_ + frames)) return false;
        mixBlock(written_, frames);
        if (!file_.write(block_.data(), frames)) failed_ = true;
        written_ += frames;
    }
    if (failed_ || written_ >= totalFrames_) complete();
    return done_;
}

WrittenVoice ExportMix::writtenVoice(const ISynth* synth) const {
    WrittenVoice voice = WrittenVoice::none;
    for (size_t n = 0; n < sources_.size(); ++n)
        if (sources_[n].synth == synth && synth != nullptr) voice = std::max(voice, writtenVoices_[n]);
    return voice;
}

std::string ExportMix::failure() const {
    if (!failed_) return std::string();
    return totalFrames_ > kMaxExportFrames ? "too long for a WAV file" : file_.failure();
}

bool isExportExtension(const CString& path) {
    return isMp3Path(path) || toLowerAscii(getFileExt(path).toUtf8()) == "wav";
}

bool isMp3Path(const CString& path) { return toLowerAscii(getFileExt(path).toUtf8()) == "mp3"; }

void showExportFailure(const CString& path, const std::string& reason) {
    CString text = path + (isMp3Path(path) ? u"\nMP3 " : u"\nWave ") + translate("file output failed") + u"...";
    if (!reason.empty()) text += u"\n" + CString::fromUtf8(reason);
    showMessageBox(text, CString(u"-_-!"), MbButtons::ok, MbIcon::warning);
}
