#include "shell/PlaybackSession.h"

#include <algorithm>

#include "model/document/SSSynthesizerDoc.h"
#include "render/audio/AudioStreamGroup.h"
#include "render/audio/SynthAudioSrc.h"
#include "render/audio/WavAudioSrc.h"
#include "render/synth/ISynth.h"
#include "render/synth/SegmentSynthMgr.h"
#include "shell/RenderChecks.h"
#include "shell/SingEntries.h"

using namespace HVCurrentModel;

namespace {

// A positive start frame delays the source; a negative one skips its first frames.
void place(AudioSrc& src, int startFrame) {
    src.startDelay = std::max(startFrame, 0);
    src.readPos = startFrame < 0 ? std::min(-static_cast<int64_t>(startFrame), int64_t{src.length}) : 0;
}

}  // namespace

PlaybackSession::PlaybackSession(CSSSynthesizerDoc& doc, SegmentSynthMgr& synths, AudioStreamGroup& group)
    : doc_(doc), synths_(synths), group_(group) {}

PlaybackSession::~PlaybackSession() { stop(); }

bool PlaybackSession::start(int fromTick, int toTick) {
    stop();
    if (!checkBeforeSinging(doc_)) return false;
    HalvorenModel& model = *doc_.getModel();
    const OutputStart start(model.tempos, fromTick);
    group_.setTrackCount(static_cast<int>(model.tracks.size()));
    for (size_t i = 0; i < model.tracks.size(); ++i) {
        const Track& track = *model.tracks[i];
        const int list = static_cast<int>(i);
        const float gain = trackGain(track);
        chain_.beginTrack();
        bool first = true;
        start.singEntries(track, synths_, toTick, [&](SingSegment* seg, ISynth* synth, int frame) {
            if (seg->pos > toTick) return;
            if (const std::string fault = synth->bankFault(); !fault.empty())
                unsung_.add(segmentPlace(doc_, i, *seg), fault, bankFolderOf(seg->singer));
            else
                toCheck_.push_back({i, seg, synth});
            chain_.addSynth(synth);
            auto* src = new SynthAudioSrc(synth);
            place(*src, frame);
            src->gain = gain;
            src->pan = track.balance;
            group_.addSource(list, src);
            all_.push_back(synth);
            if (first) firsts_.push_back(synth);
            first = false;
        }, {}, [&](SingSegment* seg) {
            // A synthesizer that takes no note because its bank's files
            // cannot be opened names them.
            ISynth* synth = synths_.findSynth(seg);
            if (seg->pos > toTick || synth == nullptr) return;
            if (const std::string fault = synth->bankFault(); !fault.empty())
                unsung_.add(segmentPlace(doc_, i, *seg), fault, bankFolderOf(seg->singer));
        });
        start.clipEntries(track, [&](InstrumentSegment* clip, int frame) {
            if (clip->pos > toTick) return;
            auto* src = new WavAudioSrc();
            const int frames = static_cast<int>(std::min<size_t>(clip->left.size(), static_cast<size_t>(clip->frames)));
            src->channels = clip->right.size() >= static_cast<size_t>(frames) ? 2 : 1;
            src->left = clip->left.data();
            src->right = src->channels == 2 ? clip->right.data() : nullptr;
            src->length = frames;
            src->storedLength = frames;
            place(*src, frame);
            src->gain = gain;
            src->pan = track.balance;
            group_.addSource(list, src);
        });
    }
    unsung_.show();
    active_ = true;
    finished_.store(false, std::memory_order_release);
    for (ISynth* synth : firsts_) synth->start();
    return true;
}

void PlaybackSession::checkPlayed() {
    UnsungSegments damaged;
    for (const Sung& s : toCheck_)
        if (const std::string fault = s.synth->bankFault(); !fault.empty())
            damaged.add(segmentPlace(doc_, s.trackIndex, *s.seg), fault, bankFolderOf(s.seg->singer));
    toCheck_.clear();
    damaged.show();
    playedDamaged_ = playedDamaged_ || !damaged.empty();
}

bool PlaybackSession::gateOpen() const {
    return std::all_of(firsts_.begin(), firsts_.end(),
                       [](ISynth* synth) { return synth->samplesReady() >= kReadyGate; });
}

void PlaybackSession::startStream() {
    group_.player().setListener(this);
    group_.restart();
    doc_.isPlaying = 1;
}

void PlaybackSession::stop() {
    if (!active_) return;
    active_ = false;
    group_.abort();
    group_.player().setListener(nullptr);
    for (ISynth* synth : all_) synth->stop();
    chain_.clear();
    group_.clearTracks();
    firsts_.clear();
    all_.clear();
    unsung_ = UnsungSegments();
    playedDamaged_ = false;
    toCheck_.clear();
    doc_.isPlaying = 0;
}
