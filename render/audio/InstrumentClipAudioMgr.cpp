#include "render/audio/InstrumentClipAudioMgr.h"

#include <algorithm>
#include <mutex>

#include "render/audio/ClipPlacement.h"

using HVCurrentModel::InstrumentSegment;
using HVCurrentModel::Tempo;
using HVCurrentModel::Track;

namespace {
// A block cut at the end of a buffer still plays on to the end of that
// buffer, so each copy holds that many frames beyond the block.
constexpr int kCopyFrames = CInstrumentClipAudioMgr::kBlockFrames + static_cast<int>(PaPlayer::kFramesPerBuffer);

bool isClipTrack(const Track* t) { return t && t->kind == HVCurrentModel::kInstrumentTrack && t->instSegs; }
}  // namespace

CInstrumentClipAudioMgr::CInstrumentClipAudioMgr() { group_.player().setListener(this); }

CInstrumentClipAudioMgr::~CInstrumentClipAudioMgr() {
    group_.abort();
    group_.player().setListener(nullptr);
}

std::vector<int> CInstrumentClipAudioMgr::clipLayout(const std::vector<Track*>& tracks) {
    std::vector<int> layout;
    for (size_t i = 0; i < tracks.size(); ++i) {
        const Track* t = tracks[i];
        if (!isClipTrack(t)) continue;
        layout.insert(layout.end(), t->instSegs->size(), static_cast<int>(i));
    }
    return layout;
}

void CInstrumentClipAudioMgr::playClipsAt(int tick, const std::vector<Tempo*>& tempos,
                                          const std::vector<Track*>& tracks) {
    std::vector<int> layout = clipLayout(tracks);
    if (!started_ || layout != layout_) {
        startFresh(tick, tempos, tracks, std::move(layout));
        return;
    }
    std::lock_guard<CCommonMutex> guard(group_.player().lock);
    if (pendingCount_ > kMaxPending - 1) --pendingCount_;  // the newest request gives way
    const int slot = freeSlot();
    prepareBlock(slots_[slot], tick, tempos, tracks);
    if (pendingCount_ == 0) repositionClips(slots_[slot]);
    pending_[pendingCount_++] = slot;
}

void CInstrumentClipAudioMgr::startFresh(int tick, const std::vector<Tempo*>& tempos,
                                         const std::vector<Track*>& tracks, std::vector<int> layout) {
    group_.abort();
    pendingCount_ = 0;
    buildClipSources(static_cast<int>(tracks.size()), std::move(layout));
    prepareBlock(slots_[0], tick, tempos, tracks);
    repositionClips(slots_[0]);
    pending_[pendingCount_++] = 0;
    group_.restart();
    started_ = true;
}

void CInstrumentClipAudioMgr::buildClipSources(int trackCount, std::vector<int> layout) {
    group_.setTrackCount(trackCount);
    sources_.clear();
    for (int track : layout) {
        auto* src = new WavAudioSrc();
        group_.addSource(track, src);
        sources_.push_back(src);
    }
    for (Block& block : slots_) {
        block.clips.assign(layout.size(), ClipCut{});
        for (ClipCut& cut : block.clips) {
            cut.left.resize(kCopyFrames);
            cut.right.resize(kCopyFrames);
        }
    }
    layout_ = std::move(layout);
}

void CInstrumentClipAudioMgr::prepareBlock(Block& block, int tick, const std::vector<Tempo*>& tempos,
                                           const std::vector<Track*>& tracks) {
    tempoMap_.update(tempos);
    const float playSec = tempoMap_.tickToSec(tick);
    block.tick = tick;
    size_t c = 0;
    for (const Track* t : tracks) {
        if (!isClipTrack(t)) continue;
        const Track& track = *t;
        for (size_t j = 0; j < track.instSegs->size(); ++j) {
            fillCut(block.clips[c++], track, *track.instSegs->segAt(j), playSec);
        }
    }
}

void CInstrumentClipAudioMgr::fillCut(ClipCut& cut, const Track& track, const InstrumentSegment& seg,
                                      float playSec) {
    cut.gain = track.muted ? 0.0f : static_cast<float>(track.volume / 100.0);
    cut.pan = track.balance;
    cut.channels = seg.channels;
    cut.bitsPerSample = seg.bitsPerSample;
    cut.mono = seg.channels != 2;
    // Only frames that exist in every channel are read; other channel counts
    // read nothing.
    size_t usable = 0;
    if (seg.channels == 1)
        usable = std::min<size_t>(std::max(seg.frames, 0), seg.left.size());
    else if (seg.channels == 2)
        usable = std::min<size_t>({static_cast<size_t>(std::max(seg.frames, 0)), seg.left.size(), seg.right.size()});

    const ClipPlacement place =
        placeClip(playSec, tempoMap_.tickToSec(seg.pos), seg.sampleRate, seg.frames, kBlockFrames);
    cut.startDelay = place.startDelay;
    cut.length = place.length - place.readPos;
    const size_t from = static_cast<size_t>(place.readPos);
    const size_t count = from < usable ? std::min<size_t>(usable - from, kCopyFrames) : 0;
    cut.stored = static_cast<int>(count);
    if (count == 0) return;
    std::copy_n(seg.left.begin() + static_cast<std::ptrdiff_t>(from), count, cut.left.begin());
    if (!cut.mono) std::copy_n(seg.right.begin() + static_cast<std::ptrdiff_t>(from), count, cut.right.begin());
}

void CInstrumentClipAudioMgr::repositionClips(const Block& block) {
    for (size_t i = 0; i < sources_.size(); ++i) {
        const ClipCut& cut = block.clips[i];
        WavAudioSrc& s = *sources_[i];
        s.channels = cut.channels;
        s.bitsPerSample = cut.bitsPerSample;
        s.left = cut.left.data();
        s.right = cut.mono ? cut.left.data() : cut.right.data();
        s.length = cut.length;
        s.storedLength = cut.stored;
        s.readPos = 0;
        s.startDelay = cut.startDelay;
        s.gain.store(cut.gain, std::memory_order_relaxed);
        s.pan.store(cut.pan, std::memory_order_relaxed);
    }
}

void CInstrumentClipAudioMgr::finished() {
    if (pendingCount_ == 0) return;
    std::copy(pending_.begin() + 1, pending_.begin() + pendingCount_, pending_.begin());
    --pendingCount_;
    if (pendingCount_ > 0) repositionClips(slots_[pending_[0]]);
}

int CInstrumentClipAudioMgr::freeSlot() const {
    for (int s = 0; s < kMaxPending; ++s)
        if (std::find(pending_.begin(), pending_.begin() + pendingCount_, s) == pending_.begin() + pendingCount_)
            return s;
    return 0;  // unreachable: at most kMaxPending - 1 slots are queued here
}

std::vector<int> CInstrumentClipAudioMgr::pendingTicks() {
    std::lock_guard<CCommonMutex> guard(group_.player().lock);
    std::vector<int> ticks;
    for (int i = 0; i < pendingCount_; ++i) ticks.push_back(slots_[pending_[i]].tick);
    return ticks;
}
