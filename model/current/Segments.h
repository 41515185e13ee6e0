#pragma once
// Segments placed on a track's time line (ticks) and their owning containers.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/audio/ClipLoad.h"
#include "model/current/ElementContainer.h"
#include "model/current/Note.h"
#include "model/current/ParamCurve.h"
#include "model/current/PosWidthBlock.h"
#include "platform/ReadBudget.h"

class CString;

namespace HVCurrentModel {

class BaseSegment : public PosWidthBlock {
public:
    using PosWidthBlock::PosWidthBlock;

    std::string name;
    bool selected = false;  // view flag, not saved

protected:
    BaseSegment(const BaseSegment&) = default;
    BaseSegment& operator=(const BaseSegment&) = default;
};

// Slots of a sing segment's curves, in memory order.
enum CurveSlot : int {
    kAmplitudeCurve = 0,
    kPitchCurve,
    kPitchWorkCurve1,  // working curves of the pitch computation, not saved
    kPitchWorkCurve2,
    kPowerCurve,
    kBreathCurve,
    kGenderCurve,
    kBrightnessCurve,
    kCrossCurve,
    kCurveSlotCount
};

// The saved curves, in memory (and file) order.
inline constexpr std::array<CurveSlot, 7> kSavedCurveSlots = {
    kAmplitudeCurve, kPitchCurve, kPowerCurve, kBreathCurve, kGenderCurve, kBrightnessCurve, kCrossCurve};

// The note editor's curve kinds.
enum CurveKind : int {
    kKindAmplitude = 1,
    kKindPitch = 2,
    kKindBrightness = 3,
    kKindPower = 4,
    kKindBreath = 5,
    kKindGender = 6,
    kKindPhoneme = 7,
    kKindTimbre = 8,
    kKindCross = 9
};

class SingSegment : public BaseSegment {
public:
    // Empty notes; each saved curve gets end nodes at -1 and width + 1
    // (Amplitude, Power, Breath, Gender, Brightness at 128, Pitch at -1,
    // Cross at 0); the working curves stay empty.
    SingSegment(int32_t pos, int32_t width);
    // Copies the base fields, name, singer, every note and all nine curves;
    // selected starts cleared.
    SingSegment(const SingSegment& other);
    SingSegment& operator=(const SingSegment&) = delete;

    ParamCurve& curve(CurveSlot slot) { return curves[slot]; }
    const ParamCurve& curve(CurveSlot slot) const { return curves[slot]; }
    // The curve of a note-editor curve kind; null for Phoneme, Timbre and
    // unknown kinds.
    ParamCurve* curveOfKind(int kind);

    // Adds delta to every node position of the seven saved curves.
    void shiftCurves(int32_t delta);
    // Pulls the end nodes of each saved curve of two or more nodes out to -1
    // and width + 1 when they lie inside.
    void extendCurveEnds();

    std::string singer;
    NoteContainer notes;
    std::array<ParamCurve, kCurveSlotCount> curves;
};

// One channel of a loaded clip: read-only samples, shared by every segment
// that plays the same file. The samples may live inside a larger block of
// their owner (the decoded clip itself), so a loaded clip is not copied.
class ClipChannel {
public:
    using value_type = int16_t;
    using const_iterator = const int16_t*;
    using iterator = const_iterator;

    ClipChannel() = default;
    // Implicit: a channel is made from its samples.
    ClipChannel(std::vector<int16_t> samples);
    // size samples at data, kept alive by owner.
    ClipChannel(std::shared_ptr<const void> owner, const int16_t* data, size_t size)
        : owner_(std::move(owner)), data_(data), size_(size)
    {
    }

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const int16_t* data() const { return data_; }
    const_iterator begin() const { return data_; }
    const_iterator end() const { return data_ + size_; }
    int16_t operator[](size_t i) const { return data_[i]; }
    void clear() { *this = ClipChannel(); }
    bool sharesSamplesWith(const ClipChannel& other) const { return data_ && data_ == other.data_; }

    friend bool operator==(const ClipChannel& a, const std::vector<int16_t>& b)
    {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    std::shared_ptr<const void> owner_;
    const int16_t* data_ = nullptr;
    size_t size_ = 0;
};

class InstrumentSegment;
// The clips loaded while one project or score is read, by the file they come
// from (device and inode): every spelling of one file shares one clip, and a
// file that could not be loaded is not tried again. The decoded bytes of all
// of them are counted against one budget, checked before a clip is decoded:
// a clip beyond it is not loaded.
struct ClipCache {
    // The decoded clips one project may hold together: over an hour and a
    // half of stereo accompaniment.
    static constexpr uint64_t kDefaultByteLimit = uint64_t{1} << 30;

    struct Entry {
        std::shared_ptr<const InstrumentSegment> clip;  // null when not loaded
        ClipLoad result = ClipLoad::notTried;
    };

    explicit ClipCache(uint64_t byteLimit = kDefaultByteLimit);
    // The bytes a clip loaded now may still take.
    uint64_t bytesLeft() const { return budget.byteLimit() - budget.bytesBuilt(); }

    std::map<std::pair<uint64_t, uint64_t>, Entry> byFile;
    ReadBudget budget;
};

class InstrumentSegment : public BaseSegment {
public:
    using BaseSegment::BaseSegment;
    InstrumentSegment(const InstrumentSegment&) = default;
    InstrumentSegment& operator=(const InstrumentSegment&) = delete;

    // Fills the clip from audioPath, or from the file of the same name beside
    // the project; false when neither can be loaded, the segment then
    // keeping no clip (it plays as silence), clipLoad saying why and
    // clipFile of which file (the one beside the project when audioPath
    // could not be opened). With a cache, a file loaded before shares that
    // clip's samples instead of loading again, and the cache's budget bounds
    // the clip.
    bool loadAudio(const CString& projectPath, ClipCache* cache = nullptr);

    std::string audioPath;  // the path's bytes, as stored (not always UTF-8)
    // The loaded clip; nothing of it is saved.
    int32_t sampleRate = 0;
    int32_t frames = 0;
    int32_t bitsPerSample = 0;
    int32_t channels = 0;
    ClipChannel left;
    ClipChannel right;  // only for two channels
    ClipLoad clipLoad = ClipLoad::notTried;
    // The file of audioPath's name beside the project (path bytes) when
    // clipLoad tells of its load; empty when clipLoad tells of audioPath's,
    // so a segment whose clip loaded from where it was stored holds no copy
    // of the path. Not saved.
    std::string clipFile;

private:
    ClipLoad loadClip(const CString& path, ClipCache* cache);
    ClipLoad loadClipFile(const CString& path, uint64_t clipBytes);
    void takeClipOf(const InstrumentSegment& loaded);
};

// A new place for one segment of a container.
struct SegmentPosWidth {
    BaseSegment* segment = nullptr;
    int32_t pos = 0;
    int32_t width = 0;
};

class BaseSegmentContainer : public ElementContainer<BaseSegment> {
public:
    // Moves and resizes segments of the container, each listed once, as one
    // change: each gets its values, then all are put in order again
    // together, after the segments of equal position, in the order of their
    // edits, and the flags are marked afresh.
    void applyPosWidth(const std::vector<SegmentPosWidth>& edits);
    // Gives one segment its values, with what that does to its contents,
    // leaving the segment's place and flags to the caller.
    virtual void setPosWidth(BaseSegment* seg, int32_t pos, int32_t width) = 0;
};

class SingSegmentContainer : public BaseSegmentContainer {
public:
    // A sing segment resized at its left edge moves its notes and saved
    // curves the other way, so they keep their place on the time line; a
    // resize pulls its curve end nodes out to its edges.
    void setPosWidth(BaseSegment* seg, int32_t pos, int32_t width) override;
    SingSegment* segAt(size_t i) const { return static_cast<SingSegment*>((*this)[i]); }
};

class InstrumentSegmentContainer : public BaseSegmentContainer {
public:
    void setPosWidth(BaseSegment* seg, int32_t pos, int32_t width) override;
    InstrumentSegment* segAt(size_t i) const { return static_cast<InstrumentSegment*>((*this)[i]); }
};

// Sorted insertion and removal with overlap marking (the element
// container's insertSorted and remove).
void insertSegmentSorted(BaseSegmentContainer& segs, BaseSegment* seg);
void removeSegment(BaseSegmentContainer& segs, BaseSegment* seg);

}  // namespace HVCurrentModel
