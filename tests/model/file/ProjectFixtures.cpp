#include "ProjectFixtures.h"

#include <cstdio>
#include <fstream>

#include "model/file/ProjectFile.h"
#include "model/file/ProjectLists.h"
#include "support/ScratchDir.h"

namespace hvtest {

using namespace HVCurrentModel;

std::string bodyOf(const HalvorenModel& model)
{
    HalvorenWin::CMemoryBuffer body;
    writeBody(model, body);
    return {body.data.begin(), body.data.end()};
}

std::unique_ptr<HalvorenModel> makeRichModel()
{
    auto m = std::make_unique<HalvorenModel>();
    m->tempos = {new Tempo{0, 12000}, new Tempo{9600, 9050}};
    m->beats = {new Beat{-3, 4, 4}, new Beat{2, 6, 8}};
    auto* singing = new Track(kSingingTrack);
    singing->name = "lead", singing->muted = true, singing->volume = 77, singing->balance = -0.25f;
    for (int k = 0; k < 2; ++k) {
        auto* seg = new SingSegment(7680 + 4000 * k, 3840);
        seg->name = "verse" + std::to_string(k);
        seg->singer = "歌手";
        for (CurveSlot slot : kSavedCurveSlots) seg->curve(slot).nodes.pushBack({3841, 60 + slot});
        for (int j = 0; j < 2; ++j) {
            auto* n = new Note;
            n->pos = 480 * j + k, n->width = 500, n->key = 55 + j, n->vibPercent = 40;  // the two notes overlap
            n->phoneticSymbol = "ge", n->lyric = "歌", n->crossSymbol = "a";
            n->elemTimesSet = true, n->timesFlag = 3, n->timbreIndex = 2, n->crossTimbre = 1;
            n->timeFactor1 = 1.5f, n->timeFactor2 = 0.5f, n->timeFactor3 = 2.0f, n->timeFactor4 = 0.75f;
            n->bendDep = 30, n->bendLen = 40, n->tailChg = 11, n->headChg = 12;
            n->vibrato.vibAmp.nodes.insertNode(n->vibrato.vibAmp.nodes.begin(), {-5, 7});
            n->vibrato.vibCurve.nodes.pushBack({10, -3});
            n->cycle.table.set(n->cycle.table.size() - 1, 0.125f);
            seg->notes.insertSorted(n);
        }
        insertSegmentSorted(*singing->singSegs, seg);
    }
    m->tracks = {singing, new Track(kInstrumentTrack)};
    return m;
}

std::string readFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFileBytes(const std::string& path, const std::string& bytes)
{
    // A new file rather than a truncated one: the file system flushes files
    // rewritten in place on close, which makes byte-by-byte loops slow.
    std::remove(path.c_str());
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
}

std::unique_ptr<HalvorenModel> loadProjectBytes(const std::string& bytes, ReadStop* stop)
{
    ScratchDir dir("projload");
    writeFileBytes(dir.file("p.ot"), bytes);
    return std::unique_ptr<HalvorenModel>(loadProjectFile(CString::fromUtf8(dir.file("p.ot")), ReadLimits(), stop));
}

}  // namespace hvtest
