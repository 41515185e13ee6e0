#pragma once
// The owner of the editor-side synthesizers: one per sing segment, kept with
// the singer it was made for, and made by the singer's engine version.
//
// Users follow one rule (getSynth): the stored synthesizer is reused while
// its job is idle and the segment still names its singer; otherwise it is
// renewed. Main thread only; deleting a synthesizer first takes it off its
// callback and stops its job, so no engine thread still uses it.
#include <map>
#include <set>
#include <string>

#include "model/current/Segments.h"
#include "render/synth/SynthVersionTable.h"

class ISynth;

class SegmentSynthMgr {
public:
    explicit SegmentSynthMgr(SynthMakerTable makers = programSynthMakers()) : makers_(std::move(makers)) {}
    // Deletes every synthesizer.
    ~SegmentSynthMgr() { clear(); }
    SegmentSynthMgr(const SegmentSynthMgr&) = delete;
    SegmentSynthMgr& operator=(const SegmentSynthMgr&) = delete;

    // The synthesizer stored for the segment, or null.
    ISynth* findSynth(HVCurrentModel::SingSegment* seg) const;
    // A new synthesizer for the segment's singer replaces the stored one
    // (deleted) and is returned; when none can be made, null comes back and
    // the stored one stays.
    ISynth* renewSynth(HVCurrentModel::SingSegment* seg);
    // The calling rule: the stored synthesizer while it is ready and made for
    // the segment's singer, else renewSynth.
    ISynth* getSynth(HVCurrentModel::SingSegment* seg);
    void clear();
    // Replaces the version table (tests).
    void setMakers(SynthMakerTable makers) { makers_ = std::move(makers); }

    // A synthesizer for the named singer, or null: an unknown singer and a
    // version this program has no maker for are reported in a message box;
    // a version outside the accepted ones is not. A bank whose index or
    // content file cannot be opened gets a synthesizer that sings nothing
    // and whose bank fault names the file (UnopenedBankSynth); its message
    // box, with the file, is shown once until clear.
    ISynth* createSynth(const std::string& singerName);

private:
    struct Entry {
        ISynth* synth;
        std::string singer;
    };
    static void dispose(ISynth* synth);

    SynthMakerTable makers_;
    std::map<HVCurrentModel::SingSegment*, Entry> synths_;
    // The package file faults whose message box has been shown.
    std::set<std::string> filesReported_;
};

// The one manager, built on first use after the engine manager, so that the
// engine manager outlives it.
SegmentSynthMgr& getEngineMap();
