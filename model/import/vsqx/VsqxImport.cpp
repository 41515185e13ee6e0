#include "model/import/vsqx/VsqxImport.h"

#include <tinyxml.h>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "model/current/Markers.h"
#include "model/import/ImportBudget.h"
#include "model/import/ScoreImportContext.h"
#include "model/import/SortedFill.h"
#include "model/import/vsqx/CVsqxParser.h"
#include "model/import/vsqx/XmlNesting.h"
#include "platform/FileUtil.h"

using namespace HVCurrentModel;

namespace {

// Scores nest five levels deep; the files are text of a few megabytes.
constexpr int kMaxNesting = 64;
constexpr uint64_t kMaxFileBytes = uint64_t{32} << 20;
constexpr size_t kUtf8MaxSequence = 4;
// Score elements carry at most a few attributes, and a score of the largest
// size read holds well under a million elements: the parse of anything
// within these stays linear in the text.
constexpr XmlCountLimits kXmlCounts{64, uint64_t{1} << 22};

// Adds the shift; false when the result leaves the 32-bit range.
bool shiftBy(int32_t& pos, int64_t shift)
{
    const int64_t moved = pos + shift;
    if (moved < std::numeric_limits<int32_t>::min() || moved > std::numeric_limits<int32_t>::max()) return false;
    pos = static_cast<int32_t>(moved);
    return true;
}

bool readTempos(CVsqxParser& parser, TiXmlElement* master, int64_t shiftTicks, HalvorenModel& model)
{
    const auto elements = parser.getTempos(master);
    if (elements.empty()) model.tempos.push_back(new Tempo{0, 12000});
    for (TiXmlElement* e : elements) {
        auto* tempo = new Tempo{0, 12000};
        parser.readTempo(e, tempo);
        if (shiftTicks > 0 && tempo->pos == 0) model.tempos.push_back(new Tempo{0, 12000});
        model.tempos.push_back(tempo);
        if (!shiftBy(tempo->pos, shiftTicks)) return false;
    }
    sortMarkersAsInserted(model.tempos);
    return true;
}

bool readTimeSigs(CVsqxParser& parser, TiXmlElement* master, int64_t shiftMeasures, HalvorenModel& model)
{
    const auto elements = parser.getTimeSigs(master);
    if (elements.empty()) model.beats.push_back(new Beat{-3, 4, 4});
    for (TiXmlElement* e : elements) {
        auto* beat = new Beat{-3, 4, 4};
        parser.readTimeSig(e, beat);
        if (shiftMeasures > 0 && beat->pos == -3) model.beats.push_back(new Beat{-3, 4, 4});
        model.beats.push_back(beat);
        if (!shiftBy(beat->pos, shiftMeasures)) return false;
    }
    sortMarkersAsInserted(model.beats);
    return true;
}

void readNotes(CVsqxParser& parser, TiXmlElement* partElement, ILyricDict* dict, SingSegment* seg)
{
    std::vector<Note*> notes;
    for (TiXmlElement* noteElement : parser.getNotes(partElement)) {
        notes.push_back(new Note);
        parser.readNote(noteElement, notes.back(), dict);
    }
    fillSorted(seg->notes, notes);
}

bool readSingingTracks(CVsqxParser& parser, TiXmlElement* root, int64_t shiftTicks, const std::string& singer,
                       HalvorenModel& model)
{
    ILyricDict* dict = findSingerLyricDict(singer);
    for (TiXmlElement* trackElement : parser.getTracks(root)) {
        auto* track = new Track(kSingingTrack);
        parser.readTrackName(trackElement, track);
        model.tracks.push_back(track);
        std::vector<BaseSegment*> segs;
        bool shifted = true;
        for (TiXmlElement* partElement : parser.getParts(trackElement)) {
            auto* seg = new SingSegment(0, kWholeNoteTicks);
            segs.push_back(seg);
            parser.readPart(partElement, seg);
            shifted = shiftBy(seg->pos, shiftTicks);
            if (!shifted) break;
            seg->extendCurveEnds();
            seg->singer = singer;
            readNotes(parser, partElement, dict, seg);
        }
        fillSorted(*track->singSegs, segs);
        if (!shifted) return false;
    }
    return true;
}

bool readAudioTrack(CVsqxParser& parser, TiXmlElement* trackElement, const char* name, int64_t shiftTicks,
                    HalvorenModel& model)
{
    if (!trackElement) return true;
    const auto parts = parser.getWavParts(trackElement);
    if (parts.empty()) return true;
    auto* track = new Track(kInstrumentTrack);
    track->name = name;
    model.tracks.push_back(track);
    std::vector<BaseSegment*> segs;
    bool shifted = true;
    for (TiXmlElement* e : parts) {
        auto* seg = new InstrumentSegment(0, 0);
        segs.push_back(seg);
        // A part whose audio cannot be loaded is kept without sound, so that
        // the project saved from the score keeps it; the program names it.
        parser.readWavPart(e, seg);
        shifted = shiftBy(seg->pos, shiftTicks);
        if (!shifted) break;
    }
    fillSorted(*track->instSegs, segs);
    return shifted;
}

// Counts what the score would build, before anything is built; false, with
// the sizes in size, when that passes what the import of the file may build.
bool scoreWithinBudget(CVsqxParser& parser, TiXmlElement* root, TiXmlElement* master, uint64_t fileBytes,
                       ImportSize& size)
{
    const ReadBudget budget = makeImportBudget(fileBytes);
    size.fileBytes = fileBytes;
    size.bytesAllowed = budget.byteLimit();
    uint64_t records = 0;
    // The element lists hold at most the few million elements the XML
    // counts allow: these sums cannot overflow.
    const auto take = [&](size_t count, uint64_t bytes) {
        records += count;
        size.bytesNeeded += count * bytes;
    };
    // A marker may bring a default marker along.
    take(parser.getTempos(master).size(), 2 * sizeof(Tempo));
    take(parser.getTimeSigs(master).size(), 2 * sizeof(Beat));
    for (TiXmlElement* track : parser.getTracks(root)) {
        take(1, sizeof(Track));
        for (TiXmlElement* part : parser.getParts(track)) {
            take(1, sizeof(SingSegment));
            const size_t notes = parser.getNotes(part).size();
            take(notes, kNoteBuildBytes);
            size.notes += notes;
        }
    }
    for (TiXmlElement* track : {parser.getMonoTrack(root), parser.getStereoTrack(root)}) {
        if (!track) continue;
        take(1, sizeof(Track));
        take(parser.getWavParts(track).size(), sizeof(InstrumentSegment));
    }
    return records <= budget.recordLimit() && size.bytesNeeded <= size.bytesAllowed;
}

std::unique_ptr<HalvorenModel> buildModel(CVsqxParser& parser, TiXmlElement* root, const std::string& singerName,
                                          uint64_t fileBytes, ImportRefusal* refusal)
{
    auto model = std::make_unique<HalvorenModel>();
    TiXmlElement* master = parser.getMasterTrack(root);
    if (!master) return nullptr;

    // Scores with fewer than four measures before their start are moved so
    // that they start at measure 1, like every project.
    const int64_t preMeasure = parser.getPreMeasure(master);
    const int64_t shiftMeasures = preMeasure < 4 ? 4 - preMeasure : 0;
    const int64_t shiftTicks = shiftMeasures * kWholeNoteTicks;
    if (shiftTicks > std::numeric_limits<int32_t>::max()) return nullptr;

    ImportSize size;
    if (!scoreWithinBudget(parser, root, master, fileBytes, size)) {
        if (refusal) *refusal = {ImportRefusal::Kind::tooLarge, size};
        return nullptr;
    }
    if (!readTempos(parser, master, shiftTicks, *model) || !readTimeSigs(parser, master, shiftMeasures, *model) ||
        !readSingingTracks(parser, root, shiftTicks, singerName, *model) ||
        !readAudioTrack(parser, parser.getMonoTrack(root), "WAV(MONO)", shiftTicks, *model) ||
        !readAudioTrack(parser, parser.getStereoTrack(root), "WAV(STEREO)", shiftTicks, *model))
        return nullptr;
    return model;
}

}  // namespace

std::unique_ptr<HalvorenModel> buildModelFromVsqx(CVsqxParser& parser, TiXmlElement* root,
                                                  const std::string& singerName, const CString& path,
                                                  uint64_t fileBytes, ImportRefusal* refusal)
{
    parser.basePath = path;
    ClipCache clips;  // each audio file of the score is loaded once
    parser.clips = &clips;
    std::unique_ptr<HalvorenModel> model = buildModel(parser, root, singerName, fileBytes, refusal);
    parser.clips = nullptr;
    return model;
}

std::unique_ptr<HalvorenModel> loadVsqx(const CString& path, const std::string& singerName, ImportRefusal* refusal)
{
    FilePtr file(openFile(path, "rb"));
    const auto size = file ? bytesLeftInFile(file.get()) : std::nullopt;
    file.reset();
    if (size && *size > kMaxFileBytes) {
        if (refusal)
            *refusal = {ImportRefusal::Kind::fileTooLarge, {.fileBytes = *size, .bytesAllowed = kMaxFileBytes}};
        return nullptr;
    }
    std::string text;
    if (!size || !readWholeFile(path, text, kMaxFileBytes) || !xmlNestingWithin(text, kMaxNesting))
        return nullptr;
    if (!xmlCountsWithin(text, kXmlCounts)) return nullptr;
    const uint64_t fileBytes = text.size();
    // The XML parser takes the whole sequence a UTF-8 lead byte announces
    // (up to 4 bytes) without looking for the end of the text, so a text
    // cut inside a sequence would be read past its end. Zeros after the
    // text stop the parser within the buffer.
    text.append(kUtf8MaxSequence, '\0');
    TiXmlDocument document;
    document.Parse(text.c_str());
    if (document.Error()) return nullptr;
    TiXmlElement* root = document.FirstChildElement();
    if (!root) return nullptr;
    const std::string rootName = root->ValueStr();
    std::unique_ptr<CVsqxParser> parser;
    if (rootName == "vsq3")
        parser = std::make_unique<CVsqx3parser>();
    else if (rootName == "vsq4")
        parser = std::make_unique<CVsqx4parser>();
    else
        return nullptr;
    return buildModelFromVsqx(*parser, root, singerName, path, fileBytes, refusal);
}
