#pragma once
// The two dialects of VSQX scores differ in their element names only: a
// parser per dialect supplies them, so one builder serves both.
#include <vector>

#include "model/current/Markers.h"
#include "model/current/Segments.h"
#include "platform/CString.h"

class ILyricDict;
class TiXmlElement;

class CVsqxParser {
public:
    virtual ~CVsqxParser() = default;

    virtual TiXmlElement* getMasterTrack(TiXmlElement* root) = 0;
    virtual int getPreMeasure(TiXmlElement* master) = 0;
    virtual std::vector<TiXmlElement*> getTimeSigs(TiXmlElement* master) = 0;
    // Position = measure number - 3.
    virtual void readTimeSig(TiXmlElement* e, HVCurrentModel::Beat* beat) = 0;
    virtual std::vector<TiXmlElement*> getTempos(TiXmlElement* master) = 0;
    virtual void readTempo(TiXmlElement* e, HVCurrentModel::Tempo* tempo) = 0;
    virtual std::vector<TiXmlElement*> getTracks(TiXmlElement* root) = 0;
    virtual void readTrackName(TiXmlElement* e, HVCurrentModel::Track* track) = 0;
    virtual std::vector<TiXmlElement*> getParts(TiXmlElement* track) = 0;
    virtual void readPart(TiXmlElement* e, HVCurrentModel::SingSegment* seg) = 0;
    virtual std::vector<TiXmlElement*> getNotes(TiXmlElement* part) = 0;
    // With a dictionary that knows the lyric, its first symbol becomes the
    // phonetic symbol; otherwise the lyric is lower-cased (A to Z only) and
    // serves as the symbol too.
    virtual void readNote(TiXmlElement* e, HVCurrentModel::Note* note, ILyricDict* dict) = 0;
    virtual TiXmlElement* getMonoTrack(TiXmlElement* root) = 0;
    virtual TiXmlElement* getStereoTrack(TiXmlElement* root) = 0;
    virtual std::vector<TiXmlElement*> getWavParts(TiXmlElement* track) = 0;
    // Fills the segment and loads its audio through `clips` (when set); the
    // segment's clipLoad says how that went. A file path without a folder is
    // looked for in "<score without extension>.wavparts/".
    virtual void readWavPart(TiXmlElement* e, HVCurrentModel::InstrumentSegment* seg) = 0;

    CString basePath;  // the score being read
    HVCurrentModel::ClipCache* clips = nullptr;  // the clips of that score
};

// The element names of one dialect.
struct VsqxElementNames {
    const char* masterTrack;
    const char* preMeasure;
    const char* timeSig;
    const char* timeSigMeasure;
    const char* numerator;
    const char* denominator;
    const char* tempo;
    const char* tempoTick;
    const char* tempoValue;
    const char* track;
    const char* trackName;
    const char* part;
    const char* partName;
    const char* partTick;
    const char* playTime;
    const char* note;
    const char* noteTick;
    const char* noteDuration;
    const char* lyric;
    const char* noteNumber;
    const char* monoTrack;
    const char* stereoTrack;
    const char* wavPart;
    const char* wavTick;
    const char* wavName;
    const char* filePath;
};

// The sixteen operations over a dialect's names.
class VsqxNamedParser : public CVsqxParser {
public:
    explicit VsqxNamedParser(const VsqxElementNames& names) : n_(names) {}

    TiXmlElement* getMasterTrack(TiXmlElement* root) override;
    int getPreMeasure(TiXmlElement* master) override;
    std::vector<TiXmlElement*> getTimeSigs(TiXmlElement* master) override;
    void readTimeSig(TiXmlElement* e, HVCurrentModel::Beat* beat) override;
    std::vector<TiXmlElement*> getTempos(TiXmlElement* master) override;
    void readTempo(TiXmlElement* e, HVCurrentModel::Tempo* tempo) override;
    std::vector<TiXmlElement*> getTracks(TiXmlElement* root) override;
    void readTrackName(TiXmlElement* e, HVCurrentModel::Track* track) override;
    std::vector<TiXmlElement*> getParts(TiXmlElement* track) override;
    void readPart(TiXmlElement* e, HVCurrentModel::SingSegment* seg) override;
    std::vector<TiXmlElement*> getNotes(TiXmlElement* part) override;
    void readNote(TiXmlElement* e, HVCurrentModel::Note* note, ILyricDict* dict) override;
    TiXmlElement* getMonoTrack(TiXmlElement* root) override;
    TiXmlElement* getStereoTrack(TiXmlElement* root) override;
    std::vector<TiXmlElement*> getWavParts(TiXmlElement* track) override;
    void readWavPart(TiXmlElement* e, HVCurrentModel::InstrumentSegment* seg) override;

    // Where a wav part's file path leads.
    CString resolveAudioPath(const CString& filePath) const;

private:
    const VsqxElementNames& n_;
};

class CVsqx3parser : public VsqxNamedParser {
public:
    CVsqx3parser();
};

class CVsqx4parser : public VsqxNamedParser {
public:
    CVsqx4parser();
};
